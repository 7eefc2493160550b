#!/usr/bin/env bash
# Builds everything and runs every test: the logic natively (sanitizers on),
# the fuzz targets for a bounded time each, then the Windows build under Wine
# in a private prefix and Xvfb display.
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-session.sh

scripts/deps.sh || { echo "could not install the packages the tests need"; exit 1; }

total_passed=0
total_failed=0
run_ctest() {
    local log
    log=$(mktemp)
    ctest --preset "$1" 2>&1 | tee "$log"
    local line
    line=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1)
    rm -f "$log"
    if [ -z "$line" ]; then
        total_failed=$((total_failed + 1))
        return
    fi
    local failed all
    failed=$(sed -E 's/.* ([0-9]+) tests? failed.*/\1/' <<<"$line")
    all=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
    total_passed=$((total_passed + all - failed))
    total_failed=$((total_failed + failed))
}

set -e
cmake --preset native
cmake --build --preset native
set +e
run_ctest native

# Every parser of outside input under libFuzzer for a bounded time (label "fuzz").
set -e
cmake --preset fuzz
cmake --build --preset fuzz
set +e
run_ctest fuzz

set -e
cmake --preset windows
cmake --build --preset windows
set +e
wine_root="$PWD/build/windows/wine"
wine_session_up "$wine_root"
trap 'wine_session_down "$wine_root"' EXIT
run_ctest windows

echo "${total_passed} passed, ${total_failed} failed"
[ "$total_failed" -eq 0 ]
