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

step "32-bit Windows build (the files that ship)"
cmake --workflow --preset win32

step "64-bit Windows build, tests under Wine"
scripts/with-wine.sh cmake --workflow --preset win64
