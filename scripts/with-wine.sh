#!/usr/bin/env bash
# Runs a command with a fresh virtual X display and a fresh 32-bit Wine prefix,
# and ends every process it started when the command ends.
#   scripts/with-wine.sh COMMAND [ARGS...]
# Keeps an existing WINEPREFIX if the caller set one.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 WINEDEBUG=-all
# No debugger on a crash: the crashed program ends and its test fails at once.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}winedbg.exe=d"
if [ -z "${WINEPREFIX:-}" ]; then
  WINEPREFIX="$(mktemp -d /tmp/vantrel-wine.XXXXXX)"
  own_prefix=1
fi
export WINEPREFIX

# A display number nobody uses.
display=90
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
  display=$((display + 1))
done
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=":$display"

cleanup() {
  /usr/lib/wine/wineserver64 -k >/dev/null 2>&1 || true
  kill "$xvfb_pid" >/dev/null 2>&1 || true
  wait "$xvfb_pid" 2>/dev/null || true
  if [ -n "${own_prefix:-}" ]; then rm -rf "$WINEPREFIX"; fi
}
trap cleanup EXIT

for _ in $(seq 100); do
  [ -e "/tmp/.X11-unix/X$display" ] && break
  sleep 0.1
done

[ -f "$WINEPREFIX/system.reg" ] || "$here/wine-prefix.sh"
# One server for the whole run: the test programs start quickly and share the desktop.
/usr/lib/wine/wineserver64 -p
# Start Wine's own background processes (services, the desktop) here, with their output
# going nowhere: started from inside a test they would inherit its output pipe and ctest
# would wait for them until the test's timeout.
/usr/lib/wine/wine64 rundll32.exe user32.dll,GetDesktopWindow </dev/null >/dev/null 2>&1 || true
"$@"
