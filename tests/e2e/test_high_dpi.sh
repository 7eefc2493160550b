#!/usr/bin/env bash
# The real program on a 144-DPI screen (a prefix of its own whose display
# setting is 144 dots per inch): the frame's client, margins and outline are
# the 96-DPI design times 1.5, the strip is the system's menu-bar height at
# 144 DPI, the menus open at the scaled offsets, and a quick save through them
# holds exactly the pixels under the frame.
export E2E_WINE_ROOT="$QORVIC_BUILD_DIR/wine-dpi144"
source "$(dirname "$0")/lib.sh"

# The display scale is read when the desktop starts: set it, then restart the
# prefix's wineserver so every later process sees 144 DPI.
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
restart_wineserver

# Magenta frame (0x00FF00FF), so margins stand out from the pattern's colours.
install_data_folder 16711935 English

start_pattern 0 0 1200 900
start_qorvic
[ "$(driver move Qorvic 150 120)" = moved ] || fail "the frame could not be moved"

# Designed at 96 DPI, times 1.5: client 304 x 228, margin 6, outline 1 pixel
# in, capture border 2, label 10 in, menu 9 left of the label.
CLIENT_W=456 CLIENT_H=342 MARGIN=9 OUTLINE=2 BORDER=3
BAR=28 # SM_CYMENU as Wine gives it at 144 DPI (19 at 96)
rect=$(window_rect Qorvic)
CX=$(field "$rect" 7) CY=$(field "$rect" 8)
[ "$(field "$rect" 9) $(field "$rect" 10)" = "$CLIENT_W $CLIENT_H" ] ||
    fail "client is $(field "$rect" 9) x $(field "$rect" 10), expected $CLIENT_W x $CLIENT_H: $rect"

MAGENTA=FF00FF
stripe() { # the pattern's colour at screen column $1
    local colours=(FF0000 0000FF FFFFFF 008000)
    echo "${colours[$((($1 / 8) % 4))]}"
}
# The X side may show the frame a moment after Wine placed it: poll until the margin shows.
deadline=$((SECONDS + 20))
until screenshot "$WORK/frame.png" && [ "$(pixel "$WORK/frame.png" $((CX + 1)) $((CY + BAR + 1)))" = $MAGENTA ]; do
    [ $SECONDS -lt $deadline ] || fail "the frame did not show its margin colour"
    sleep 0.2
done
shot="$WORK/frame.png"
row=$((CY + BAR + 80))
col=$((CX + 200))
for x in 0 $((MARGIN - 1)) $((CLIENT_W - MARGIN)) $((CLIENT_W - 1)); do
    expect_pixel "$shot" $((CX + x)) $row $MAGENTA "margin column $x"
done
for x in $MARGIN $((MARGIN + OUTLINE - 1)) $((MARGIN + OUTLINE + 1)) $((CLIENT_W - MARGIN - OUTLINE - 1)) $((CLIENT_W - MARGIN - 1)); do
    expect_pixel "$shot" $((CX + x)) $row "$(stripe $((CX + x)))" "see-through column $x"
done
expect_pixel "$shot" $((CX + MARGIN + OUTLINE)) $row 000000 "outline on the left"
expect_pixel "$shot" $((CX + CLIENT_W - MARGIN - OUTLINE)) $row 000000 "outline on the right"
# Vertically: the strip ends at BAR, the margin below it is 9 rows, then the area.
[ "$(pixel "$shot" "$col" $((CY + BAR - 1)))" != $MAGENTA ] || fail "the strip is lower than $BAR rows"
for y in $BAR $((BAR + MARGIN - 1)) $((CLIENT_H - MARGIN)) $((CLIENT_H - 1)); do
    expect_pixel "$shot" "$col" $((CY + y)) $MAGENTA "margin row $y"
done
expect_pixel "$shot" "$col" $((CY + BAR + MARGIN)) "$(stripe "$col")" "first see-through row"
expect_pixel "$shot" "$col" $((CY + BAR + MARGIN + OUTLINE)) 000000 "outline at the top"

# --- The first-level menu opens below the strip, 9 pixels left of the 15-pixel label.
xdotool mousemove $((CX + 30)) $((CY + BAR / 2)) click 1
r=$(driver class-rect QorvicMenu 5000) || true
[ "$(field "$r" 1)" = outer ] || fail "the menu did not open: $r"
MX=$(field "$r" 2) MY=$(field "$r" 3) MW=$(field "$r" 4)
[ "$MX $MY" = "$((CX + 6)) $((CY + BAR))" ] ||
    fail "menu at $MX,$MY, expected $((CX + 6)),$((CY + BAR))"
# Rows 28 high from 5 pixels down (3 and 19 at 96 DPI); row 3 opens the formats beside it.
ITEM=28 FIRST=5
xdotool mousemove $((MX + 40)) $((MY + 2 + FIRST + 3 * ITEM + ITEM / 2))
r=$(driver class-rect QorvicSubmenu 5000) || true
[ "$(field "$r" 1)" = outer ] || fail "the format menu did not open: $r"
SX=$(field "$r" 2) SY=$(field "$r" 3)
# Beside the first level, overlapping it by 3 pixels (2 at 96 DPI).
[ "$SX" = $((MX + MW - 3)) ] || fail "format menu at x $SX, expected $((MX + MW - 3))"

# --- A quick save as BMP (row 0) captures exactly what lay under the frame.
xdotool mousemove $((SX + 40)) $((SY + 2 + FIRST + ITEM / 2))
xdotool mousedown 1 mouseup 1
wait_for_file "$WORK/desktop/Qorvic_1.bmp" 20
saved="$WORK/desktop/Qorvic_1.bmp"
want="$((CLIENT_W - 2 * MARGIN - 2 * BORDER))x$((CLIENT_H - BAR - 2 * MARGIN - 2 * BORDER))"
deadline=$((SECONDS + 10))
until [ "$(identify -format '%wx%h' "$saved" 2>/dev/null)" = "$want" ]; do
    [ $SECONDS -lt $deadline ] || fail "Qorvic_1.bmp is $(identify -format '%wx%h' "$saved" 2>&1), expected $want"
    sleep 0.2
done
convert "$shot" -crop "${want}+$((CX + MARGIN + BORDER))+$((CY + BAR + MARGIN + BORDER))" +repage \
    "$WORK/expected.png"
differing=$(compare -metric AE "$saved" "$WORK/expected.png" null: 2>&1) || true
[ "$differing" = 0 ] || fail "the capture differs from what lay under the frame in $differing pixels"

# --- "Scaling" (row 4, below the separator of 12 pixels, 8 at 96 DPI) grows the
# small frame to 4800 x 4000 twips: 480 x 400 pixels at 10 twips per pixel.
xdotool mousemove $((CX + 30)) $((CY + BAR / 2)) click 1
r=$(driver class-rect QorvicMenu 5000) || true
[ "$(field "$r" 1)" = outer ] || fail "the menu did not open again: $r"
xdotool mousemove $((MX + 40)) $((MY + 2 + FIRST + 4 * ITEM + 12 + ITEM / 2))
xdotool mousedown 1 mouseup 1
deadline=$((SECONDS + 20))
until rect=$(window_rect Qorvic) && [ "$(field "$rect" 4) $(field "$rect" 5)" = "480 400" ]; do
    [ $SECONDS -lt $deadline ] || fail "the scaling panel did not grow the frame to 480 x 400: $rect"
    sleep 0.2
done

stop_qorvic
echo "PASS"
