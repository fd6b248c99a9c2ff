#!/usr/bin/env bash
# Builds everything and runs every test: the native core tests, the sanitizer build with
# bounded fuzzing, the shipped 32-bit Windows files, and the Windows tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

jobs="$(nproc)"
step() { printf '\n== %s\n' "$*"; }

step "native build and tests"
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
ctest --preset native

step "sanitizer build (ASan, UBSan) and tests, bounded fuzzing"
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize -j "$jobs"
ctest --preset sanitize
scripts/fuzz.sh 20

# The Windows tests run on the files that ship (32-bit) where this machine runs 32-bit Wine;
# elsewhere on the 64-bit build of the same sources under 64-bit Wine.
if scripts/runs-32-bit.sh && /usr/lib/wine/wine --version >/dev/null 2>&1; then
  step "32-bit Windows build (the files that ship), Windows tests under 32-bit Wine"
  cmake --preset win32 -DVANTREL_WINE_TESTS=ON >/dev/null
  cmake --build --preset win32 -j "$jobs"
  scripts/with-wine.sh ctest --preset win32
  echo "Windows tests: ran on the 32-bit build (win32) under 32-bit Wine"
else
  step "32-bit Windows build (the files that ship): imports, resources, sizes, packages"
  cmake --preset win32 -DVANTREL_WINE_TESTS=OFF >/dev/null
  cmake --build --preset win32 -j "$jobs"
  ctest --preset win32

  step "64-bit Windows build, Windows tests under 64-bit Wine"
  cmake --preset win64 >/dev/null
  cmake --build --preset win64 -j "$jobs"
  scripts/with-wine.sh ctest --preset win64
  echo "Windows tests: ran on the 64-bit build (win64) under 64-bit Wine: this machine runs no 32-bit programs"
fi
