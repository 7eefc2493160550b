#!/usr/bin/env bash
# Every command from the keyboard, with real key presses (xdotool): F10 and the
# menu keys quick-save the same picture the mouse saves, Esc closes the menus,
# Tab and Space tick "Capture screen", the shortcuts copy and
# open the save dialog, and the slider moves by keys.
source "$(dirname "$0")/lib.sh"

install_data_folder 0 English
cp "$QORVIC_BUILD_DIR/tools/converter/i__view32.exe" "$WORK/appdata/Qorvic/"
start_pattern 1100 400 800 600
start_qorvic
frame_origin

expect_menus() { # first second (present or gone)
    [ "$(driver class-gone QorvicMenu 3000)" = "$1" ] || fail "$3: the first level is not $1"
    [ "$(driver class-gone QorvicSubmenu 3000)" = "$2" ] || fail "$3: the submenu is not $2"
}
expect_clipboard() { # "dib W H" what [prefix]
    local got=none
    for _ in $(seq 1 100); do
        got=$(driver clipboard)
        [ "$got" = "$1" ] && return 0
        [ -n "${3:-}" ] && [ "${got%% *}" = "$1" ] && return 0
        sleep 0.05
    done
    fail "$2: clipboard holds $got, expected $1"
}

# The reference: a quick save as PNG with the mouse.
quick_save_through_menus 4
wait_for_file "$WORK/desktop/Qorvic_1.png" 15
expect_menus gone gone "mouse quick save"

# Keys go where the pointer is on the X side: the frame's title bar.
xdotool mousemove $((QX + 150)) $((QY + 8)) click 1
xdotool key F10
expect_menus present gone "F10"
xdotool key Down Down Down Right
expect_menus present present "Right on the formats row"
screenshot "$WORK/menu-keys.png"
xdotool key Down Down Down Down Return
expect_menus gone gone "Enter on PNG"
wait_for_file "$WORK/desktop/Qorvic_2.png" 15
sleep 0.3 # the converter renames the finished file into place
differing=$(compare -metric AE "$WORK/desktop/Qorvic_1.png" "$WORK/desktop/Qorvic_2.png" null: 2>&1) || true
[ "$differing" = 0 ] || fail "the keyboard's quick save differs from the mouse's in $differing pixels"

# The context-menu key and Shift+F10 open the menu too, Esc closes it. (Esc in
# a submenu and the keys' wrapping: the in-process accessibility test.)
for opener in Menu shift+F10; do
    xdotool key $opener
    expect_menus present gone "$opener"
    xdotool key Escape
    expect_menus gone gone "Esc after $opener"
done

# Shortcuts: Ctrl+C copies, Ctrl+S opens the save dialog.
driver clear-clipboard >/dev/null
xdotool key ctrl+c
expect_clipboard "dib 288 193" "Ctrl+C"
xdotool key ctrl+s
[ "$(driver wait "Save File - Qorvic" 10000)" = found ] || fail "Ctrl+S did not open the save dialog"
# Esc with the pointer over the dialog, as keys go where the pointer is. Not
# "xdotool windowfocus ... key": the dialog closes on the press, and xdotool,
# failing on the gone window, would leave Esc held down for every later test.
dialog=$(window_rect "Save File - Qorvic")
xdotool mousemove $(($(field "$dialog" 2) + 60)) $(($(field "$dialog" 3) + 8)) key Escape
for _ in $(seq 1 50); do [ "$(driver gone "Save File - Qorvic")" = gone ] && break; sleep 0.1; done
[ "$(driver gone "Save File - Qorvic")" = gone ] || fail "Esc did not close the save dialog"

# Tab to the check box, Space ticks it: the next capture takes the whole screen.
xdotool mousemove $((QX + 150)) $((QY + 8)) click 1
xdotool key Tab Tab space ctrl+c
expect_clipboard "dib 1920 1080" "Tab, Tab, Space, Ctrl+C"
screenshot "$WORK/focus.png"

# The scaling panel from the menu; the slider has the focus: End is 200 %, Esc
# closes the panel. (Every slider key: the in-process accessibility test.)
panel_is() {
    for _ in $(seq 1 50); do
        [ "$(driver child-visible Qorvic QorvicScalePanel)" = "$1" ] && return 0
        sleep 0.1
    done
    return 1
}
xdotool key F10 Down Down Down Down Return
panel_is visible || fail "the scaling panel did not open"
# The panel enlarged the small frame: its 100 % capture is the measure.
driver clear-clipboard >/dev/null
xdotool key ctrl+c
expect_clipboard "dib" "Ctrl+C with the panel open" prefix
read -r _ W H <<<"$(driver clipboard)"
xdotool key End
screenshot "$WORK/slider.png"
xdotool key ctrl+c
expect_clipboard "dib $((2 * W)) $((2 * H))" "End on the slider"
xdotool key Escape
panel_is hidden || fail "Esc did not close the panel"

stop_qorvic
echo "PASS"
