#!/usr/bin/env bash
# CTest's cross-compiling emulator: runs a Windows test .exe under Wine inside
# the build tree's private session (started on first use, ended by the test command).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../scripts/wine-session.sh"
exe=$1
shift
root=${QORVIC_WINE_ROOT:-$(cd "$(dirname "$exe")" && while [ ! -f CMakeCache.txt ] && [ "$PWD" != / ]; do cd ..; done; pwd)/wine}
wine_session_up "$root"
exec wine "$exe" "$@"
