#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and any named as
# arguments (a benchmark's own tools), when any is missing.
set -euo pipefail

packages=(
    cmake ninja-build g++ clang libclang-rt-14-dev clang-format
    libgtest-dev googletest zlib1g-dev libx11-dev
    g++-mingw-w64-x86-64-posix libz-mingw-w64-dev
    wine wine64 fonts-wine fonts-liberation fonts-droid-fallback
    xvfb xauth xdotool x11-xserver-utils xclip x11-utils imagemagick
    libopenjp2-tools python3 nsis
    "$@"
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
