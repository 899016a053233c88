#!/usr/bin/env bash
# Runs one libFuzzer target for a bounded time, as a test:
#   run_fuzzer.sh FUZZER SECONDS SEED_DIR WORK_DIR [DICTIONARY]
# The committed seeds stay untouched: new inputs go to WORK_DIR, which later
# runs on the same machine start from. A crash, a leak, a sanitizer report or
# a failed check fails the test; the input that caused it is left in WORK_DIR
# as crash-* (replay it with: FUZZER WORK_DIR/crash-...).
set -u
fuzzer=$1 seconds=$2 seeds=$3 work=$4 dict=${5:-}
mkdir -p "$work/corpus"
args=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096
      -print_final_stats=1 -artifact_prefix="$work/")
[ -n "$dict" ] && args+=(-dict="$dict")
"$fuzzer" "${args[@]}" "$work/corpus" "$seeds" 2>"$work/log.txt"
status=$?
# The summary: executions, speed, coverage and corpus size.
grep -E '^(stat::number_of_executed_units|stat::average_exec_per_sec|stat::peak_rss_mb)|(DONE|INITED)' "$work/log.txt" | tail -5
echo "corpus: $(ls "$work/corpus" | wc -l) inputs"
if [ $status -ne 0 ]; then
  tail -60 "$work/log.txt"
  ls "$work"/crash-* "$work"/leak-* "$work"/timeout-* "$work"/oom-* 2>/dev/null
fi
exit $status
