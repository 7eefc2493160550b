#!/usr/bin/env bash
# A long fuzzing campaign: every target (or the ones named) in turn, never two
# at once, each for a fixed number of executions at the lowest priority, from
# its seeds into a working corpus of its own. Prints one table row per target;
# the full log of each run stays in the work folder. Ctrl-C (SIGINT) to the
# running fuzzer ends that run early with its numbers (exit 72) and moves on.
#
#   fuzz/campaign.sh <fuzz build dir> <work dir> <executions> [target ...]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$1 work=$2 runs=$3
shift 3
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    targets=(settings_reader settings_roundtrip language_file language_list command_line
             bmp_reader converter_settings version_page menu_items)
fi

# One stat line of libFuzzer's final report.
stat() { sed -n "s/^stat::$1: *//p" "$2" | tail -n 1; }
# The coverage counter at the start, and at the end (a run stopped with Ctrl-C
# has no DONE line: its last report counts).
first_coverage() { grep -m 1 -E "^#[0-9]+[[:space:]]+INITED " "$1" | sed -E 's/.* cov: ([0-9]+).*/\1/'; }
last_coverage() { grep -E "^#[0-9]+[[:space:]].* cov: " "$1" | tail -n 1 | sed -E 's/.* cov: ([0-9]+).*/\1/'; }

mkdir -p "$work"
echo "| target | executions | exec/s | seconds | peak RSS MB | coverage start -> end (new inputs) | crashes |"
echo "|---|---|---|---|---|---|---|"
failed=0
for target in "${targets[@]}"; do
    fuzzer=${target%_fuzzer}_fuzzer
    log=$work/$fuzzer.log
    start=$(date +%s)
    nice -n 19 "$here/run_fuzzer.sh" "$build/fuzz/$fuzzer" "$here/corpus/$fuzzer" \
        "$work/$fuzzer" 86400 -runs="$runs" >"$log" 2>&1
    rc=$?
    seconds=$(($(date +%s) - start))
    crashes=$(find "$work/$fuzzer.crashes" -type f | wc -l)
    [ $rc -eq 0 ] || failed=1
    echo "| ${fuzzer%_fuzzer} | $(stat number_of_executed_units "$log") |" \
        "$(stat average_exec_per_sec "$log") | $seconds | $(stat peak_rss_mb "$log") |" \
        "$(first_coverage "$log") -> $(last_coverage "$log") ($(stat new_units_added "$log")) |" \
        "$crashes (exit $rc) |"
done
exit $failed
