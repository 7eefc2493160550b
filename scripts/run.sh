#!/usr/bin/env bash
# Builds Qorvic for Windows and runs it under Wine. With a display it simply
# runs there; without one it runs on a private Xvfb display, takes a
# screenshot of the frame over a test pattern and says where it went.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-session.sh

scripts/deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target qorvic e2e_driver

exe="$PWD/build/windows/src/qorvic.exe"
driver="$PWD/build/windows/tests/e2e/e2e_driver.exe"
root="$PWD/build/windows/run"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    mkdir -p "$root"
    export WINEPREFIX="$root/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    [ -f "$WINEPREFIX/system.reg" ] || { wineboot -i >/dev/null 2>&1; cp -n /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true; }
    exec wine "$exe"
fi

echo "No display: running Qorvic on a private Xvfb display."
wine_session_up "$root"
trap 'wine_session_down "$root"' EXIT
wine "$driver" pattern 0 0 1920 1080 >/dev/null 2>&1 &
pattern=$!
timeout 20 wine "$driver" wait "Test pattern" 10000 >/dev/null
wine "$exe" &
qorvic=$!
timeout 30 wine "$driver" wait Qorvic 20000 >/dev/null || { echo "Qorvic did not come up"; exit 1; }
sleep 1
shot="$PWD/build/windows/qorvic-screenshot.png"
import -window root "$shot"
timeout 30 wine "$driver" close Qorvic >/dev/null
wait "$qorvic" || true
kill "$pattern" 2>/dev/null || true
echo "Qorvic ran and closed cleanly. Screenshot: $shot"
