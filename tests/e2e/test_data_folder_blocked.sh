#!/usr/bin/env bash
# A file where the data folder should be: nothing is created, the defaults
# apply, and the program still starts and ends cleanly.
source "$(dirname "$0")/lib.sh"

echo "not a folder" >"$WORK/appdata/Qorvic"
start_pattern 0 0 800 600
start_qorvic
rect=$(window_rect Qorvic)
cx=$(field "$rect" 7)
cy=$(field "$rect" 8)
sleep 0.3
screenshot "$WORK/frame.png"
expect_pixel "$WORK/frame.png" $((cx + 2)) $((cy + 100)) 000000 "default black frame"
stop_qorvic
[ -f "$WORK/appdata/Qorvic" ] && [ "$(cat "$WORK/appdata/Qorvic")" = "not a folder" ] ||
    fail "the file in the way was changed"
ls "$WORK/appdata" | grep -v '^Qorvic$' && fail "stray files left in the data folder's parent"
echo "PASS"
