#!/usr/bin/env bash
# Runs one fuzz target for a bounded time: new inputs go to a working corpus in
# the build tree, the seeds are read only. Any crash, leak, timeout or broken
# check fails the test and leaves the input beside the working corpus.
# Flags after the four arguments go to libFuzzer after ours and override them
# (a long campaign passes -runs=N).
set -euo pipefail
fuzzer=$1 seeds=$2 work=$3 seconds=$4
shift 4

# The longest input worth trying, a little above the longest real one. Bitmaps
# and web pages are large; the settings, language, ini and command-line inputs
# are a few short lines, their parsers are linear, and longer inputs only cost
# time per run (every character passes the sanitizers' hooks) without reaching
# code that short ones miss.
case "$(basename "$fuzzer")" in
bmp_reader_fuzzer | version_page_fuzzer) max_len=65536 ;; # pictures, whole web pages
command_line_fuzzer | language_file_fuzzer) max_len=2048 ;; # four paths; ~1 KB files
language_list_fuzzer | menu_items_fuzzer) max_len=1024 ;;  # a folder's names; menu rows
converter_settings_fuzzer) max_len=1024 ;;                  # a short ini file
*) max_len=512 ;;                                            # the two-line settings file
esac

mkdir -p "$work" "$work.crashes"
exec "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len="$max_len" \
    -print_final_stats=1 -artifact_prefix="$work.crashes/" "$@" "$work" "$seeds"
