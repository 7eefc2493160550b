#!/usr/bin/env bash
# Our JPEG encoder against libjpeg-turbo's cjpeg, and our JPEG 2000 encoder
# against OpenJPEG's opj_compress, on the same synthetic screenshots.
#
#   bench/run_jpeg_bench.sh WINDOWS_BUILD NATIVE_RELEASE_BUILD [REPEATS]
#
# WINDOWS_BUILD is a tree of the "windows" preset, NATIVE_RELEASE_BUILD a native
# tree configured with -DCMAKE_BUILD_TYPE=Release; the script builds what it
# needs. Each command runs REPEATS times (default 5), all of them alternately
# on the same bitmap, and the best wall time of each is kept:
#   cjpeg        cjpeg -quality 90 -sample 1x1 (one thread)
#   ours N       bench/jpeg_file: reads the bitmap, encodes at quality 90, 4:4:4
#                with N threads, writes the file (natively)
#   ours Wine    i__view32.exe in.bmp /convert=out.jpg under Wine (both cores),
#                including Wine's process start, which is measured apart as
#                i__view32.exe without arguments (it exits at once)
#   ours run     the same conversion started as the program starts it, by
#                bench/converter_run_bench.exe (ConverterRun, from CreateProcess
#                to the converter's exit): what a user of the program waits for
# The sizes are compared with cjpeg -optimize's file, and every file is decoded
# by ImageMagick for its PSNR against the bitmap. Thin crops of the picture
# compare our 4:2:0 file sizes with cjpeg's. The JPEG 2000 rows compare
# i__view32.exe /convert=out.jp2 under Wine with opj_compress -threads 2 (both
# lossless, on the same bitmap). Not part of the test command: the numbers
# depend on the machine's load, printed at the start and the end.
set -euo pipefail

win=$(cd "${1:?windows build tree}" && pwd)
native=$(cd "${2:?native release build tree}" && pwd)
repeats=${3:-5}
source "$(dirname "$0")/converter_bench_lib.sh"

"$here/scripts/deps.sh" libjpeg-turbo-progs

cmake --build "$win" -j2 --target i__view32 converter_run_bench >/dev/null
cmake --build "$native" -j2 --target make_screenshot jpeg_file >/dev/null
converter="$win/tools/converter/i__view32.exe"

wine_session_up "$win/wine"
mkdir -p "$work/data"
cp "$converter" "$work/data/i__view32.exe"
# Seconds of one conversion of data/Temp.bmp as the program starts it.
program_run() { # target
    rm -f "$1"
    timeout 120 wine "$win/bench/converter_run_bench.exe" "$(winpath "$work/data")" "$(winpath "$1")" |
        tr -d '\r'
}

# Wall seconds of one command, which must succeed (unless the first word is "may").
seconds() {
    local start=$EPOCHREALTIME must=1
    [ "$1" = may ] && { must=0; shift; }
    "$@" >/dev/null 2>&1 || [ $must = 0 ] || { echo "failed: $*" >&2; exit 1; }
    awk -v a="$start" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.3f", b - a }'
}
declare -A best
keep() { # name seconds
    [ -z "${best[$1]:-}" ] || awk -v a="$2" -v b="${best[$1]}" 'BEGIN { exit !(a < b) }' &&
        best[$1]=$2
    return 0
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
psnr() { compare -metric PSNR "$work/in.bmp" "$1" null: 2>&1 | awk '{ printf "%.2f", $1 }' || true; }

echo "load average at start: $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) cores"
echo
echo "| picture | cjpeg s | ours 2 thr s | ratio | ours 1 thr s | ratio | ours Wine s | ratio |" \
    "Wine start s | ours run s | ratio | ours / cjpeg -optimize bytes | PSNR ours dB | PSNR cjpeg dB |"
echo "| --- | ---: | ---: | ---: | ---: | ---: | ---: | ---: | ---: | ---: | ---: | ---: | ---: | ---: |"
for size in 1920x1080 3840x2160 7680x4320; do
    "$native/bench/make_screenshot" "${size%x*}" "${size#*x}" "$work/in.bmp"
    cp "$work/in.bmp" "$work/data/Temp.bmp"
    best=()
    for ((r = 0; r < repeats; r++)); do
        keep cjpeg "$(seconds cjpeg -quality 90 -sample 1x1 -outfile "$work/cjpeg.jpg" "$work/in.bmp")"
        keep ours2 "$(seconds "$native/bench/jpeg_file" "$work/in.bmp" "$work/ours.jpg" 2)"
        keep ours1 "$(seconds "$native/bench/jpeg_file" "$work/in.bmp" "$work/ours1.jpg" 1)"
        rm -f "$work/wine.jpg"
        keep wine "$(seconds timeout 120 wine "$converter" "$(winpath "$work/in.bmp")" \
            "/convert=$(winpath "$work/wine.jpg")")"
        keep start "$(seconds may timeout 120 wine "$converter")"
        keep run "$(program_run "$work/run.jpg")"
    done
    cmp -s "$work/ours.jpg" "$work/wine.jpg" || { echo "Wine and native files differ" >&2; exit 1; }
    cmp -s "$work/ours.jpg" "$work/run.jpg" || { echo "the program's run wrote another file" >&2; exit 1; }
    cjpeg -quality 90 -sample 1x1 -optimize -outfile "$work/optimized.jpg" "$work/in.bmp"
    sizeRatio=$(ratio "$(stat -c %s "$work/ours.jpg")" "$(stat -c %s "$work/optimized.jpg")")
    echo "| $size | ${best[cjpeg]} | ${best[ours2]} | $(ratio "${best[ours2]}" "${best[cjpeg]}") |" \
        "${best[ours1]} | $(ratio "${best[ours1]}" "${best[cjpeg]}") | ${best[wine]} |" \
        "$(ratio "${best[wine]}" "${best[cjpeg]}") | ${best[start]} | ${best[run]} |" \
        "$(ratio "${best[run]}" "${best[cjpeg]}") | $sizeRatio |" \
        "$(psnr "$work/ours.jpg") |" \
        "$(psnr "$work/cjpeg.jpg") |"
done

# Thin crops of the last picture at 4:2:0, where MCUs reach past the picture.
echo
echo "| thin crop, 4:2:0 | ours bytes | cjpeg -optimize bytes | ratio |"
echo "| --- | ---: | ---: | ---: |"
mkdir -p "$work/ini"
printf '[JPEG]\r\nSubsampling=420\r\n' >"$work/ini/i_view32.ini"
for crop in 1000x8 1000x9 8x700 9x700 40x300; do
    convert "$work/in.bmp" -crop "$crop+300+200" +repage -type TrueColor "BMP3:$work/thin.bmp"
    wine "$converter" "$(winpath "$work/thin.bmp")" "/ini=$(winpath "$work/ini")" \
        "/convert=$(winpath "$work/thin.jpg")"
    cjpeg -quality 90 -sample 2x2 -optimize -outfile "$work/thin-cjpeg.jpg" "$work/thin.bmp"
    a=$(stat -c %s "$work/thin.jpg")
    b=$(stat -c %s "$work/thin-cjpeg.jpg")
    echo "| $crop | $a | $b | $(ratio "$a" "$b") |"
done

echo
echo "| picture | opj_compress -threads 2 s | ours Wine s | ratio | ours run s | ratio | ours bytes | opj bytes |"
echo "| --- | ---: | ---: | ---: | ---: | ---: | ---: | ---: |"
best=()
for ((r = 0; r < repeats; r++)); do
    rm -f "$work/opj.jp2" "$work/wine.jp2"
    keep opj "$(seconds opj_compress -i "$work/in.bmp" -o "$work/opj.jp2" -threads 2)"
    keep wine "$(seconds timeout 120 wine "$converter" "$(winpath "$work/in.bmp")" \
        "/convert=$(winpath "$work/wine.jp2")")"
    keep run "$(program_run "$work/run.jp2")"
done
cmp -s "$work/wine.jp2" "$work/run.jp2" || { echo "the program's run wrote another file" >&2; exit 1; }
echo "| $size | ${best[opj]} | ${best[wine]} | $(ratio "${best[wine]}" "${best[opj]}") |" \
    "${best[run]} | $(ratio "${best[run]}" "${best[opj]}") |" \
    "$(stat -c %s "$work/wine.jp2") | $(stat -c %s "$work/opj.jp2") |"
echo
echo "load average at end: $(cut -d' ' -f1-3 /proc/loadavg)"
