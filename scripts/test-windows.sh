#!/usr/bin/env bash
# Installs what is missing, cross-builds Velmora.exe and every test program with MinGW-w64
# (warnings as errors), then runs them all under Wine through CTest, in a Wine prefix made
# fresh inside the build folder: the core tests, the Windows platform tests and the UI test
# that drives Velmora.exe in Xvfb.
# Usage: test-windows.sh [BUILD-FOLDER]   (default: build/mingw)
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$repo"
./scripts/install-win-deps.sh
build="$(realpath -m "${1:-build/mingw}")"

echo "=== mingw (Windows under Wine) ==="
cmake --preset mingw -B "$build" >/dev/null
cmake --build "$build" -j "$(nproc)"
# Made before the tests start, so that listing the tests doesn't wait for it.
rm -rf "$build"/wine-prefix "$build"/wine-prefix-ui* "$build/wine-prefix-windowed"
(source scripts/wine-env.sh "$build/wine-prefix")
ctest --test-dir "$build" --output-on-failure --timeout 300 -j "$(nproc)"
