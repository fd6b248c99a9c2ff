#!/usr/bin/env bash
# Converts an example Thunder link with the command-line converter.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset native >/dev/null
cmake --build --preset native -j "$(nproc)" --target vantrel-convert
link="${1:-thunder://QUFodHRwOi8vZXhhbXBsZS5jb20vZmlsZS56aXBaWg==}"
build/native/tools/vantrel-convert auto "$link"
