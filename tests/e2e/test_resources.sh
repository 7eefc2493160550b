#!/usr/bin/env bash
# The program's resources: the icon, made again from its script without a
# byte changed, shown by the window; the version resource for 1.10; the
# embedded manifest with common controls 6 and the supported systems.
source "$(dirname "$0")/lib.sh"

python3 "$QORVIC_SOURCE_DIR/scripts/make-icon.py" "$WORK/icon.ico"
cmp -s "$WORK/icon.ico" "$QORVIC_SOURCE_DIR/src/res/qorvic.ico" ||
    fail "src/res/qorvic.ico differs from what scripts/make-icon.py makes"
sizes=$(identify -format '%wx%h ' "$WORK/icon.ico")
[ "$sizes" = "16x16 32x32 48x48 " ] || fail "icon sizes: $sizes"
# The corner outside the rounded square is clear; the red dot is the frame's check below.
[ "$(convert "$WORK/icon.ico[1]" -format '%[fx:p{0,0}.a]' info:)" = 0 ] || fail "the icon's corner is not transparent"

python3 - "$QORVIC_EXE" <<'PY' || fail "qorvic.exe's resources"
import struct, sys
exe = open(sys.argv[1], "rb").read()
at = exe.find(struct.pack("<I", 0xFEEF04BD))
assert at >= 0, "no version resource"
_, file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<5I", exe, at + 4)
assert (file_ms, file_ls, product_ms, product_ls) == (0x1000A, 0, 0x1000A, 0), "fixed version is not 1.10.0.0"
for key in ("FileVersion", "ProductVersion"):
    entry = (key + "\0").encode("utf-16-le")
    pos = exe.find(entry, at)
    assert pos >= 0, key + " missing"
    value = exe[pos + len(entry):pos + len(entry) + 16].lstrip(b"\0")
    assert value.startswith("1.10\0".encode("utf-16-le")), key + " is not 1.10"
assert b'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' in exe, "manifest without common controls 6"
assert exe.count(b"<supportedOS Id=") >= 4, "manifest without the supported systems"
assert b"<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">PerMonitorV2</dpiAwareness>" in exe, "manifest without per-monitor DPI awareness v2"
assert b">true/pm</dpiAware>" in exe, "manifest without the per-monitor fallback for older systems"
PY

# The frame shows the icon: Wine hands the window's icon to X, 32 px first,
# whose centre pixel (ARGB) is the red dot.
start_pattern 0 0 800 600
start_qorvic
icon=""
for window in $(xdotool search --name '^Qorvic$'); do
    icon=$(xprop -id "$window" -f _NET_WM_ICON 32c _NET_WM_ICON | sed -n 's/^_NET_WM_ICON(CARDINAL) = //p')
    [ -n "$icon" ] && break
done
[ -n "$icon" ] || fail "the frame has no icon"
IFS=', ' read -r -a argb <<<"$icon"
[ "${argb[0]}x${argb[1]}" = 32x32 ] || fail "the frame's icon is ${argb[0]}x${argb[1]}, not 32x32"
[ "${argb[$((2 + 16 * 32 + 16))]}" = $((0xFFE03030)) ] || fail "the frame's icon is not Qorvic's"
stop_qorvic
echo "PASS"
