#!/usr/bin/env bash
# The converter under Wine writes a .jp2 that the reference decoder turns back
# into exactly the source bitmap, within the program's 5-second wait.
# Needs: Wine, ImageMagick (convert, compare), opj_decompress (libopenjp2-tools).
set -euo pipefail

build=${QORVIC_BUILD_DIR:?set by ctest}
source "${QORVIC_SOURCE_DIR:?set by ctest}/scripts/wine-session.sh"
exe="$build/tools/converter/i__view32.exe"
[ -f "$exe" ] || { echo "FAIL: $exe not built"; exit 1; }
for tool in convert compare opj_decompress; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing"; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
wine_session_up "$build/wine"

winpath() { echo "Z:${1//\//\\}"; }

check_round_trip() {
    local name=$1 size=$2 limit=$3
    # A screenshot-like source: flat areas, sharp text edges and a smooth gradient.
    convert -size "$size" gradient:'#1e3c78-#f0f0f0' \
        -fill '#202020' -draw 'rectangle 10,10 200,40' \
        -fill white -draw 'rectangle 30,60 260,300' \
        -fill '#2b579a' -draw 'line 0,0 300,140' \
        -type TrueColor BMP3:"$work/$name.bmp"
    mkdir -p "$work/ini"
    local start end
    start=$(date +%s%N)
    local rc=0
    timeout 60 wine "$exe" "$(winpath "$work/$name.bmp")" "/ini=$(winpath "$work/ini")" \
        "/convert=$(winpath "$work/$name.jp2")" || rc=$?
    end=$(date +%s%N)
    local ms=$(((end - start) / 1000000))
    echo "$name ($size): converter exit $rc in $ms ms"
    [ "$rc" -eq 0 ] || { echo "FAIL: converter exit code $rc"; exit 1; }
    [ -s "$work/$name.jp2" ] || { echo "FAIL: no $name.jp2 written"; exit 1; }
    if ls "$work"/*.part >/dev/null 2>&1; then
        echo "FAIL: temporary file left behind"
        exit 1
    fi
    [ "$ms" -lt "$limit" ] || { echo "FAIL: $ms ms exceeds $limit ms"; exit 1; }
    opj_decompress -i "$work/$name.jp2" -o "$work/$name.ppm" >/dev/null
    local differing
    differing=$(compare -metric AE "$work/$name.bmp" "$work/$name.ppm" null: 2>&1 || true)
    [ "$differing" = "0" ] || { echo "FAIL: $differing pixels differ in $name"; exit 1; }
}

check_round_trip odd 301x157 5000
check_round_trip screen 1920x1080 5000
echo PASS
