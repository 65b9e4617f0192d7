#!/usr/bin/env bash
# Installs, with apt-get, only the Debian packages that the Windows cross build and its
# tests need and that are missing: MinGW-w64 (the -posix compiler, for std::thread in
# GoogleTest), 64-bit Wine to run the tests, GoogleTest's sources, Xvfb for the UI test and
# ImageMagick for the screenshot. Safe to run again.
set -euo pipefail

packages=(
    cmake ninja-build
    g++-mingw-w64-x86-64-posix
    wine wine64
    googletest
    xvfb imagemagick
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
