#!/usr/bin/env bash
# Builds vantrel.exe and starts it under Wine with a Chinese locale (code page 936).
# On a desktop (DISPLAY set) the program opens there, in the default Wine prefix. Without a
# display it runs on a private virtual display and a picture of its main window is saved as
# build/screenshot.png.
# This machine runs the 64-bit build of the same sources; the shipped files are the 32-bit
# ones (preset win32), which need a 32-bit Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$(nproc)"
cmake --install build/win64 --prefix build/win64/dist >/dev/null
exe=build/win64/dist/vantrel.exe

if [ -n "${DISPLAY:-}" ]; then
  export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 WINEDEBUG="${WINEDEBUG:--all}"
  cd "$(dirname "$exe")"
  exec /usr/lib/wine/wine64 vantrel.exe
fi
scripts/screenshot.sh "$exe" build/screenshot.png
