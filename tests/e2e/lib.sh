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

cleanup() {
    for pid in "${BACKGROUND_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    driver close "Test pattern" >/dev/null 2>&1 || true
    if [ "$WINE_ROOT" != "$QORVIC_BUILD_DIR/wine" ]; then wine_session_down "$WINE_ROOT"; fi
}
trap cleanup EXIT

set_user_folders "$WORK/appdata" "$WORK/desktop"
