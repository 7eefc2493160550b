#!/usr/bin/env bash
# A colour and a language in the settings file show in the margins and are
# written back unchanged at the end.
source "$(dirname "$0")/lib.sh"

mkdir -p "$WORK/appdata/Qorvic"
printf '255\r\nGerman\r\n' >"$WORK/appdata/Qorvic/Qorvic.cfg"
start_pattern 0 0 800 600
start_qorvic
rect=$(window_rect Qorvic)
cx=$(field "$rect" 7)
cy=$(field "$rect" 8)
sleep 0.3
screenshot "$WORK/frame.png"
expect_pixel "$WORK/frame.png" $((cx + 2)) $((cy + 100)) FF0000 "left margin in the stored colour"
expect_pixel "$WORK/frame.png" $((cx + 150)) $((cy + 228 - 3)) FF0000 "bottom margin in the stored colour"
stop_qorvic
[ "$(od -An -c "$WORK/appdata/Qorvic/Qorvic.cfg" | tr -s ' ')" = " 2 5 5 \r \n G e r m a n \r \n" ] ||
    fail "settings not written back: $(od -c "$WORK/appdata/Qorvic/Qorvic.cfg")"

# The key colour as frame colour: the margins become see-through as well.
printf '16776960\r\nEnglish\r\n' >"$WORK/appdata/Qorvic/Qorvic.cfg"
start_qorvic
rect=$(window_rect Qorvic)
cx=$(field "$rect" 7)
cy=$(field "$rect" 8)
sleep 0.3
screenshot "$WORK/keyed.png"
sx=$((cx + 2))
case $(( (sx / 8) % 4 )) in 0) want=FF0000 ;; 1) want=0000FF ;; 2) want=FFFFFF ;; 3) want=008000 ;; esac
expect_pixel "$WORK/keyed.png" "$sx" $((cy + 100)) "$want" "margin in the key colour is see-through"
stop_qorvic
echo "PASS"
