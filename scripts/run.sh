#!/usr/bin/env bash
# Builds Qorvic for Windows, makes the installer, installs it silently into a
# Wine prefix of its own and starts the installed program.
#
# With a display it simply runs there. Without one it plays a short session on
# a private Xvfb display with real pointer input: a test pattern behind the
# frame, a click on "Options", the format submenu, a release over "PNG". It
# prints where the saved picture and a screenshot went, and exits 0 only when
# the saved picture shows exactly the pattern under the frame.
#
# QORVIC_BUILD_DIR picks another (already configured) Windows build tree.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-session.sh

scripts/deps.sh
if [ -z "${QORVIC_BUILD_DIR:-}" ]; then
    cmake --preset windows >/dev/null
    QORVIC_BUILD_DIR="$PWD/build/windows"
fi
export QORVIC_BUILD_DIR QORVIC_SOURCE_DIR="$PWD"
cmake --build "$QORVIC_BUILD_DIR" --target qorvic_setup e2e_driver

say() { echo "run.sh: $*"; }

# Installs (or updates) Qorvic silently; sets PROGRAM to the installed qorvic.exe.
install_qorvic() {
    timeout 300 wine "$QORVIC_BUILD_DIR/qorvic-setup.exe" /S || { say "the installer failed"; exit 1; }
    local key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Qorvic' location
    location=$(wine reg query "$key" /v InstallLocation 2>/dev/null | tr -d '\r' |
        sed -n 's/^ *InstallLocation *REG_SZ *//p')
    PROGRAM="$(winepath -u "$location" 2>/dev/null)/qorvic.exe"
    [ -n "$location" ] && [ -f "$PROGRAM" ] || { say "the installer did not install qorvic.exe"; exit 1; }
    say "installed into $WINEPREFIX: $location\\qorvic.exe"
}

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    # Your own prefix, kept between runs with your settings in it.
    ROOT="$QORVIC_BUILD_DIR/run"
    mkdir -p "$ROOT"
    display=$DISPLAY
    wine_session_env "$ROOT"
    export DISPLAY=$display
    [ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1
    _wine_prefix_fonts
    install_qorvic
    exec wine "$PROGRAM"
fi

say "no display: a scripted session on a private Xvfb display"
# The end-to-end helpers bring up a session with a prefix of its own, give it
# fresh data and desktop folders under QORVIC_BUILD_DIR/e2e/run and end it on exit.
export E2E_WINE_ROOT="$QORVIC_BUILD_DIR/demo"
source tests/e2e/lib.sh
install_qorvic
QORVIC_EXE=$PROGRAM
printf '0\r\nEnglish\r\n' >"$WORK/appdata/Qorvic/Qorvic.cfg"

start_pattern 0 0 1920 1080
pattern_screenshot "$WORK/pattern.png"
start_qorvic
frame_origin

# The menus with the real pointer: a click on "Options", the pointer onto
# "Save to desktop as", whose format submenu opens beside it, then onto "PNG"
# and a release there. The screenshot shows the open menus.
shot="$QORVIC_BUILD_DIR/qorvic-screenshot.png"
quick_save_through_menus 4 "$shot"
saved="$WORK/desktop/Qorvic_1.png"
wait_for_file "$saved" 30
[ "$(driver class-gone QorvicMenu 5000)" = gone ] && [ "$(driver class-gone QorvicSubmenu 0)" = gone ] ||
    fail "the menus stayed open after the save"
stop_qorvic

say "saved picture: $saved ($(identify -format '%w x %h' "$saved"))"
say "screenshot: $shot"
expect_capture_of "$saved" "$WORK/pattern.png"
say "the saved picture shows exactly the pattern under the frame"
