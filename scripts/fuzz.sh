#!/usr/bin/env bash
# Runs each fuzz target of the sanitize build for a bounded time, starting from the corpus
# kept in fuzz/corpus. A finding (a crash or a broken property) fails the run.
#   scripts/fuzz.sh [SECONDS_PER_TARGET]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-20}"
work="$(mktemp -d /tmp/vantrel-fuzz.XXXXXX)"
trap 'rm -rf "$work"' EXIT
for target in decode_base64 converters text_primitives; do
  mkdir -p "$work/$target"
  echo "fuzzing $target for ${seconds}s"
  build/sanitize/fuzz/fuzz_$target -max_total_time="$seconds" -max_len=4096 \
    -artifact_prefix="$work/" -print_final_stats=1 "$work/$target" "fuzz/corpus/$target" 2>&1 |
    grep -E "^(stat::number_of_executed_units|==[0-9]+==ERROR|SUMMARY)|Done" || true
  if ls "$work"/crash-* "$work"/leak-* "$work"/timeout-* >/dev/null 2>&1; then
    echo "fuzz target $target found a failing input:"
    for f in "$work"/crash-* "$work"/leak-* "$work"/timeout-*; do [ -e "$f" ] && xxd "$f" | head -20; done
    exit 1
  fi
done
