; The per-user installer of Vantrel and its uninstaller (NSIS 3).
;   makensis -DNAMES=names.nsh -DFILES=DIR -DICON=vantrel.ico -DOUTFILE=setup.exe [-DAMD64] vantrel.nsi
; NAMES is the generated list of shared names, FILES the folder that holds the four files that
; ship. The shipped installer is a 32-bit one; AMD64 builds the same installer as a 64-bit
; program around the 64-bit build, for machines that run only 64-bit Wine.
;
; Everything goes under the user's own profile and HKEY_CURRENT_USER: no administrator rights.
; The uninstaller undoes every write of the installer and of the program, and nothing else.

Unicode true
!ifdef AMD64
  Target amd64-unicode
!else
  Target x86-unicode
!endif
RequestExecutionLevel user
SetCompressor /SOLID lzma
ManifestDPIAware true

!include "${NAMES}"
!include MUI2.nsh
!include LogicLib.nsh
!include Sections.nsh
!include FileFunc.nsh

Name "${PRODUCT_NAME}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT_NAME}"
; An installation over an earlier one goes into its folder.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT_NAME} ${PRODUCT_VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\${PROGRAM_FILE}"
!define MUI_FINISHPAGE_RUN_TEXT "$(RunNow)"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The first language is the one for systems in neither language.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "SimpChinese"

LangString SectionProgram ${LANG_ENGLISH} "Vantrel"
LangString SectionProgram ${LANG_SIMPCHINESE} "Vantrel"
LangString SectionSchemes ${LANG_ENGLISH} \
  "Open thunder://, flashget://, qqdl:// and fs2you:// links from browsers with Vantrel"
LangString SectionSchemes ${LANG_SIMPCHINESE} \
  "用 Vantrel 打开浏览器中的 thunder://、flashget://、qqdl:// 和 fs2you:// 链接"
LangString SectionStartUp ${LANG_ENGLISH} "Start Vantrel with Windows"
LangString SectionStartUp ${LANG_SIMPCHINESE} "开机时启动 Vantrel"
LangString RunNow ${LANG_ENGLISH} "Run Vantrel now"
LangString RunNow ${LANG_SIMPCHINESE} "立即运行 Vantrel"
LangString StillRunning ${LANG_ENGLISH} \
  "Vantrel is still running, so its files cannot be replaced. Exit it (tray menu: 退出软件), then choose Retry."
LangString StillRunning ${LANG_SIMPCHINESE} \
  "Vantrel 仍在运行，无法替换它的文件。请先退出它（托盘菜单：退出软件），然后选择“重试”。"
LangString SchemesFailed ${LANG_ENGLISH} \
  "Vantrel could not register itself for thunder://, flashget://, qqdl:// and fs2you:// links."
LangString SchemesFailed ${LANG_SIMPCHINESE} \
  "Vantrel 无法注册为 thunder://、flashget://、qqdl:// 和 fs2you:// 链接的打开程序。"

; The files that ship, in the program folder.
!macro ProgramFiles Action
  !insertmacro ${Action} "${PROGRAM_FILE}"
  !insertmacro ${Action} "${COMPONENT_FILE}"
  !insertmacro ${Action} "${ALARM_FILE}"
  !insertmacro ${Action} "${PAGE_FILE}"
!macroend
!macro PutFile FileName
  File "${FILES}/${FileName}"
!macroend
!macro RemoveFile FileName
  Delete "$INSTDIR\${FileName}"
!macroend

; Runs the installed program with one option and waits for it to end; its exit code lands in
; $0, -1 when it could not be started.
!macro RunProgramWith Option
  ClearErrors
  ExecWait '"$INSTDIR\${PROGRAM_FILE}" ${Option}' $0
  ${If} ${Errors}
    StrCpy $0 -1
  ${EndIf}
!macroend

; Ends a Vantrel that runs from the program folder, and waits (at most about 5 seconds) until
; its file can be replaced: until then the program may still be on its way out.
!macro EndRunningProgram un
Function ${un}EndRunningProgram
  ${IfNot} ${FileExists} "$INSTDIR\${PROGRAM_FILE}"
    Return
  ${EndIf}
  !insertmacro RunProgramWith "--exit"
  StrCpy $1 0
  ${Do}
    ClearErrors
    FileOpen $2 "$INSTDIR\${PROGRAM_FILE}" a
    ${IfNot} ${Errors}
      FileClose $2
      Return
    ${EndIf}
    IntOp $1 $1 + 1
    ${If} $1 >= 50
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(StillRunning)" /SD IDCANCEL IDRETRY +2
      Abort
      StrCpy $1 0
    ${EndIf}
    Sleep 100
  ${Loop}
FunctionEnd
!macroend
!insertmacro EndRunningProgram ""
!insertmacro EndRunningProgram "un."

Section "$(SectionProgram)" SectionProgram
  SectionIn RO
  Call EndRunningProgram
  SetOutPath "$INSTDIR"
  !insertmacro ProgramFiles PutFile
  WriteUninstaller "$INSTDIR\${UNINSTALLER_FILE}"
  CreateShortcut "$SMPROGRAMS\${SHORTCUT_NAME}" "$INSTDIR\${PROGRAM_FILE}"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT_NAME}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${PRODUCT_VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PRODUCT_PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM_FILE}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER_FILE}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER_FILE}" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "$(SectionSchemes)" SectionSchemes
  !insertmacro RunProgramWith "--register-schemes"
  ${If} $0 <> 0
  ${AndIf} $0 <> ${EXIT_UNKNOWN_OPTION}
    DetailPrint "$(SchemesFailed)"
    MessageBox MB_OK|MB_ICONEXCLAMATION "$(SchemesFailed)" /SD IDOK
  ${EndIf}
SectionEnd

Section /o "$(SectionStartUp)" SectionStartUp
  WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\${PROGRAM_FILE}"'
SectionEnd

; A start with Windows that was chosen before and is not chosen now is removed.
Section "-StartUpOff"
  ${IfNot} ${SectionIsSelected} ${SectionStartUp}
    DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${EndIf}
SectionEnd

; An installation over an earlier one keeps its start with Windows (silent ones too).
Function .onInit
  ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${If} $0 != ""
    !insertmacro SelectSection ${SectionStartUp}
  ${EndIf}
FunctionEnd

Section "Uninstall"
  ${If} ${FileExists} "$INSTDIR\${PROGRAM_FILE}"
    Call un.EndRunningProgram
    !insertmacro RunProgramWith "--unregister-schemes"
  ${EndIf}
  ${If} ${FileExists} "$INSTDIR\${COMPONENT_FILE}"
    UnRegDLL "$INSTDIR\${COMPONENT_FILE}"
  ${EndIf}
  ; The key of the user's own classes, where the link schemes were, goes when it is left empty
  ; (only on a system that had none before, such as a fresh Wine prefix).
  DeleteRegKey /ifempty HKCU "Software\Classes"
  ; The program writes this key, with the hand-off record, at every start; the key above it
  ; goes too when nothing else is left in it.
  DeleteRegKey HKCU "${MENU_EXT_KEY}"
  DeleteRegKey /ifempty HKCU "${MENU_EXT_ENTRIES_KEY}"
  ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${If} $0 == '"$INSTDIR\${PROGRAM_FILE}"'
    DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${EndIf}
  Delete "$SMPROGRAMS\${SHORTCUT_NAME}"

  !insertmacro ProgramFiles RemoveFile
  Delete "$INSTDIR\${UNINSTALLER_FILE}"
  ; Only when empty: a folder that holds files of the user's own keeps them.
  RMDir "$INSTDIR"

  ; The entry goes when it names this installation (not another one, made since, elsewhere).
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    DeleteRegKey /ifempty HKCU "${UNINSTALL_ENTRIES_KEY}"
  ${EndIf}
SectionEnd
