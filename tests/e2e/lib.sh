# Shared steps of the end-to-end tests: a fresh data and desktop folder per
# test, the real qorvic.exe started under Wine, screenshots and pixel reads.
set -euo pipefail
: "${QORVIC_BUILD_DIR:?}" "${QORVIC_SOURCE_DIR:?}"
source "$QORVIC_SOURCE_DIR/scripts/wine-session.sh"

# A test that needs a prefix of its own (a fresh install) sets E2E_WINE_ROOT;
# that session ends with the test.
WINE_ROOT=${E2E_WINE_ROOT:-$QORVIC_BUILD_DIR/wine}
wine_session_up "$WINE_ROOT"
QORVIC_EXE="$QORVIC_BUILD_DIR/src/qorvic.exe"
DRIVER="$QORVIC_BUILD_DIR/tests/e2e/e2e_driver.exe"
TEST_NAME=$(basename "$0" .sh)
WORK="$QORVIC_BUILD_DIR/e2e/$TEST_NAME"
rm -rf "$WORK"
mkdir -p "$WORK/appdata" "$WORK/desktop"
BACKGROUND_PIDS=()

fail() {
    echo "FAIL: $*"
    exit 1
}

winpath() { winepath -w "$1" 2>/dev/null; }

# Points the prefix's AppData and Desktop at this test's own folders.
set_user_folders() {
    local key='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders'
    wine reg add "$key" /v AppData /t REG_EXPAND_SZ /d "$(winpath "$1")" /f >/dev/null 2>&1
    wine reg add "$key" /v Desktop /t REG_EXPAND_SZ /d "$(winpath "$2")" /f >/dev/null 2>&1
}

driver() { timeout 30 wine "$DRIVER" "$@" 2>/dev/null | tr -d '\r'; }

# The shipped languages and a settings file (frame colour, language) in the data folder.
install_data_folder() { # colour language
    mkdir -p "$WORK/appdata/Qorvic/Languages"
    cp "$QORVIC_SOURCE_DIR"/lang/*.Language "$WORK/appdata/Qorvic/Languages/"
    printf '%s\r\n%s\r\n' "$1" "$2" >"$WORK/appdata/Qorvic/Qorvic.cfg"
}
# Settings read when Wine's desktop starts (display scale, X11 driver) need a new server.
restart_wineserver() {
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    wineserver -p 2>/dev/null || true
}
start_pattern() { # x y w h
    wine "$DRIVER" pattern "$@" >"$WORK/pattern.log" 2>&1 &
    BACKGROUND_PIDS+=($!)
    # The first Wine window of a run can take seconds while the desktop starts.
    local deadline=$((SECONDS + 30))
    while [ $SECONDS -lt $deadline ]; do
        grep -q "pattern up" "$WORK/pattern.log" 2>/dev/null && return 0
        sleep 0.05
    done
    fail "pattern window did not come up"
}

start_qorvic() {
    wine "$QORVIC_EXE" >"$WORK/qorvic.log" 2>&1 &
    QORVIC_PID=$!
    BACKGROUND_PIDS+=($QORVIC_PID)
    [ "$(driver wait Qorvic 20000)" = found ] || fail "the Qorvic window did not appear"
}

stop_qorvic() {
    [ "$(driver close Qorvic)" = closed ] || fail "Qorvic did not end after its window was closed"
    wait "$QORVIC_PID" 2>/dev/null || true
}

# "outer X Y W H client X Y W H topmost T layered L" for a window title.
window_rect() { driver rect "$1"; }
field() { awk -v n="$2" '{print $n}' <<<"$1"; }

screenshot() { import -window root "$1"; }
pixel() { convert "$1" -format "%[hex:p{$2,$3}]" info: | cut -c1-6; }

expect_pixel() { # file x y RRGGBB what
    local got
    got=$(pixel "$1" "$2" "$3")
    [ "$got" = "$4" ] || fail "$5: pixel ($2,$3) is $got, expected $4"
}

# A test that stopped between a key's press and release leaves it held down in
# the X server, and Wine reads it held in every later test (a held Esc closes
# each menu as it opens): every test starts and ends with them released.
release_keys() { xdotool keyup Escape Return space Tab F10 Menu ctrl shift alt 2>/dev/null || true; }
release_keys

cleanup() {
    release_keys
    for pid in "${BACKGROUND_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    driver close "Test pattern" >/dev/null 2>&1 || true
    if [ "$WINE_ROOT" != "$QORVIC_BUILD_DIR/wine" ]; then wine_session_down "$WINE_ROOT"; fi
}
trap cleanup EXIT

set_user_folders "$WORK/appdata" "$WORK/desktop"

# --- The popup menus under the real pointer (xdotool), as the user works them.
# Wine at 96 DPI: menu bar and menu rows 19 pixels; separators after
# first-level rows 3, 4 and 5 shift the rows below them.
ITEM=19
BAR=19
ROW_TOPS=(3 22 41 60 87 114 141)

# The frame's client origin CX CY and outer corner QX QY.
frame_origin() {
    local rect
    rect=$(window_rect Qorvic)
    CX=$(field "$rect" 7) CY=$(field "$rect" 8) QX=$(field "$rect" 2) QY=$(field "$rect" 3)
}
menu_rect() { # class -> sets P_X P_Y P_W P_H
    local r
    r=$(driver class-rect "$1" 5000) || true
    [ "$(field "$r" 1)" = outer ] || fail "$1 did not open: $r"
    P_X=$(field "$r" 2) P_Y=$(field "$r" 3) P_W=$(field "$r" 4) P_H=$(field "$r" 5)
}
open_menu() { # a click on "Options" -> MX MY MW MH
    xdotool mousemove $((CX + 20)) $((CY + 9)) click 1
    menu_rect QorvicMenu
    MX=$P_X MY=$P_Y MW=$P_W MH=$P_H
}
row_y() { echo $((MY + 1 + ROW_TOPS[$1] + ITEM / 2)); }
hover_row() { xdotool mousemove $((MX + 30)) "$(row_y "$1")"; }
sub_row_y() { echo $((SY + 1 + 3 + $1 * ITEM + ITEM / 2)); }
open_sub() { # row of the first level -> SX SY SW SH
    hover_row "$1"
    menu_rect QorvicSubmenu
    SX=$P_X SY=$P_Y SW=$P_W SH=$P_H
}

# Quick save through the menus: "Options", the format submenu, a release over
# format row $1 (4 is PNG). With $2, a screenshot while the submenu is open.
quick_save_through_menus() {
    open_menu
    open_sub 3
    xdotool mousemove $((SX + 30)) "$(sub_row_y "$1")"
    if [ -n "${2:-}" ]; then
        sleep 0.3 # the highlight follows the pointer
        screenshot "$2"
    fi
    xdotool mousedown 1 mouseup 1
}
# A screenshot of the test pattern alone, once it is drawn (red at the left).
pattern_screenshot() {
    local deadline=$((SECONDS + 30))
    until screenshot "$1" && [ "$(pixel "$1" 4 4)" = FF0000 ]; do
        [ $SECONDS -lt $deadline ] || fail "the test pattern was not drawn"
        sleep 0.1
    done
}
wait_for_file() { # path seconds
    local deadline=$((SECONDS + $2))
    until [ -f "$1" ]; do
        [ $SECONDS -lt $deadline ] || fail "$1 did not appear within $2 s"
        sleep 0.1
    done
}
# A saved capture of the unscaled frame shows exactly what the screenshot
# $2 showed under the see-through area: 6 pixels in from the client's left
# edge and below the strip, less the 2-pixel border a capture leaves out.
expect_capture_of() { # saved screenshot
    local w h differing
    read -r w h <<<"$(identify -format '%w %h' "$1")"
    convert "$2" -crop "${w}x${h}+$((CX + 8))+$((CY + BAR + 8))" +repage "$WORK/expected.png"
    differing=$(compare -metric AE "$1" "$WORK/expected.png" null: 2>&1) || true
    [ "$differing" = 0 ] || fail "$(basename "$1") differs from what lay under the frame in $differing pixels"
}
