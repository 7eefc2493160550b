#!/usr/bin/env bash
# One private Wine session per build tree: its own WINEPREFIX, its own Xvfb
# display, a warm wineserver and the WM_STATE helper. Source it, then call
# wine_session_up ROOT; wine_session_down ROOT ends it.
#
# Source this file; it only defines functions and exports the Wine variables.

QORVIC_SOURCE_DIR=${QORVIC_SOURCE_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}

wine_session_env() {
    local root=$1
    export WINEPREFIX="$root/prefix"
    export WINEARCH=win64
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    if [ -f "$root/display" ]; then
        DISPLAY=$(cat "$root/display")
        export DISPLAY
    fi
}

_pid_alive() { [ -f "$1" ] && kill -0 "$(cat "$1")" 2>/dev/null; }

# Copies Wine's own fonts (Marlett, Tahoma ...) into the prefix: a new prefix
# lacks them and the menus' glyphs would draw as plain letters.
#
# Japanese text needs, as on Windows, a font link from the interface font to a
# font that has its glyphs.
_wine_prefix_fonts() {
    local fonts="$WINEPREFIX/drive_c/windows/Fonts"
    mkdir -p "$fonts"
    cp -n /usr/share/wine/fonts/*.ttf "$fonts/" 2>/dev/null || true
    local key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
    for face in Tahoma "MS Shell Dlg"; do
        wine reg add "$key" /v "$face" /t REG_MULTI_SZ \
            /d "DroidSansFallbackFull.ttf,Droid Sans Fallback" /f >/dev/null 2>&1
    done
}

wine_session_up() {
    local root
    root=$(mkdir -p "$1" && cd "$1" && pwd)
    mkdir -p "$root"
    (
        flock 9
        if ! _pid_alive "$root/xvfb.pid"; then
            rm -f "$root/display"
            local fifo="$root/displayfd"
            rm -f "$fifo"
            mkfifo "$fifo"
            Xvfb -displayfd 7 -noreset -nolisten tcp -screen 0 "${QORVIC_SCREEN:-1920x1080x24}" \
                7>"$fifo" >"$root/xvfb.log" 2>&1 9>&- &
            echo $! >"$root/xvfb.pid"
            local n
            read -r -t 20 n <"$fifo" || { echo "Xvfb did not start" >&2; exit 1; }
            rm -f "$fifo"
            echo ":$n" >"$root/display"
        fi
        wine_session_env "$root"
        if ! _pid_alive "$root/wmstate.pid"; then
            if [ ! -x "$root/wmstate" ] || [ "$QORVIC_SOURCE_DIR/tests/support/wmstate.c" -nt "$root/wmstate" ]; then
                cc -O2 -o "$root/wmstate" "$QORVIC_SOURCE_DIR/tests/support/wmstate.c" -lX11
            fi
            "$root/wmstate" >"$root/wmstate.log" 2>&1 9>&- &
            echo $! >"$root/wmstate.pid"
        fi
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
            wineboot -i >"$root/wineboot.log" 2>&1 9>&-
        fi
        if [ ! -f "$root/fonts.done" ]; then
            _wine_prefix_fonts 9>&-
            touch "$root/fonts.done"
        fi
        # A crash of any process shows Wine's crash dialog, which stays up and
        # takes the clicks and dialog searches of every later test on this
        # display; the crash itself still fails the test that caused it.
        if [ ! -f "$root/crashdialog.done" ]; then
            wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
                9>&- >/dev/null 2>&1 && touch "$root/crashdialog.done"
        fi
        # A persistent wineserver makes each test .exe start in milliseconds.
        wineserver -p 2>/dev/null 9>&- || true
        # Wine's services start with the first program of a server and keep the
        # output that program had: started here, they hold no test's pipe open
        # (ctest would wait for it after the test ended).
        wine cmd /c exit 9>&- >/dev/null 2>&1 || true
    ) 9>"$root/session.lock" </dev/null >>"$root/session.log" 2>&1
    wine_session_env "$root"
}

wine_session_down() {
    local root
    root=$(cd "$1" && pwd) || return 0
    wine_session_env "$root"
    wineserver -k 2>/dev/null || true
    for p in wmstate xvfb; do
        if _pid_alive "$root/$p.pid"; then kill "$(cat "$root/$p.pid")" 2>/dev/null || true; fi
        rm -f "$root/$p.pid"
    done
    rm -f "$root/display"
}
