#!/bin/sh
# Builds the fuzzers and runs each for a bounded time from the checked-in
# seeds. Usage: tests/fuzz/run.sh [seconds per fuzzer, default 30]
set -eu
cd "$(dirname "$0")/../.."
seconds=${1:-30}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for target in wildcard name_field; do
  mkdir -p "$work/$target"
  # New inputs go to the scratch folder; the seeds stay as checked in.
  build/fuzz/${target}_fuzz -max_total_time="$seconds" -max_len=512 -timeout=10 -artifact_prefix=build/fuzz/ -print_final_stats=1 \
    "$work/$target" "tests/fuzz/corpus/$target"
done
