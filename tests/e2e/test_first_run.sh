#!/usr/bin/env bash
# First run: the data folder is made, the frame is black with a see-through
# inside showing what lies beneath, a real click there reaches the window
# beneath while one on the margin does not, and closing writes the settings.
# Then the key colour as the stored frame colour: the margins are see-through too.
source "$(dirname "$0")/lib.sh"

start_pattern 0 0 800 600
start_qorvic
[ -d "$WORK/appdata/Qorvic" ] || fail "the data folder was not created"

rect=$(window_rect Qorvic)
echo "$rect"
[ "$(field "$rect" 9)" = 304 ] && [ "$(field "$rect" 10)" = 228 ] || fail "client area is not 304 x 228: $rect"
[ "$(field "$rect" 12)" = 1 ] || fail "the frame is not topmost"
[ "$(field "$rect" 14)" = 1 ] || fail "the frame is not layered"
cx=$(field "$rect" 7)
cy=$(field "$rect" 8)

sleep 0.3
screenshot "$WORK/frame.png"
# Left margin (x 0..5) in the frame colour, black on a first run.
expect_pixel "$WORK/frame.png" $((cx + 2)) $((cy + 100)) 000000 "left margin"
# The outline one pixel inside the see-through area (area starts at 6, strip + 6).
top=$((cy + 19 + 6))
expect_pixel "$WORK/frame.png" $((cx + 6 + 1)) $((top + 50)) 000000 "outline"
# Inside: the pattern beneath (8-pixel stripes red, blue, white, green from screen x 0).
stripe() { local c=(FF0000 0000FF FFFFFF 008000); echo "${c[$((($1 / 8) % 4))]}"; }
for x in 40 48 56 64; do
    expect_pixel "$WORK/frame.png" $((cx + x)) $((top + 60)) "$(stripe $((cx + x)))" "see-through area at x $x"
done
# No key colour anywhere: the see-through area must not show cyan.
[ "$(convert "$WORK/frame.png" -crop 304x228+"$cx"+"$cy" -fill black +opaque "#00FFFF" -format "%[fx:mean]" info:)" = 0 ] ||
    fail "key-coloured pixels are visible"

xdotool mousemove $((cx + 100)) $((cy + 120)) click 1
for _ in $(seq 1 100); do
    grep -q "^click" "$WORK/pattern.log" && break
    sleep 0.02
done
grep -q "^click $((cx + 100)) $((cy + 120))" "$WORK/pattern.log" ||
    fail "the click did not reach the window beneath: $(cat "$WORK/pattern.log")"
lines=$(grep -c "^click" "$WORK/pattern.log")
xdotool mousemove $((cx + 2)) $((cy + 120)) click 1
sleep 0.3
[ "$(grep -c "^click" "$WORK/pattern.log")" = "$lines" ] || fail "a click on the margin went through"

stop_qorvic
cfg="$WORK/appdata/Qorvic/Qorvic.cfg"
[ -f "$cfg" ] || fail "closing did not write the settings"
[ "$(od -An -c "$cfg" | tr -s ' ')" = " 0 \r \n E n g l i s h \r \n" ] || fail "settings bytes: $(od -c "$cfg")"

printf '16776960\r\nEnglish\r\n' >"$cfg"
start_qorvic
rect=$(window_rect Qorvic)
cx=$(field "$rect" 7)
cy=$(field "$rect" 8)
sleep 0.3
screenshot "$WORK/keyed.png"
expect_pixel "$WORK/keyed.png" $((cx + 2)) $((cy + 100)) "$(stripe $((cx + 2)))" "margin in the key colour"
stop_qorvic
echo "PASS"
