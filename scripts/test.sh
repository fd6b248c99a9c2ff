#!/usr/bin/env bash
# Builds everything and runs every test: the native core tests, the sanitizer build with
# bounded fuzzing, the WebAssembly core and the browser extension, the shipped 32-bit Windows
# files, and the Windows tests under Wine.
# Each step is a workflow preset of CMakePresets.json (configure, build, test).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"
step() { printf '\n== %s\n' "$*"; }

step "native build and tests"
cmake --workflow --preset native

step "sanitizer build (ASan, UBSan) and tests, bounded fuzzing"
cmake --workflow --preset sanitize
scripts/fuzz.sh 20

step "WebAssembly core and browser extension, tests in Node and headless Chromium"
cmake --workflow --preset wasm

# The Windows tests run on the files that ship (32-bit) where this machine runs 32-bit Wine;
# elsewhere on the 64-bit build of the same sources under 64-bit Wine.
if scripts/runs-32-bit.sh && /usr/lib/wine/wine --version >/dev/null 2>&1; then
  step "32-bit Windows build (the files that ship), Windows tests under 32-bit Wine"
  scripts/with-wine.sh cmake --workflow --preset win32-wine
  echo "Windows tests: ran on the 32-bit build (win32) under 32-bit Wine"
else
  step "32-bit Windows build (the files that ship): imports, resources, sizes, packages"
  cmake --workflow --preset win32

  step "64-bit Windows build, Windows tests under 64-bit Wine"
  scripts/with-wine.sh cmake --workflow --preset win64
  echo "Windows tests: ran on the 64-bit build (win64) under 64-bit Wine: this machine runs no 32-bit programs"
fi
