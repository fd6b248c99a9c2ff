#!/usr/bin/env bash
# Runs each fuzz target of the sanitize build for a bounded time, starting from the corpus
# kept in fuzz/corpus. A finding (a crash or a broken property) fails the run.
#   scripts/fuzz.sh [SECONDS_PER_TARGET]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-20}"
work="$(mktemp -d /tmp/vantrel-fuzz.XXXXXX)"
trap 'rm -rf "$work"' EXIT
for target in decode_base64 converters text_primitives forgiving; do
  mkdir -p "$work/$target"
  log="$work/$target.log"
  status=0
  build/sanitize/fuzz/fuzz_$target -max_total_time="$seconds" -max_len=4096 \
    -artifact_prefix="$work/" -print_final_stats=1 "$work/$target" "fuzz/corpus/$target" \
    >"$log" 2>&1 || status=$?
  echo "fuzz_$target: $(grep -E '^Done [0-9]+ runs' "$log" || echo 'stopped early')"
  if [ "$status" -ne 0 ]; then
    echo "fuzz_$target found a failing input (exit $status):"
    grep -E -A30 '==[0-9]+==ERROR|deadly signal' "$log" | head -60
    for f in "$work"/crash-* "$work"/leak-* "$work"/timeout-* "$work"/oom-*; do
      if [ -e "$f" ]; then echo "input $(basename "$f"):"; xxd "$f" | head -20; fi
    done
    exit 1
  fi
done
