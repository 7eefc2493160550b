#!/usr/bin/env bash
# Start-up time and idle memory of Qorvic against a bare Win32 window, under
# the same Wine session, for bench/results.md.
#
#   bench/run_startup_bench.sh WINDOWS_BUILD [ROUNDS] [IDLE_MS] [CAPTURES]
#
# WINDOWS_BUILD is a tree of the "windows" preset; the script builds what it
# needs. Each round starts the bare window, qorvic.exe and the probe copy of
# the program (which also reports its entry and first-paint times) one after
# another; ROUNDS (default 5) rounds. Each program gets the shipped language
# files and a settings file with a translated language, as a user's would be.
# IDLE_MS (default 3000) is how long each idles before its working set is read.
# Then the soak test runs CAPTURES captures (default 500) and prints its memory
# and object counts every 100.
# Not part of the test command: the numbers depend on the machine's load.
set -euo pipefail

win=$(cd "${1:?windows build tree}" && pwd)
rounds=${2:-5}
idle=${3:-3000}
captures=${4:-500}
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/wine-session.sh"

cmake --build "$win" -j2 --target qorvic bare_window startup_probe startup_bench qorvic_win_tests >/dev/null

# A session of its own: the user folders below must not touch the tests' prefix.
root="$win/bench-wine"
wine_session_up "$root"
trap 'wine_session_down "$root"' EXIT
data="$root/data"
rm -rf "$data"
mkdir -p "$data/appdata/Qorvic/Languages" "$data/desktop"
cp "$here"/lang/*.Language "$data/appdata/Qorvic/Languages/"
printf '%s\r\n%s\r\n' 0 German >"$data/appdata/Qorvic/Qorvic.cfg"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders'
wine reg add "$key" /v AppData /t REG_EXPAND_SZ /d "$(winepath -w "$data/appdata")" /f >/dev/null 2>&1
wine reg add "$key" /v Desktop /t REG_EXPAND_SZ /d "$(winepath -w "$data/desktop")" /f >/dev/null 2>&1

echo "load average at start: $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) cores, $(wine --version)"
timeout 600 wine "$win/bench/startup_bench.exe" "$rounds" "$idle" \
    "bare=$(winepath -w "$win/bench/bare_window.exe")" \
    "qorvic=$(winepath -w "$win/src/qorvic.exe")" \
    "probe=$(winepath -w "$win/bench/startup_probe.exe")" | tr -d '\r'
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
echo
QORVIC_SOAK_CAPTURES=$captures timeout 1800 wine "$win/tests/win/qorvic_win_tests.exe" \
    --gtest_filter=Soak.* | tr -d '\r' | grep -E "^soak|OK|FAILED"
echo "load average at end: $(cut -d' ' -f1-3 /proc/loadavg)"
