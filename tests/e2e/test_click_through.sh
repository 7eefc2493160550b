#!/usr/bin/env bash
# A real click on the see-through area reaches the window beneath; a click on
# the margin does not.
source "$(dirname "$0")/lib.sh"

start_pattern 0 0 800 600
start_qorvic
rect=$(window_rect Qorvic)
cx=$(field "$rect" 7)
cy=$(field "$rect" 8)
sleep 0.3
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
echo "PASS"
