#!/usr/bin/env bash
# Faults that cannot be made from inside Wine: a read-only data folder, a
# read-only target folder and a full disk. This script prepares each condition
# and runs the in-process fault tests that need it.
# A run that was killed may have left its read-only folders behind.
chattr -R -i "${QORVIC_BUILD_DIR:?}/e2e/$(basename "$0" .sh)" 2>/dev/null || true
source "$(dirname "$0")/lib.sh"

WIN_TESTS="$QORVIC_BUILD_DIR/tests/win/qorvic_win_tests.exe"
UNWRITABLE=()

# Root ignores permission bits, so the immutable flag is tried first.
make_unwritable() {
    chattr +i "$1" 2>/dev/null || chmod a-w "$1"
    UNWRITABLE+=("$1")
    if touch "$1/.probe" 2>/dev/null; then
        rm -f "$1/.probe"
        fail "cannot make $1 read-only on this machine"
    fi
}
restore_writable() {
    for folder in "${UNWRITABLE[@]}"; do
        chattr -i "$folder" 2>/dev/null || true
        chmod u+w "$folder" 2>/dev/null || true
    done
}
trap 'restore_writable; cleanup' EXIT

# Runs the in-process tests matching $1; each must run, none may skip.
run_win_tests() {
    local log="$WORK/$2.log"
    timeout 600 wine "$WIN_TESTS" --gtest_filter="$1" >"$log" 2>&1 || {
        cat "$log"
        fail "$2: the in-process tests failed"
    }
    tr -d '\r' <"$log" | grep -q '^\[  SKIPPED \]' && {
        cat "$log"
        fail "$2: a test skipped although its condition was prepared"
    }
    tr -d '\r' <"$log" | grep -E '^\[  PASSED  \] [1-9]' || fail "$2: no test ran"
}

# Read-only data folder holding the settings "255, German"; read-only desktop.
mkdir -p "$WORK/ro_appdata/Qorvic" "$WORK/ro_desktop"
printf '255\r\nGerman\r\n' >"$WORK/ro_appdata/Qorvic/Qorvic.cfg"
make_unwritable "$WORK/ro_appdata/Qorvic"
make_unwritable "$WORK/ro_desktop"
export QORVIC_TEST_READONLY_APPDATA="$WORK/ro_appdata" QORVIC_TEST_READONLY_DESKTOP="$WORK/ro_desktop"
run_win_tests 'FaultReadOnly*' read_only
unset QORVIC_TEST_READONLY_APPDATA QORVIC_TEST_READONLY_DESKTOP

# A full disk: no file this process writes may grow beyond 64 KB. The signal a
# process gets for writing past the limit is ignored, so the write just fails.
(
    ulimit -f 64
    trap '' XFSZ
    export QORVIC_TEST_FILE_LIMIT=65536
    run_win_tests 'FaultDiskFull*' disk_full
) || exit 1

echo "PASS"
