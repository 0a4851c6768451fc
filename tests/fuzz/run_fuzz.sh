#!/usr/bin/env bash
# Runs the data-file fuzzer for a bounded time from a fresh seed corpus.
#   run_fuzz.sh FUZZER MAKE_SEEDS WORKDIR SECONDS
# FUZZ_SECONDS overrides the time. Any crash, hang (over 10 s on one input), leak or sanitizer
# report fails the run and leaves the input under WORKDIR/artifacts.
set -euo pipefail
fuzzer=$1 seeds=$2 work=$3 seconds=${FUZZ_SECONDS:-$4}
rm -rf "$work/seeds"
mkdir -p "$work/seeds" "$work/corpus" "$work/artifacts"
"$seeds" "$work/seeds"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
TMPDIR=$work "$fuzzer" "$work/corpus" "$work/seeds" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$work/artifacts/" -print_final_stats=1 2>"$work/fuzz.log" || {
    tail -60 "$work/fuzz.log"
    exit 1
}
grep -E "^stat::number_of_executed_units|^stat::peak_rss_mb|cov:" "$work/fuzz.log" | tail -4
echo "fuzz test: $(grep -oP 'stat::number_of_executed_units: \K[0-9]+' "$work/fuzz.log") inputs in $seconds s, no crash, hang, leak or sanitizer report"
