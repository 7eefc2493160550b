#!/usr/bin/env bash
# The README's run command as a machine without a display runs it: it builds
# (nothing left to do here), installs into its own prefix and plays the scripted
# session, which passes only when the quick-saved picture is right.
set -euo pipefail
: "${QORVIC_BUILD_DIR:?}" "${QORVIC_SOURCE_DIR:?}"
log="$QORVIC_BUILD_DIR/e2e/run-demo.log"
mkdir -p "$(dirname "$log")"
status=0
env -u DISPLAY QORVIC_BUILD_DIR="$QORVIC_BUILD_DIR" timeout 600 "$QORVIC_SOURCE_DIR/scripts/run.sh" >"$log" 2>&1 ||
    status=$?
cat "$log"
[ "$status" = 0 ] || { echo "FAIL: scripts/run.sh exited with $status"; exit 1; }
saved=$(sed -n 's/^run.sh: saved picture: \(.*\) ([0-9]* x [0-9]*)$/\1/p' "$log")
shot=$(sed -n 's/^run.sh: screenshot: //p' "$log")
[ -f "$saved" ] || { echo "FAIL: the saved picture it names does not exist: '$saved'"; exit 1; }
[ -f "$shot" ] || { echo "FAIL: the screenshot it names does not exist: '$shot'"; exit 1; }
echo "PASS"
