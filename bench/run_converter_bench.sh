#!/usr/bin/env bash
# Reproduces the capture and converter tables of bench/results.md.
#
#   bench/run_converter_bench.sh WINDOWS_BUILD NATIVE_RELEASE_BUILD [REPEATS]
#
# WINDOWS_BUILD is a tree of the "windows" preset (i__view32.exe, capture_bench.exe),
# NATIVE_RELEASE_BUILD a native tree configured with -DCMAKE_BUILD_TYPE=Release
# (make_screenshot); the script builds the three targets it needs. The capture
# runs under Wine on the tree's own Xvfb screen (1920x1080 unless QORVIC_SCREEN
# says otherwise). Each conversion runs our converter under Wine and ImageMagick's
# convert natively on the same bitmap, alternately, REPEATS times (default 3);
# the best wall time of each is kept, with the processor time of that run.
# Not part of the test command: the numbers depend on the machine's load.
set -euo pipefail

win=$(cd "${1:?windows build tree}" && pwd)
native=$(cd "${2:?native release build tree}" && pwd)
repeats=${3:-3}
source "$(dirname "$0")/converter_bench_lib.sh"

cmake --build "$win" -j2 --target i__view32 capture_bench >/dev/null
cmake --build "$native" -j2 --target make_screenshot >/dev/null
converter="$win/tools/converter/i__view32.exe"

mkdir -p "$work/ini"
wine_session_up "$win/wine"

echo "load average at start: $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) cores"
echo
echo "## Capture (whole screen, under Wine)"
echo
echo '```'
timeout 300 wine "$win/bench/capture_bench.exe" 10 | tr -d '\r'
echo '```'

# Prints "wall cpu" seconds of one command.
timed() {
    /usr/bin/time -o "$work/time" -f '%e %U %S' "$@" >/dev/null 2>&1 || true
    awk '{ printf "%.3f %.3f\n", $1, $2 + $3 }' "$work/time"
}

declare -A imOptions=(
    [gif]=""
    [jpg]="-quality 90 -sampling-factor 4:4:4"
    [jp2]=""
    [png]=""
    [tif]="-compress lzw"
)

echo
echo "## Converter (ours under Wine, ImageMagick natively)"
echo
echo "| picture | format | ours s | ours cpu s | convert s | convert cpu s | time ratio | ours bytes | convert bytes |"
echo "| --- | --- | ---: | ---: | ---: | ---: | ---: | ---: | ---: |"
for picture in "1920x1080 1920 1080 plain" "7680x4320 7680 4320 plain" \
    "4K at 200% 7680 4320 doubled"; do
    read -r -a p <<<"$picture"
    name="${p[*]:0:${#p[@]}-3}"
    "$native/bench/make_screenshot" "${p[-3]}" "${p[-2]}" "$work/in.bmp" "${p[-1]}"
    for ext in gif jpg jp2 png tif; do
        ours=(1e9 0)
        theirs=(1e9 0)
        for ((r = 0; r < repeats; r++)); do
            rm -f "$work/ours.$ext" "$work/im.$ext"
            read -r -a t <<<"$(timed timeout 120 wine "$converter" "$(winpath "$work/in.bmp")" \
                "/ini=$(winpath "$work/ini")" "/convert=$(winpath "$work/ours.$ext")")"
            [ -s "$work/ours.$ext" ] || { echo "our converter wrote no $ext" >&2; exit 1; }
            awk -v a="${t[0]}" -v b="${ours[0]}" 'BEGIN { exit !(a < b) }' && ours=("${t[@]}")
            # shellcheck disable=SC2086 # the options are separate words
            read -r -a t <<<"$(timed convert "$work/in.bmp" ${imOptions[$ext]} "$work/im.$ext")"
            [ -s "$work/im.$ext" ] || { echo "convert wrote no $ext" >&2; exit 1; }
            awk -v a="${t[0]}" -v b="${theirs[0]}" 'BEGIN { exit !(a < b) }' && theirs=("${t[@]}")
        done
        ratio=$(awk -v a="${ours[0]}" -v b="${theirs[0]}" 'BEGIN { printf "%.2f", a / b }')
        echo "| $name | ${ext^^} | ${ours[0]} | ${ours[1]} | ${theirs[0]} | ${theirs[1]} | $ratio |" \
            "$(stat -c %s "$work/ours.$ext") | $(stat -c %s "$work/im.$ext") |"
    done
done
echo
echo "load average at end: $(cut -d' ' -f1-3 /proc/loadavg)"
