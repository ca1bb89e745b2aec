#!/usr/bin/env bash
# run-fuzz.sh FUZZER SEED-CORPUS SECONDS: fuzzes for a bounded time on a copy of the
# seeds and prints how many inputs ran; any crash fails the run.
set -euo pipefail
fuzzer=$1 seeds=$2 seconds=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$seeds" "$work/corpus"
mkdir -p "$work/artifacts"
status=0
"$fuzzer" -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$work/artifacts/" "$work/corpus" 2>"$work/log" || status=$?
grep -E '^(Done|#[0-9]+ *DONE)' "$work/log" || tail -n 5 "$work/log"
crashes=$(find "$work/artifacts" -type f | wc -l)
echo "crashes: $crashes"
if [ "$status" -ne 0 ] || [ "$crashes" -ne 0 ]; then
  tail -n 40 "$work/log" >&2
  exit 1
fi
