#!/usr/bin/env bash
# Runs one libFuzzer target for a bounded time, as a test or from 'make fuzz':
#   run_fuzzer.sh FUZZER SECONDS SEED_DIR WORK_DIR [DICTIONARY]
# The committed seeds stay untouched: new inputs go to WORK_DIR/corpus, which
# later runs on the same machine start from. A crash, a leak, a sanitizer
# report or a failed check fails the run; the input that caused it is left in
# WORK_DIR as crash-* (replay it with: FUZZER WORK_DIR/crash-...).
set -u
fuzzer=$1 seconds=$2 seeds=$3 work=$4 dict=${5:-}
mkdir -p "$work/corpus"
args=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096
      -print_final_stats=1 -artifact_prefix="$work/")
[ -n "$dict" ] && args+=(-dict="$dict")
started=$(date +%s)
"$fuzzer" "${args[@]}" "$work/corpus" "$seeds" 2>"$work/log.txt"
status=$?
# The summary: runs made, speed, memory, corpus size and findings.
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log.txt")
speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$work/log.txt")
rss=$(sed -n 's/^stat::peak_rss_mb: *//p' "$work/log.txt")
echo "  runs: ${runs:-?} in $(($(date +%s) - started)) s (${speed:-?}/s, peak ${rss:-?} MB)"
echo "  corpus: $(ls "$work/corpus" | wc -l) inputs in $work/corpus"
if [ $status -ne 0 ]; then
  tail -60 "$work/log.txt"
  finding=$(ls -t "$work"/crash-* "$work"/leak-* "$work"/timeout-* "$work"/oom-* 2>/dev/null | head -1)
  echo "  findings: ${finding:-see $work/log.txt}"
else
  echo "  findings: none"
fi
exit $status
