#!/usr/bin/env bash
# Runs one Windows program under Wine with the settings of the target systems:
# a Chinese locale (ANSI code page 936), no Wine debug noise, the prefix of the test run.
#   scripts/wine-run.sh wine|wine64 PROGRAM.exe [ARGS...]
# ctest uses this as the emulator of the Windows builds. Run the tests through
# scripts/with-wine.sh, which provides the display and the prefix; started without a
# display, this script provides both itself.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
loader="$1"
shift

export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
export WINEDEBUG="${WINEDEBUG:--all}"
# A program that crashes ends at once instead of waiting in Wine's debugger until the test's
# timeout; added to what a test sets for itself (ctest replaces the variable).
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}winedbg.exe=d"
if [ -z "${DISPLAY:-}" ] || [ -z "${WINEPREFIX:-}" ]; then
  exec "$here/with-wine.sh" "$0" "$loader" "$@"
fi
# Call the loader itself: Debian's wine wrapper would try the 32-bit loader first.
exec "/usr/lib/wine/$loader" "$@"
