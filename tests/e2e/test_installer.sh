#!/usr/bin/env bash
# The installer in a fresh prefix: a silent install puts the program, the
# language files and the converter where they belong; installing again over
# a damaged install, while the program runs, closes it, repairs the install
# and keeps the user's converter settings; the uninstaller removes what was
# installed and keeps Qorvic.cfg. On the way the installed program shows its
# scaling panel (docs/scaling.png comes from here).
export E2E_WINE_ROOT="$QORVIC_BUILD_DIR/e2e/installer-wine"
rm -rf "$E2E_WINE_ROOT"
source "$(dirname "$0")/lib.sh"

SETUP="$QORVIC_BUILD_DIR/qorvic-setup.exe"
[ -f "$SETUP" ] || fail "no installer at $SETUP"
KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Qorvic'
DATA="$WORK/appdata/Qorvic"

install_silently() {
    timeout 120 wine "$SETUP" /S >"$WORK/setup.log" 2>&1 || fail "the silent install failed: $(cat "$WORK/setup.log")"
}
# A value of the uninstall entry, or nothing when the entry is missing.
entry() {
    wine reg query "$KEY" /v "$1" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$1 *REG_[A-Z_]* *//p"
}
same() { cmp -s "$1" "$2" || fail "$3"; }

install_silently
location=$(entry InstallLocation)
[ -n "$location" ] || fail "the install is not registered for uninstalling"
program=$(winepath -u "$location" 2>/dev/null)
case "$location" in *'\AppData\Local\Programs\Qorvic') ;; *) fail "installed under $location" ;; esac
[ "$(entry DisplayVersion)" = 1.10 ] || fail "registered version: $(entry DisplayVersion)"
same "$program/qorvic.exe" "$QORVIC_EXE" "the installed qorvic.exe is not the one built"
[ -f "$program/uninstall.exe" ] || fail "no uninstaller"
shortcut=$(find "$WINEPREFIX/drive_c/users" -name Qorvic.lnk -path '*Start Menu*' | head -1)
[ -n "$shortcut" ] || fail "no Start-menu shortcut"
strings -a -el "$shortcut" | grep -qF "$location\qorvic.exe" || fail "the shortcut does not start the installed qorvic.exe"
for file in "$QORVIC_SOURCE_DIR"/lang/*.Language; do
    same "$DATA/Languages/$(basename "$file")" "$file" "$(basename "$file") not installed in the data folder"
done
[ "$(find "$DATA/Languages" -type f | wc -l)" = 8 ] || fail "the Languages folder holds other files"
same "$DATA/i__view32.exe" "$QORVIC_BUILD_DIR/tools/converter/i__view32.exe" "the converter is not installed"
same "$DATA/ini/i_view32.ini" "$QORVIC_SOURCE_DIR/installer/i_view32.ini" "the converter's settings are not installed"
# Each installed program runs on a bare Windows: it may import only the
# system's own DLLs, nothing that would have to lie beside it.
for exe in "$program/qorvic.exe" "$DATA/i__view32.exe"; do
    for dll in $(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p'); do
        case ${dll,,} in
        kernel32.dll | user32.dll | gdi32.dll | msimg32.dll | msvcrt.dll | ole32.dll | oleaut32.dll | \
            oleacc.dll | shell32.dll | \
            shlwapi.dll | comdlg32.dll | comctl32.dll | wininet.dll | advapi32.dll | version.dll) ;;
        *) fail "$(basename "$exe") needs $dll, which Windows does not have" ;;
        esac
    done
done

# What the installed program does with its installed converter is the
# README's scripted session (test_run_demo.sh); here it only runs for the update.
QORVIC_EXE="$program/qorvic.exe"
start_pattern 0 0 800 600

# An older, damaged install: a changed language file, a missing converter,
# later a stale program; the user's own converter settings must survive. The
# program is running while the update comes: the installer closes it (the
# program then writes its settings) before it replaces the .exe.
printf '0\r\nEnglish\r\n' >"$DATA/Qorvic.cfg"
start_qorvic
# The scaling panel is open too (and its picture goes to the README).
frame_origin
open_menu
hover_row 4
xdotool click 1
[ "$(driver child-visible Qorvic QorvicScalePanel)" = visible ] || fail "the scaling panel did not open"
xdotool mousemove 700 500
sleep 0.3
rect=$(window_rect Qorvic)
screenshot "$WORK/shot.png"
convert "$WORK/shot.png" -crop "$(field "$rect" 4)x$(field "$rect" 5)+$(field "$rect" 2)+$(field "$rect" 3)" +repage \
    "$WORK/scaling.png"
rm "$DATA/Qorvic.cfg" # written again only if the program ends the way it should
printf 'old' >"$DATA/Languages/Qorvic_French.Language"
rm "$DATA/i__view32.exe"
printf '[PNG]\r\nLevel=9\r\n' >"$DATA/ini/i_view32.ini"
install_silently
[ "$(driver gone Qorvic)" = gone ] || fail "the running Qorvic was not closed for the update"
wait "$QORVIC_PID" 2>/dev/null || true
grep -q $'^English\r$' "$DATA/Qorvic.cfg" || fail "the program closed for the update did not write its settings"
same "$program/qorvic.exe" "$QORVIC_BUILD_DIR/src/qorvic.exe" "installing again did not update qorvic.exe"
printf 'old' >"$program/qorvic.exe"
install_silently
same "$program/qorvic.exe" "$QORVIC_BUILD_DIR/src/qorvic.exe" "installing again did not replace an older qorvic.exe"
same "$DATA/Languages/Qorvic_French.Language" "$QORVIC_SOURCE_DIR/lang/Qorvic_French.Language" \
    "installing again did not update the language files"
same "$DATA/i__view32.exe" "$QORVIC_BUILD_DIR/tools/converter/i__view32.exe" "installing again did not restore the converter"
[ "$(tr -d '\r' <"$DATA/ini/i_view32.ini")" = $'[PNG]\nLevel=9' ] || fail "installing again replaced the user's converter settings"
[ "$(entry InstallLocation)" = "$location" ] || fail "the update registered another place: $(entry InstallLocation)"

# A language the user added and the settings file stay; everything installed goes.
cp "$DATA/Qorvic.cfg" "$WORK/cfg.kept"
printf 'mine' >"$DATA/Languages/Qorvic_Klingon.Language"
printf 'BM' >"$DATA/Temp.bmp"
timeout 60 wine "$program/uninstall.exe" /S >"$WORK/uninstall.log" 2>&1 || fail "the uninstaller failed to start"
# The silent uninstaller runs from a copy of itself: wait for its work to show.
deadline=$((SECONDS + 60))
while [ -e "$program/uninstall.exe" ] || [ -n "$(entry InstallLocation)" ]; do
    [ $SECONDS -lt $deadline ] || fail "the uninstaller did not finish within 60 s"
    sleep 0.2
done
[ ! -e "$program" ] || fail "the program folder is still there: $(ls -A "$program")"
[ ! -e "$shortcut" ] || fail "the Start-menu shortcut is still there"
for file in "$QORVIC_SOURCE_DIR"/lang/*.Language; do
    [ ! -e "$DATA/Languages/$(basename "$file")" ] || fail "$(basename "$file") was not removed"
done
[ -f "$DATA/Languages/Qorvic_Klingon.Language" ] || fail "the uninstaller removed a language file the user added"
[ ! -e "$DATA/i__view32.exe" ] || fail "the converter was not removed"
[ ! -e "$DATA/ini" ] || fail "the converter's settings folder was not removed"
[ ! -e "$DATA/Temp.bmp" ] || fail "the temporary bitmap was not removed"
same "$DATA/Qorvic.cfg" "$WORK/cfg.kept" "the uninstaller did not keep Qorvic.cfg as it was"
echo "PASS"
