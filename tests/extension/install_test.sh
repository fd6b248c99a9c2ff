#!/usr/bin/env bash
# `cmake --install` puts the unpacked extension and the zip for the stores under the prefix,
# both with exactly the same files, and the manifest carries the project's version.
#   install_test.sh BUILD_DIR VERSION
set -euo pipefail
build="$1"
version="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

cmake --install "$build" --prefix "$work/prefix" >/dev/null
zip="$work/prefix/vantrel-extension-$version.zip"
for file in manifest.json vantrel.mjs vantrel_core.wasm background.js _locales/zh_CN/messages.json; do
  [ -f "$work/prefix/extension/$file" ] || { echo "FAIL: extension/$file not installed"; exit 1; }
done
[ -f "$zip" ] || { echo "FAIL: $zip not installed"; exit 1; }

mkdir "$work/unzipped"
(cd "$work/unzipped" && cmake -E tar xf "$zip")
diff -r "$work/prefix/extension" "$work/unzipped" || { echo "FAIL: the zip differs from the folder"; exit 1; }
grep -q "\"version\": \"$version\"" "$work/prefix/extension/manifest.json" ||
  { echo "FAIL: the manifest does not carry version $version"; exit 1; }
echo "ok: extension/ and the zip hold the same $(find "$work/unzipped" -type f | wc -l) files"
