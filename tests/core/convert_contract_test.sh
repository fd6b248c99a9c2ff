#!/usr/bin/env bash
# Checks the command-line contract of vantrel-convert: exit codes and the exact bytes on
# standard output and standard error.
#   convert_contract_test.sh [EMULATOR...] PROGRAM
set -u
program=("$@")
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0

format_error='格式错误！请输入正确的地址！\n'

# expect NAME STATUS STDOUT STDERR STDIN [ARGS...]
# STDOUT, STDERR and STDIN are printf formats of the exact bytes; STDERR "usage" stands for
# a usage message (any text naming the usage), STDIN "-" for no input at all.
expect() {
  local name="$1" status="$2" out="$3" err="$4" in="$5"
  shift 5
  if [ "$in" = "-" ]; then : >"$work/in"; else printf "$in" >"$work/in"; fi
  printf "$out" >"$work/expected.out"
  "${program[@]}" "$@" <"$work/in" >"$work/out" 2>"$work/err"
  local got=$?
  local ok=1
  if [ "$got" -ne "$status" ]; then
    echo "FAIL $name: exit status $got, expected $status"
    ok=0
  fi
  if ! cmp -s "$work/out" "$work/expected.out"; then
    echo "FAIL $name: standard output differs"
    echo "  got:      $(od -An -tx1 "$work/out" | head -c 300)"
    echo "  expected: $(od -An -tx1 "$work/expected.out" | head -c 300)"
    ok=0
  fi
  if [ "$err" = "usage" ]; then
    if ! grep -q 'usage' "$work/err"; then
      echo "FAIL $name: no usage message on standard error"
      ok=0
    fi
  else
    printf "$err" >"$work/expected.err"
    if ! cmp -s "$work/err" "$work/expected.err"; then
      echo "FAIL $name: standard error differs: $(od -An -tx1 "$work/err" | head -c 300)"
      ok=0
    fi
  fi
  if [ "$ok" -eq 1 ]; then echo "ok   $name"; else failures=$((failures + 1)); fi
}

thunder='thunder://QUFodHRwOi8vZXhhbXBsZS5jb20vZmlsZS56aXBaWg=='
address='http://example.com/file.zip'

# Conversions, the link as an argument.
expect "thunder argument" 0 "$address\n" "" - thunder "$thunder"
expect "auto thunder" 0 "$address\n" "" - auto "$thunder"
expect "auto flashget" 0 'http://a/b.zip\n' "" - auto \
  'Flashget://W0ZMQVNIR0VUXWh0dHA6Ly9hL2IuemlwW0ZMQVNIR0VUXQ==&k=1'
expect "rayfile" 0 'http://host/f.rar\n' "" - rayfile 'fs2you://aG9zdC9mLnJhcnwxMjM0'
expect "rayfile exactly the prefix" 0 'http://\n' "" - rayfile 'fs2you://'
expect "qqdl empty result" 0 '\n' "" - qqdl 'qqdl://'

# Decoded bytes pass unchanged (code page 936 bytes are not re-encoded).
expect "qqdl raw bytes" 0 '\xd6\xd0\xce\xc4\n' "" - qqdl 'qqdl://1tDOxA=='

# The link from standard input: read whole, nothing stripped, cut at the first zero byte.
expect "stdin link" 0 "$address\n" "" "$thunder" thunder
expect "stdin keeps its line break" 0 'AB\n' "" 'qqdl://QUJD\n' qqdl
expect "stdin cut at zero byte" 0 'ABC\n' "" 'qqdl://QUJD\0QUJD' qqdl
expect "auto from stdin" 0 'ABC\n' "" 'qqdl://QUJD' auto

# Format errors.
expect "wrong case" 2 "" "$format_error" - thunder 'Thunder://QUJD'
expect "leading space" 2 "" "$format_error" - thunder " $thunder"
expect "other scheme's link" 2 "" "$format_error" - qqdl "$thunder"
expect "empty argument" 2 "" "$format_error" - rayfile ''
expect "empty stdin" 2 "" "$format_error" - flashget
expect "stdin zero byte first" 2 "" "$format_error" '\0qqdl://QUJD' qqdl
expect "auto without prefix" 2 "" "$format_error" - auto 'http://example.com/'
expect "auto lower-case flashget" 2 "" "$format_error" - auto 'flashget://QUJD'

# The decoder on its own: raw bytes, nothing added.
expect "base64" 0 'ABC' "" 'QUJD' base64
expect "base64 padding inside" 0 '\x41\x0f\x40\x41' "" 'QQ==QQ==' base64
expect "base64 zero bytes out" 0 '\x00\x00\x00\xff' "" 'AAAA/w==' base64
expect "base64 cut at zero byte" 0 'ABC' "" 'QUJD\0QUJD' base64
expect "base64 empty" 0 '' "" - base64

# Usage errors.
expect "no arguments" 64 "" usage -
expect "unknown scheme" 64 "" usage - ftp 'ftp://x'
expect "scheme names are lower case" 64 "" usage - THUNDER "$thunder"
expect "too many arguments" 64 "" usage - thunder "$thunder" extra
expect "base64 takes no argument" 64 "" usage - base64 QUJD

# Help.
"${program[@]}" --help </dev/null >"$work/help" 2>"$work/help.err"
status=$?
missing=""
for word in thunder flashget qqdl rayfile auto base64 'Flashget://' 'fs2you://' 'exit status'; do
  grep -q -- "$word" "$work/help" || missing="$missing $word"
done
if [ "$status" -ne 0 ] || [ -s "$work/help.err" ] || [ -n "$missing" ]; then
  echo "FAIL --help: status $status, missing:$missing"
  failures=$((failures + 1))
else
  echo "ok   --help"
fi

# A large input passes whole through standard input and output.
head -c 4194304 /dev/zero | tr '\0' 'A' >"$work/big"
"${program[@]}" base64 <"$work/big" >"$work/big.out"
status=$?
size="$(wc -c <"$work/big.out")"
if [ "$status" -ne 0 ] || [ "$size" -ne 3145728 ] || tr -d '\0' <"$work/big.out" | grep -q .; then
  echo "FAIL large input: $size bytes out"
  failures=$((failures + 1))
else
  echo "ok   large input"
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures failed"
  exit 1
fi
