#!/usr/bin/env bash
# Installs everything the build and the tests need on a Debian machine.
# Safe to run again: it only installs what is missing.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive

packages=(
  cmake g++ make ninja-build pkg-config
  libgtest-dev libbenchmark-dev googletest
  clang libfuzzer-14-dev libclang-rt-14-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools libwine-dev
  wine wine64 fonts-wine
  nsis
  xvfb xdotool x11-utils imagemagick
  locales fonts-wqy-microhei
  python3 aria2 xdg-utils
  clang-14 lld-14 wasi-libc libc++-dev-wasm32 libclang-rt-dev-wasm32
  nodejs chromium
)
# Where the kernel runs 32-bit programs, 32-bit Wine runs the 32-bit files that ship.
if "$here/runs-32-bit.sh"; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  packages+=(wine32:i386)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -gt 0 ]; then
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# npm comes with NodeSource's nodejs; Debian's own nodejs needs the npm package.
if ! command -v npm >/dev/null; then
  $SUDO apt-get install -y -qq --no-install-recommends npm
fi

# The extension's end-to-end tests drive Chromium with puppeteer-core (no browser download):
# installed from the lock file, again only when the lock file changed.
extension_tests="$(dirname "$0")/../tests/extension"
if ! cmp -s "$extension_tests/package-lock.json" "$extension_tests/node_modules/.package-lock.json.installed"; then
  (cd "$extension_tests" && npm ci --no-audit --no-fund --loglevel=error)
  cp "$extension_tests/package-lock.json" "$extension_tests/node_modules/.package-lock.json.installed"
fi

# Wine runs with a Chinese locale so that the ANSI code page is 936.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  if [ -f /etc/locale.gen ] && grep -q '^# *zh_CN.UTF-8' /etc/locale.gen; then
    $SUDO sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  elif ! grep -q '^zh_CN.UTF-8' /etc/locale.gen 2>/dev/null; then
    echo 'zh_CN.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  fi
  $SUDO locale-gen >/dev/null
fi
