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

"$(dirname "${BASH_SOURCE[0]}")/apt-install-missing.sh" "${packages[@]}"
