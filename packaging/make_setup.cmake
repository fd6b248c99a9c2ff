# CPack's External generator runs this after it has staged the files of the package: makensis
# builds the installer from vantrel.nsi around them, beside the staging folder, and CPack
# copies it into the package directory.
find_program(makensis makensis REQUIRED)
set(files ${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})
set(setup ${CPACK_TOPLEVEL_DIRECTORY}/${CPACK_VANTREL_SETUP}.exe)
set(target)
if(CPACK_VANTREL_AMD64)
    set(target -DAMD64)
endif()
execute_process(
    COMMAND ${makensis} -V2 -INPUTCHARSET UTF8 -DNAMES=${CPACK_VANTREL_NAMES} -DFILES=${files}
            -DICON=${CPACK_VANTREL_ICON} -DOUTFILE=${setup} ${target} ${CPACK_VANTREL_NSI}
    RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "makensis failed (${status})")
endif()
set(CPACK_EXTERNAL_BUILT_PACKAGES ${setup})
