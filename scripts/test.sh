#!/usr/bin/env bash
# Builds everything and runs every test: the native core tests, the sanitizer build with
# bounded fuzzing, the WebAssembly core and the browser extension, the shipped 32-bit Windows
# files, and the Windows tests under Wine.
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

step "WebAssembly core and browser extension, tests in Node and headless Chromium"
cmake --preset wasm >/dev/null
cmake --build --preset wasm -j "$jobs"
ctest --preset wasm

step "32-bit Windows build (the files that ship)"
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$jobs"
ctest --preset win32

step "64-bit Windows build, tests under Wine"
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$jobs"
scripts/with-wine.sh ctest --preset win64
