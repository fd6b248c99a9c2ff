#!/usr/bin/env bash
# Checks that each given Windows file imports nothing but Windows' own system libraries.
#   scripts/check-imports.sh OBJDUMP FILE...
set -euo pipefail
objdump="$1"
shift
allowed='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comctl32|comdlg32|shlwapi|msvcrt|ucrtbase|uuid|version|winmm|ws2_32|rpcrt4|imm32|uxtheme|gdiplus|msimg32|bcrypt|ntdll|api-ms-win-[a-z0-9-]+)\.dll$'
status=0
for file in "$@"; do
  while read -r dll; do
    lower="$(printf '%s' "$dll" | tr 'A-Z' 'a-z')"
    if ! [[ "$lower" =~ $allowed ]]; then
      echo "$file imports $dll, which is not a Windows system library"
      status=1
    fi
  done < <("$objdump" -p "$file" | sed -n 's/^\s*DLL Name: //p')
  echo "$(basename "$file"): $("$objdump" -p "$file" | sed -n 's/^\s*DLL Name: //p' | tr '\n' ' ')"
done
exit $status
