#!/usr/bin/env bash
# The update check of the real program against a local server: a newer version
# opens the prompt, in the language of the settings, beside the main window,
# and "No", clicked like a user, gives the window back; closing the main window while the server keeps the
# download waiting ends the program at once. Versions, the disabled main window
# and the other answers are the in-process tests' (tests/win/update_test.cpp).
source "$(dirname "$0")/lib.sh"

# The test copy of the program: the same code, its home page taken from QORVIC_TEST_HOME_URL.
QORVIC_EXE="$QORVIC_BUILD_DIR/tests/e2e/qorvic_update_test.exe"
SERVER="$QORVIC_SOURCE_DIR/tests/e2e/update_server.py"

# start_server NAME MODE [PAGE]: a fresh server; its address goes to QORVIC_TEST_HOME_URL.
start_server() {
    local name=$1
    rm -f "$WORK/$name.port" "$WORK/$name.log"
    touch "$WORK/$name.log"
    python3 "$SERVER" "$2" "$WORK/$name.port" "$WORK/$name.log" "${3:-}" &
    BACKGROUND_PIDS+=($!)
    local deadline=$((SECONDS + 10))
    while [ ! -s "$WORK/$name.port" ]; do
        [ $SECONDS -lt $deadline ] || fail "the $name server did not start"
        sleep 0.05
    done
    export QORVIC_TEST_HOME_URL="http://127.0.0.1:$(cat "$WORK/$name.port")/"
}

wait_for_request() { # NAME
    local deadline=$((SECONDS + 30))
    until grep -q "^GET / *$" "$WORK/$1.log"; do
        [ $SECONDS -lt $deadline ] || fail "the program never asked the $1 server for its page"
        sleep 0.05
    done
}

# The prompt's lead-in comes from the language file (entry 18, line 19 of its source text).
install_data_folder 0 German
lead_in=$(sed -n 19p "$QORVIC_SOURCE_DIR/lang/src/German.txt" | sed 's/^[^=]*=.//' | tr -d '\r')

# A newer version: the prompt, over a disabled main window.
start_server newer page "<html><p>Qorvic ver 1.11</p></html>"
start_qorvic
wait_for_request newer
[ "$(driver wait Brimlow 20000)" = found ] || fail "no update prompt for version 1.11"
children=$(driver children Brimlow)
grep -qxF "$lead_in Qorvic 1.11" <<<"$children" || fail "prompt shows: $children"
grep -qxF "Yes" <<<"$children" && grep -qxF "No" <<<"$children" || fail "buttons: $children"
prompt=$(window_rect Brimlow)
main=$(window_rect Qorvic)
[ $(($(field "$prompt" 2) - $(field "$main" 2))) = 33 ] &&
    [ $(($(field "$prompt" 3) - $(field "$main" 3))) = 33 ] ||
    fail "the prompt is not 500 twips right of and below the main window: $prompt / $main"
screenshot "$WORK/prompt.png"
# The prompt's icon is the program's icon: the red dot in the middle of its 32 pixels.
expect_pixel "$WORK/prompt.png" $(($(field "$prompt" 7) + 16)) $(($(field "$prompt" 8) + 16)) E03030 \
    "the prompt's icon"
convert "$WORK/prompt.png" -crop "$(field "$prompt" 9)x$(field "$prompt" 10)+$(field "$prompt" 7)+$(field "$prompt" 8)" \
    +repage "$WORK/update-prompt.png"
# "No", clicked like a user: the prompt goes and the main window works again.
xdotool mousemove $(($(field "$prompt" 7) + 255)) $(($(field "$prompt" 8) + 145)) click 1
deadline=$((SECONDS + 20))
until [ "$(driver gone Brimlow)" = gone ]; do
    [ $SECONDS -lt $deadline ] || fail "\"No\" did not close the prompt"
    sleep 0.1
done
[ "$(driver enabled Qorvic)" = enabled ] || fail "the main window stays disabled after \"No\""
stop_qorvic

# A server that takes the request and never answers: closing ends the program at once.
start_server slow hold
start_qorvic
wait_for_request slow
start=$(date +%s%N)
[ "$(driver close Qorvic)" = closed ] || fail "the program did not end while the download waited"
echo "closing during the download took $((($(date +%s%N) - start) / 1000000)) ms"
wait "$QORVIC_PID" 2>/dev/null || true
[ "$(driver wait Brimlow 0)" = timeout ] || fail "a prompt appeared after closing"
echo "PASS"
