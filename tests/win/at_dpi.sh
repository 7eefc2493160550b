#!/usr/bin/env bash
# Runs a Windows test program once for each display scale given, in a Wine
# session of its own: the scale is read when Wine's desktop starts, so each
# one needs a fresh wineserver.
# Usage: at_dpi.sh "120 144 192" program.exe [arguments...]
set -euo pipefail
dpis=$1
exe=$2
shift 2
source "$QORVIC_SOURCE_DIR/scripts/wine-session.sh"
root="$QORVIC_BUILD_DIR/wine-win-dpi"
wine_session_up "$root"
trap 'wine_session_down "$root"' EXIT
status=0
for dpi in $dpis; do
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    wineserver -p 2>/dev/null || true
    echo "== at $dpi DPI"
    wine "$exe" "$@" || status=1
done
exit $status
