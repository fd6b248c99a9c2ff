#!/usr/bin/env bash
# Makes the packages with CPack, as `cpack --preset win32` does, into a folder of its own and
# checks them: the zip holds exactly the folder vantrel-VERSION with the four files that ship
# and README.txt; the installer is a Windows program of the build's word size.
#   packages_test.sh CPACK_CONFIG OUT_DIR VERSION BITS OBJDUMP
set -euo pipefail
# Tool output and sort order as the checks read them, whatever the test run's locale.
export LC_ALL=C
config="$1" out="$2" version="$3" bits="$4" objdump="$5"
rm -rf "$out"
cpack --config "$config" -B "$out" >/dev/null
status=0
fail() { echo "FAIL: $*"; status=1; }

zip="$out/vantrel-$version-win$bits.zip"
setup="$out/vantrel-$version-setup.exe"
if [ -f "$zip" ]; then
  listing="$(cmake -E tar tf "$zip" | sort | tr '\n' ' ')"
  folder="vantrel-$version"
  expected="$folder/ $folder/README.txt $folder/nz.dll $folder/tavik.dll $folder/tavik_link.htm $folder/vantrel.exe "
  [ "$listing" = "$expected" ] || fail "the zip holds [$listing], not [$expected]"
else
  fail "no $zip"
fi
if [ -f "$setup" ]; then
  format="$("$objdump" -f "$setup" | sed -n 's/.*file format //p')"
  want=pei-i386
  [ "$bits" = 64 ] && want=pei-x86-64
  [ "$format" = "$want" ] || fail "the installer is $format, not $want"
  echo "$(basename "$setup"): $(( ($(stat -c %s "$setup") + 1023) / 1024 )) KiB, $format"
else
  fail "no $setup"
fi
exit $status
