#!/usr/bin/env bash
# The installer and the uninstaller under Wine, one case per run, in the Wine prefix named by
# WINEPREFIX (the tests' own, which each case leaves as it found it):
#   installer_test.sh CASE SETUP NAMES LOADER PROGRAM
# SETUP is the installer, NAMES the generated names.nsh that it was built with, LOADER the Wine
# loader for it (wine or wine64), PROGRAM the vantrel.exe of the build. A case that needs the
# program's --exit is skipped (exit code 77) when the program does not know it yet. Every case ends with an uninstall and compares exports of
# HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE\Software taken before its first install with ones
# taken after: nothing may be left behind, and nothing of anybody else's may be gone.
set -euo pipefail
case_name="$1"
setup="$(realpath "$2")"
names="$(realpath "$3")"
wine="/usr/lib/wine/$4"
program="$(realpath "$5")"
: "${WINEPREFIX:?WINEPREFIX must name the Wine prefix of the installer tests}"
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 WINEDEBUG=-all
# No crash dialog, and no menu entries on the Linux side for the Start-menu shortcut.
export WINEDLLOVERRIDES="winedbg.exe=d;winemenubuilder.exe=d"

work="$(mktemp -d /tmp/vantrel-installer.XXXXXX)"
program_pid=""
cleanup() {
  if [ -n "$program_pid" ]; then kill "$program_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
cd "$work"

fail() {
  echo "FAIL ($case_name): $*" >&2
  exit 1
}
step() { echo "-- $*"; }

# A name from names.nsh, with the names it refers to filled in.
name() {
  local value
  value="$(sed -n "s/^!define $1 \"\(.*\)\"\r\?$/\1/p" "$names")"
  [ -n "$value" ] || fail "names.nsh defines no $1"
  while [[ "$value" =~ \$\{([A-Z_]+)\} ]]; do
    value="${value//\$\{${BASH_REMATCH[1]}\}/$(name "${BASH_REMATCH[1]}")}"
  done
  printf '%s' "$value"
}
program_file="$(name PROGRAM_FILE)"
uninstaller_file="$(name UNINSTALLER_FILE)"
uninstall_key="HKEY_CURRENT_USER\\$(name UNINSTALL_KEY)"
run_key="HKEY_CURRENT_USER\\$(name RUN_KEY)"
run_value="$(name RUN_VALUE)"
menu_ext_key="HKEY_CURRENT_USER\\$(name MENU_EXT_KEY)"

windows_variable() { "$wine" cmd /c echo "%$1%" | tr -d '\r'; }
unix_path() { "$wine" winepath -u "$1" | tr -d '\r'; }
shortcut="$(unix_path "$(windows_variable APPDATA)\\Microsoft\\Windows\\Start Menu\\Programs")/$(name SHORTCUT_NAME)"
default_folder="$(windows_variable LOCALAPPDATA)\\Programs\\$(name PRODUCT_NAME)"

# The registry as text: one export of the key, UTF-8, without the header line.
export_key() {
  rm -f export.reg
  "$wine" regedit /E export.reg "$1" >/dev/null 2>&1 || true
  if [ -f export.reg ]; then iconv -f UTF-16LE -t UTF-8 export.reg | tr -d '\r\357\273\277' | tail -n +2; fi
}
# Both registry exports, without Wine's own settings (which any program with a window changes).
registry() {
  { export_key HKEY_CURRENT_USER; export_key 'HKEY_LOCAL_MACHINE\Software'; } |
    awk '/^\[/ { wine = ($0 ~ /^\[HKEY_[A-Z_]+\\Software\\Wine[]\\]/) } !wine'
}
# A value of a key as regedit writes it ("name"=data, @=data for the default value).
registry_value() {
  export_key "$1" | sed -n "s/^$(printf '%s' "\"$2\"" | sed 's/[][\.*^$/]/\\&/g')=//p" | head -1
}
# The data of a REG_SZ value as regedit writes it: quoted, with \ and " escaped.
reg_sz() {
  printf '"%s"' "$(printf '%s' "$1" | sed 's/[\\"]/\\&/g')"
}

# NSIS reads /D= only last and unquoted, as a command prompt passes it; Wine would quote an
# argument with a space, so the installer starts through cmd.
install() {  # FOLDER (Windows path; empty for the default folder)
  local status=0
  cp "$setup" setup.exe
  "$wine" cmd /c "setup.exe /S${1:+ /D=$1}" || status=$?
  [ "$status" -eq 0 ] || fail "the installer ended with exit code $status"
}

# Checks one working installation in FOLDER: its files, the shortcut, the uninstall entry.
check_installation() {  # FOLDER
  local folder="$1" dir
  dir="$(unix_path "$folder")"
  for file in "$program_file" tavik.dll nz.dll tavik_link.htm "$uninstaller_file"; do
    [ -f "$dir/$file" ] || fail "$folder holds no $file"
  done
  [ -f "$shortcut" ] || fail "no Start-menu shortcut $shortcut"
  local -A want=(
    [DisplayName]="$(reg_sz "$(name PRODUCT_NAME)")"
    [DisplayVersion]="$(reg_sz "$(name PRODUCT_VERSION)")"
    [Publisher]="$(reg_sz "$(name PRODUCT_PUBLISHER)")"
    [DisplayIcon]="$(reg_sz "$folder\\$program_file")"
    [InstallLocation]="$(reg_sz "$folder")"
    [UninstallString]="$(reg_sz "\"$folder\\$uninstaller_file\"")"
    [QuietUninstallString]="$(reg_sz "\"$folder\\$uninstaller_file\" /S")"
    [NoModify]="dword:00000001"
    [NoRepair]="dword:00000001"
  )
  local value
  for entry in "${!want[@]}"; do
    value="$(registry_value "$uninstall_key" "$entry")"
    [ "$value" = "${want[$entry]}" ] || fail "uninstall entry $entry is [$value], not [${want[$entry]}]"
  done
  value="$(registry_value "$uninstall_key" EstimatedSize)"
  [[ "$value" =~ ^dword:0*[1-9a-f][0-9a-f]*$ ]] || fail "uninstall entry EstimatedSize is [$value]"
}

# Starts the installed program and waits until it has registered itself, as it does at every
# start: the context-menu key names this program and, written last, its main window.
start_program() {  # FOLDER
  "$wine" reg delete "$menu_ext_key" /f >/dev/null 2>&1 || true
  "$wine" "$(unix_path "$1")/$program_file" >/dev/null 2>&1 &
  program_pid=$!
  local want
  want="$(reg_sz "$1\\$program_file")"
  for _ in $(seq 100); do
    if [ "$(registry_value "$menu_ext_key" FilePath)" = "$want" ] &&
      [ -n "$(registry_value "$menu_ext_key" MainWindowHandle)" ]; then
      return 0
    fi
    kill -0 "$program_pid" 2>/dev/null || fail "the installed program ended at its start"
    sleep 0.2
  done
  fail "the installed program did not register itself within 20 s"
}

# Ends the running program with --exit and checks that its process is gone.
end_program() {  # FOLDER
  local status=0
  "$wine" "$(unix_path "$1")/$program_file" --exit || status=$?
  [ "$status" -eq 0 ] || fail "--exit ended with exit code $status"
  check_program_ended
}
check_program_ended() {
  for _ in $(seq 50); do
    if ! kill -0 "$program_pid" 2>/dev/null; then
      program_pid=""
      return 0
    fi
    sleep 0.1
  done
  fail "the program still runs: $(ps -o pid=,stat=,args= -p "$program_pid" || true)"
}

# The uninstaller copies itself away and returns at once: wait until its copy has removed the
# uninstall entry, its last step.
uninstall() {  # FOLDER
  local status=0
  "$wine" "$(unix_path "$1")/$uninstaller_file" /S || status=$?
  [ "$status" -eq 0 ] || fail "the uninstaller ended with exit code $status"
  for _ in $(seq 100); do
    [ -z "$(export_key "$uninstall_key")" ] && return 0
    sleep 0.2
  done
  fail "the uninstaller did not remove its entry within about a minute"
}

check_nothing_left() {  # FOLDER
  [ ! -e "$(unix_path "$1")" ] || fail "$1 is still there: $(ls -A "$(unix_path "$1")" | tr '\n' ' ')"
  [ ! -e "$shortcut" ] || fail "the Start-menu shortcut is still there"
  registry >after.txt
  if ! diff -u before.txt after.txt >registry.diff; then
    echo "the registry after the uninstall, compared with before the install:" >&2
    grep -E '^[-+][^-+]' registry.diff | head -60 >&2
    fail "the uninstall left the registry changed"
  fi
}

# The installer and the uninstaller end the running program with --exit, and the installer
# registers the link schemes with --register-schemes. A program without these options starts
# as usual instead (and does not end); with them, --exit ends at once when none runs.
if [ "$case_name" != languages ]; then
  status=0
  timeout 20 "$wine" "$program" --exit >/dev/null 2>&1 || status=$?
  if [ "$status" -eq 124 ]; then
    echo "SKIPPED ($case_name): this vantrel.exe has no --exit yet"
    exit 77
  fi
fi

case "$case_name" in
  silent)
    # A chosen folder with a space in its name.
    folder='C:\Vantrel test'
    registry >before.txt
    step "silent install into $folder"
    install "$folder"
    check_installation "$folder"
    [ -z "$(registry_value "$run_key" "$run_value")" ] || fail "starts with Windows, which is off by default"
    step "the installed program starts, registers and ends with --exit"
    start_program "$folder"
    end_program "$folder"
    step "silent uninstall"
    uninstall "$folder"
    check_nothing_left "$folder"
    ;;
  again)
    # Installed twice in a row into the default folder, then once more while the program runs:
    # each time one working installation, and a start with Windows chosen before carries over.
    folder="$default_folder"
    registry >before.txt
    step "install into the default folder $folder"
    install ""
    "$wine" reg add "${run_key}" /v "$run_value" /d "\"$folder\\$program_file\"" /f >/dev/null
    step "install again"
    install ""
    check_installation "$folder"
    [ "$(registry_value "$run_key" "$run_value")" = "$(reg_sz "\"$folder\\$program_file\"")" ] ||
      fail "the start with Windows did not carry over"
    start_program "$folder"
    step "install while the program runs"
    install ""
    check_program_ended
    check_installation "$folder"
    start_program "$folder"
    end_program "$folder"
    step "uninstall"
    uninstall "$folder"
    check_nothing_left "$folder"
    ;;
  user_files)
    folder='C:\Vantrel with notes'
    registry >before.txt
    install "$folder"
    dir="$(unix_path "$folder")"
    echo "my notes" >"$dir/notes.txt"
    step "uninstall a folder that holds a file of the user's"
    uninstall "$folder"
    [ "$(ls -A "$dir")" = notes.txt ] || fail "the folder holds [$(ls -A "$dir" | tr '\n' ' ')], not the user's file alone"
    [ "$(cat "$dir/notes.txt")" = "my notes" ] || fail "the user's file has changed"
    rm -rf "$dir"
    check_nothing_left "$folder"
    ;;
  languages)
    # The installer speaks the system's language: Simplified Chinese on a Chinese system,
    # English elsewhere. Its window's title tells which; it is ended before it installs.
    registry >before.txt
    cp "$setup" setup.exe
    for pair in "zh_CN.UTF-8|Vantrel 安装" "C.UTF-8|Vantrel Setup"; do
      locale="${pair%%|*}" title="${pair#*|}"
      LANG="$locale" LC_ALL="$locale" "$wine" setup.exe >/dev/null 2>&1 &
      program_pid=$!
      shown=""
      for _ in $(seq 100); do
        window="$(xdotool search --name '^Vantrel ' 2>/dev/null | head -1 || true)"
        if [ -n "$window" ]; then
          shown="$(xdotool getwindowname "$window" | sed 's/ *$//')"
          break
        fi
        sleep 0.2
      done
      kill "$program_pid" 2>/dev/null || true
      wait "$program_pid" 2>/dev/null || true
      program_pid=""
      [ "$shown" = "$title" ] || fail "with $locale the installer's title is [$shown], not [$title]"
    done
    registry >after.txt
    diff -q before.txt after.txt >/dev/null || fail "the installer changed the registry before it installed"
    ;;
  *)
    fail "no case $case_name"
    ;;
esac
echo "$case_name: passed"
