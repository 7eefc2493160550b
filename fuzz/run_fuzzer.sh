#!/usr/bin/env bash
# Runs one fuzz target for a bounded time: new inputs go to a working corpus in
# the build tree, the seeds are read only. Any crash, leak, timeout or broken
# check fails the test and leaves the input beside the working corpus.
set -euo pipefail
fuzzer=$1 seeds=$2 work=$3 seconds=$4
mkdir -p "$work" "$work.crashes"
exec "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
    -print_final_stats=1 -artifact_prefix="$work.crashes/" "$work" "$seeds"
