#!/usr/bin/env bash
# One real capture, quick-saved by FrameWindow in every format under Wine, decodes
# with the Linux tools to the captured pixels: BMP, PNG, TIF and GIF (the
# pattern has fewer than 256 colours) exactly, JPG at 38 dB or more, and JP2
# through OpenJPEG's decoder exactly.
# Needs: Wine, ImageMagick (convert, compare, identify), opj_decompress.
set -euo pipefail

build=${QORVIC_BUILD_DIR:?set by ctest}
source "${QORVIC_SOURCE_DIR:?set by ctest}/scripts/wine-session.sh"
tests="$build/tests/win/qorvic_win_tests.exe"
[ -f "$tests" ] || { echo "FAIL: $tests not built"; exit 1; }
for tool in convert compare identify opj_decompress; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing"; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
wine_session_up "$build/wine"

fail() {
    echo "FAIL: $*"
    exit 1
}

QORVIC_FORMATS_OUT="$work" timeout 300 wine "$tests" \
    --gtest_filter='FormatsExport.*' --gtest_brief=1 | tr -d '\r' ||
    fail "the quick saves under Wine failed"

ref="$work/capture.ppm"
[ -s "$ref" ] || fail "no captured pixels were handed over"
size=$(identify -format '%wx%h' "$ref")
colours=$(identify -format '%k' "$ref")
echo "capture: $size, $colours colours"
# That the capture is exactly the pattern is the capture tests'; here it must only be real content.
[ "$colours" -gt 16 ] || fail "the capture shows $colours colours: not the pattern"
[ "$colours" -le 256 ] || fail "the pattern has $colours colours, more than GIF can hold"

# format, ImageMagick's name for it
check_exact() {
    local file="$work/Qorvic_1.$1" magick
    [ -s "$file" ] || fail "no Qorvic_1.$1"
    magick=$(identify -format '%m %wx%h' "$file[0]")
    [ "$magick" = "$2 $size" ] || fail "Qorvic_1.$1 reads as '$magick', expected '$2 $size'"
    local differing
    differing=$(compare -metric AE "$ref" "$file[0]" null: 2>&1 || true)
    [ "$differing" = "0" ] || fail "$differing pixels of Qorvic_1.$1 differ from the capture"
    echo "$1: exact"
}

check_exact bmp BMP3
check_exact png PNG
check_exact tif TIFF
check_exact gif GIF

jpg="$work/Qorvic_1.jpg"
[ "$(identify -format '%m %wx%h' "$jpg")" = "JPEG $size" ] || fail "Qorvic_1.jpg is no JPEG of $size"
psnr=$(compare -metric PSNR "$ref" "$jpg" null: 2>&1 || true)
echo "jpg: PSNR $psnr dB"
awk -v p="$psnr" 'BEGIN { exit !(p == "inf" || p + 0 >= 38) }' || fail "JPG PSNR $psnr dB is below 38"

jp2="$work/Qorvic_1.jp2"
[ "$(identify -format '%m %wx%h' "$jp2")" = "JP2 $size" ] || fail "Qorvic_1.jp2 is no JPEG 2000 of $size"
opj_decompress -i "$jp2" -o "$work/jp2.ppm" >/dev/null || fail "opj_decompress refused Qorvic_1.jp2"
differing=$(compare -metric AE "$ref" "$work/jp2.ppm" null: 2>&1 || true)
[ "$differing" = "0" ] || fail "$differing pixels of Qorvic_1.jp2 differ from the capture"
echo "jp2: exact"
echo PASS
