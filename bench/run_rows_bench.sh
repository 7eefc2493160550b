#!/usr/bin/env bash
# Peak memory and wall time of two builds of the converter on the same 24-bit
# bitmap, run alternately, for PNG and TIFF: what reading the bitmap's rows in
# place instead of decoding a copy of the picture saves.
#
#   bench/run_rows_bench.sh BEFORE.exe AFTER.exe WINDOWS_BUILD NATIVE_RELEASE_BUILD [REPEATS]
#
# WINDOWS_BUILD gives the Wine session, NATIVE_RELEASE_BUILD make_screenshot
# (7680x4320 busy desktop, 95 MB). Peak memory is the Linux side's maximum
# resident set of the Wine process (/usr/bin/time), which counts the mapped
# bitmap's pages once they are read. Medians of REPEATS runs (default 5).
set -euo pipefail

before=$(realpath "${1:?before exe}")
after=$(realpath "${2:?after exe}")
win=$(cd "${3:?windows build tree}" && pwd)
native=$(cd "${4:?native release build tree}" && pwd)
repeats=${5:-5}
source "$(dirname "$0")/converter_bench_lib.sh"
cmake --build "$native" -j2 --target make_screenshot >/dev/null

mkdir -p "$work/ini"
wine_session_up "$win/wine"
"$native/bench/make_screenshot" 7680 4320 "$work/in.bmp"

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

echo "load average at start: $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) cores"
echo "| format | build | wall s | peak MiB |"
echo "| --- | --- | ---: | ---: |"
for ext in png tif; do
    for build in before after; do : >"$work/$build.wall" && : >"$work/$build.rss"; done
    for ((r = 0; r < repeats; r++)); do
        for build in before after; do
            exe=${!build}
            rm -f "$work/out.$ext"
            /usr/bin/time -o "$work/time" -f '%e %M' timeout 120 wine "$exe" \
                "$(winpath "$work/in.bmp")" "/ini=$(winpath "$work/ini")" \
                "/convert=$(winpath "$work/out.$ext")" >/dev/null 2>&1 || true
            [ -s "$work/out.$ext" ] || { echo "$build wrote no $ext" >&2; exit 1; }
            read -r wall rss <"$work/time"
            echo "$wall" >>"$work/$build.wall"
            echo "$rss" >>"$work/$build.rss"
        done
    done
    for build in before after; do
        echo "| ${ext^^} | $build | $(median <"$work/$build.wall") |" \
            "$(median <"$work/$build.rss" | awk '{ printf "%.0f", $1 / 1024 }') |"
    done
done
echo "load average at end: $(cut -d' ' -f1-3 /proc/loadavg)"
