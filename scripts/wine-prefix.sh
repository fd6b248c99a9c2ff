#!/usr/bin/env bash
# Creates the 64-bit Wine prefix named by WINEPREFIX and waits until it is ready.
set -euo pipefail
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 WINEDEBUG=-all WINEARCH=win64
: "${WINEPREFIX:?WINEPREFIX must name the prefix to create}"
mkdir -p "$WINEPREFIX"
/usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1 || true
/usr/lib/wine/wineserver64 -w
test -f "$WINEPREFIX/system.reg"
# The test display has no window manager: without this, Wine's X11 driver waits two seconds
# for one at every hiding or destruction of a top-level window (the tray's window included).
/usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
/usr/lib/wine/wineserver64 -w
