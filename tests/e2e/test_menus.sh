#!/usr/bin/env bash
# The popup menus under the real pointer (xdotool only): where they open, the
# submenus beside their rows, rows run by either button (the hand-off to a
# stand-in receiver included; a quick save by the pointer is the keyboard
# test's reference), the closing timer (also for clicks on another program),
# the language switch, "Options" after a save's long converter wait, and the
# screenshots of the open menus. The hand-off must deliver exactly the
# picture under the frame.
source "$(dirname "$0")/lib.sh"

install_data_folder 0 English
cp "$QORVIC_BUILD_DIR/tools/converter/i__view32.exe" "$WORK/appdata/Qorvic/"

# Something of Wine's to click on outside the menus, away from the frame.
start_pattern 1100 400 800 600
OUTSIDE_X=1500
OUTSIDE_Y=700
# The stand-in for Norvane, out of the way above the pattern; it saves what F7 hands it.
wine "$QORVIC_BUILD_DIR/tools/receiver/norvane_receiver.exe" "/save=$(winpath "$WORK/received.bmp")" \
    >"$WORK/receiver.log" 2>&1 &
BACKGROUND_PIDS+=($!)
[ "$(driver move "Norvane receiver" 1100 0)" = moved ] || fail "the receiver did not come up"
start_qorvic
frame_origin # the menu helpers of lib.sh work from it

expect_closed() {
    [ "$(driver class-gone QorvicMenu 3000)" = gone ] || fail "$1: the first-level menu stayed open"
    [ "$(driver class-gone QorvicSubmenu 3000)" = gone ] || fail "$1: the submenu stayed open"
}
close_by_click_outside() {
    xdotool mousemove $OUTSIDE_X $OUTSIDE_Y click 1
    expect_closed "$1"
}
# The highlight behind first-level row $1: light blue, well bluer than red.
has_highlight() {
    local hex
    hex=$(pixel "$WORK/shot.png" $((MX + 10)) $((MY + 1 + ROW_TOPS[$1] + ITEM - 3)))
    [ $((16#${hex:4:2} - 16#${hex:0:2})) -ge 40 ]
}
# Takes screenshots until every check holds (the X side may lag behind), at most 5 s.
shot_until() { # what, then checks separated by "--"
    local what=$1
    shift
    for _ in $(seq 1 25); do
        screenshot "$WORK/shot.png"
        local ok=1 check=()
        for word in "$@" --; do
            if [ "$word" = -- ]; then
                [ ${#check[@]} -eq 0 ] || "${check[@]}" || ok=0
                check=()
            else
                check+=("$word")
            fi
        done
        [ $ok = 1 ] && return 0
        sleep 0.2
    done
    fail "$what"
}
crop_menus() { # shot out right bottom: the frame and the menus with a small margin
    local left=$((QX > 8 ? QX - 8 : 0)) top=$((QY > 8 ? QY - 8 : 0))
    convert "$1" -crop "$(($3 + 8 - left))x$(($4 + 8 - top))+$left+$top" +repage "$2"
}
max() { echo $(($1 > $2 ? $1 : $2)); }

# --- Opening: below the strip, 6 pixels left of the label; the opening click does not close it.
open_menu
[ "$MX" = $((CX + 10 - 6)) ] && [ "$MY" = $((CY + BAR)) ] ||
    fail "menu at $MX,$MY; expected $((CX + 4)),$((CY + BAR))"
[ "$MH" = $((6 + 7 * ITEM + 24)) ] || fail "menu height $MH, expected $((6 + 7 * ITEM + 24))"
sleep 1.2 # two timer ticks with the pointer still on the label, outside the menu
[ "$(driver class-gone QorvicMenu 0)" = present ] || fail "the click that opened the menu closed it"
screenshot "$WORK/shot.png"
crop_menus "$WORK/shot.png" "$WORK/menu-options.png" $((MX + MW)) $((MY + MH))

# --- Hover: row 3 opens the formats beside it, overlapping 2 pixels, level with the row.
open_sub 3
[ "$SX" = $((MX + MW - 2)) ] && [ "$SY" = $((MY + ROW_TOPS[3] - 3)) ] ||
    fail "format menu at $SX,$SY; expected $((MX + MW - 2)),$((MY + 57))"
[ "$SH" = $((6 + 6 * ITEM)) ] || fail "format menu height $SH"
[ "$(driver class-children QorvicSubmenu | sort | tr '\n' ' ')" = "BMP GIF JP2 JPG PNG TIF " ] ||
    fail "format rows: $(driver class-children QorvicSubmenu)"
shot_until "no highlight on row 3 under the pointer" has_highlight 3
crop_menus "$WORK/shot.png" "$WORK/menu-formats.png" $((SX + SW)) "$(max $((MY + MH)) $((SY + SH)))"

# The highlight stays on row 3 while the pointer is in the submenu.
xdotool mousemove $((SX + 30)) "$(sub_row_y 1)"
sleep 0.3
[ "$(driver class-gone QorvicSubmenu 0)" = present ] || fail "moving into the submenu closed it"
shot_until "the highlight left row 3 while the pointer is in the submenu" has_highlight 3

# Row 4 closes the submenu; row 6 opens the languages (their check mark: the in-process tests).
hover_row 4
[ "$(driver class-gone QorvicSubmenu 3000)" = gone ] || fail "row 4 did not close the submenu"
open_sub 6
[ "$SY" = $((MY + ROW_TOPS[6] - 3)) ] || fail "language menu at y $SY"
[ "$SH" = $((6 + 8 * ITEM)) ] || fail "language menu height $SH"
shot_until "no highlight on row 6 under the pointer" has_highlight 6
crop_menus "$WORK/shot.png" "$WORK/menu-languages.png" $((SX + SW)) "$(max $((MY + MH)) $((SY + SH)))"

# --- Moving outside closes nothing; a click outside closes both within about half a second.
# A click on the menu between two rows (no row takes it) is no click outside
# either, not even once the pointer has left the menu.
xdotool mousemove $((MX + 30)) $((MY + 1 + ROW_TOPS[4] - 4)) click 1
sleep 0.7 # a timer tick with the pointer still over the menu
xdotool mousemove $OUTSIDE_X $OUTSIDE_Y
sleep 1.2
[ "$(driver class-gone QorvicMenu 0)" = present ] && [ "$(driver class-gone QorvicSubmenu 0)" = present ] ||
    fail "moving the pointer outside closed a menu"
# The driver watches the menu while the click happens, and says when it went.
wine "$DRIVER" class-gone-at QorvicMenu 5000 >"$WORK/gone.log" 2>/dev/null &
for _ in $(seq 1 200); do grep -q watching "$WORK/gone.log" 2>/dev/null && break; sleep 0.05; done
clicked=$(date +%s%3N)
xdotool click 1
wait $!
expect_closed "click outside"
gone=$(tr -d '\r' <"$WORK/gone.log" | awk '$1 == "gone" {print $2}')
[ -n "$gone" ] || fail "the menu did not close after the click outside: $(cat "$WORK/gone.log")"
echo "menus closed $((gone - clicked)) ms after the click outside"

# --- Another program that reads the buttons' key state on every press, as
# programs watching for a drag do: moving onto it closes nothing, a quick
# click on it with any button closes the menus within about a second.
wine "$DRIVER" key-reader 600 500 300 200 >"$WORK/reader.log" 2>&1 &
BACKGROUND_PIDS+=($!)
for _ in $(seq 1 200); do grep -q "Key reader up" "$WORK/reader.log" 2>/dev/null && break; sleep 0.05; done
for button in 1 3 2; do
    open_menu
    open_sub 3
    xdotool mousemove 750 600
    sleep 1.2
    [ "$(driver class-gone QorvicMenu 0)" = present ] && [ "$(driver class-gone QorvicSubmenu 0)" = present ] ||
        fail "moving onto another program closed a menu"
    xdotool click $button
    [ "$(driver class-gone QorvicMenu 1500)" = gone ] && [ "$(driver class-gone QorvicSubmenu 0)" = gone ] ||
        fail "a quick click (button $button) on another program left the menus open;" \
            "it saw $(grep -c "press read" "$WORK/reader.log") presses"
done
driver close "Key reader" >/dev/null

# --- Row 1 copies the capture to the clipboard, with the left and with the right button.
for button in 1 3; do
    driver clear-clipboard >/dev/null
    open_menu
    hover_row 1
    xdotool click $button
    [ "$(driver class-gone QorvicMenu 3000)" = gone ] || fail "row 1 left the menu open"
    got=none
    for _ in $(seq 1 100); do
        got=$(driver clipboard)
        [ "$got" = "dib 288 193" ] && break
        sleep 0.05
    done
    [ "$got" = "dib 288 193" ] || fail "button $button over row 1: clipboard holds $got"
done

# --- German from the language menu: the strip at once. (The menus in the new
# language and every row's command: the in-process tests.)
open_menu
open_sub 6
xdotool mousemove $((SX + 30)) "$(sub_row_y 3)" click 1
expect_closed "language pick"
children=$(driver children Qorvic)
grep -qxF "Optionen" <<<"$children" || fail "the options label is not German: $children"
grep -qxF "Ganzen Bildschirm aufnehmen" <<<"$children" || fail "the check box is not German"
open_menu # the label's German caption is wider; the menu still opens at its left

# --- Japanese: screenshots of both levels (how wide: the menu model's tests).
open_sub 6
xdotool mousemove $((SX + 30)) "$(sub_row_y 4)" click 1
expect_closed "Japanese pick"
open_menu
open_sub 3
shot_until "no highlight on the Japanese row 3" has_highlight 3
crop_menus "$WORK/shot.png" "$WORK/menu-japanese.png" $((SX + SW)) "$(max $((MY + MH)) $((SY + SH)))"
close_by_click_outside "Japanese menus"

# --- Row 0 hands the capture to Norvane.
# Under Wine without a window manager an injected key is now and then lost in
# a focus change between X clients although Norvane is in front (seen about
# once in ten runs on a loaded machine), so a hand-off that delivered nothing
# is tried once more; the second must arrive.
hand_off() {
    driver clear-clipboard >/dev/null
    open_menu
    hover_row 0
    xdotool click 1
    for _ in $(seq 1 200); do [ -s "$WORK/received.bmp" ] && return 0; sleep 0.05; done
    return 1
}
# Over the pattern, so the picture handed over has something to show; back afterwards.
HOME_X=$QX HOME_Y=$QY
[ "$(driver move Qorvic 1150 420)" = moved ] || fail "the frame could not be moved"
frame_origin
deadline=$((SECONDS + 20))
until screenshot "$WORK/before-handoff.png" &&
    [ "$(pixel "$WORK/before-handoff.png" $((CX + 20)) $((CY + BAR + 20)))" != 000000 ]; do
    [ $SECONDS -lt $deadline ] || fail "the pattern does not show through the moved frame"
    sleep 0.1
done
hand_off || { echo "the first hand-off's F7 did not arrive; once more"; hand_off; } || true
sleep 0.2 # the receiver may still be writing
[ "$(head -c 2 "$WORK/received.bmp")" = BM ] ||
    fail "row 0: the receiver got $(identify "$WORK/received.bmp" 2>&1);" \
        "clipboard: $(driver clipboard); menu: $(driver class-gone QorvicMenu 0);" \
        "receiver said: $(tr -d '\r' <"$WORK/receiver.log")"
expect_capture_of "$WORK/received.bmp" "$WORK/before-handoff.png"
driver close "Norvane receiver" >/dev/null || true
[ "$(driver move Qorvic "$HOME_X" "$HOME_Y")" = moved ] || fail "the frame could not be moved back"
frame_origin

# --- A save whose converter, a console program, runs past the 5-second wait:
# a click on "Options" during the wait, and afterwards "Options" opens the menu.
cp "$QORVIC_BUILD_DIR/tests/win/stand_in_console_converter.exe" "$WORK/appdata/Qorvic/i__view32.exe"
mkdir -p "$WORK/appdata/Qorvic/ini"
echo hang >"$WORK/appdata/Qorvic/ini/stand_in_mode.txt"
quick_save_through_menus 4
sleep 2
xdotool mousemove $((CX + 20)) $((CY + 9)) click 1
sleep 4 # past the wait
# The click during the wait may have opened the menu since; the next opening is a new one.
close_by_click_outside "the menu opened by the click during the wait"
xdotool mousemove $((CX + 20)) $((CY + 9)) click 1
[ "$(field "$(driver class-rect QorvicMenu 5000)" 1)" = outer ] ||
    fail "after a click on Options during the converter's wait Options opens no menu"
close_by_click_outside "the menu opened after the wait"

stop_qorvic
echo "PASS"
