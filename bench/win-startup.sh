#!/usr/bin/env bash
# Start-up of Velmora.exe under Wine in Xvfb: the time from its start to its first shown
# window, against a bare program that only shows an empty window (same Wine, same run), and
# the size of the executable. Needs the cross build (scripts/test-windows.sh).
# Usage: bench/win-startup.sh [BUILD-FOLDER] [RUNS]   (defaults: build/mingw, 7)
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(realpath "${1:-$repo/build/mingw}")"
runs="${2:-7}"
program="$build/src/frontend/win32/Velmora.exe"
scratch="$(mktemp -d /tmp/velmora-bench.XXXXXX)"
xvfb_pid=""
cleanup() {
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT

x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -municode -static \
    "$repo/bench/win32/startup-timer.cpp" -o "$scratch/startup-timer.exe"
source "$repo/scripts/wine-env.sh" "$build/wine-prefix"

start_xvfb

timer="$(windows_path "$scratch/startup-timer.exe")"
median() { awk '/^median/ {print $2}'; }
# One untimed start each, so that neither pays for loading Wine's libraries the first time.
wine "$scratch/startup-timer.exe" 1 "$(windows_path "$program")" >/dev/null
wine "$scratch/startup-timer.exe" 1 "$timer" --bare-window >/dev/null

echo "Velmora.exe, start to first shown window:"
velmora="$(wine "$scratch/startup-timer.exe" "$runs" "$(windows_path "$program")" | tee /dev/stderr | median)"
echo "A bare window (the reference: Wine's own cost of starting a program with a window):"
bare="$(wine "$scratch/startup-timer.exe" "$runs" "$timer" --bare-window | tee /dev/stderr | median)"
echo "start-up: Velmora.exe ${velmora} ms, bare window ${bare} ms, ratio $(awk -v a="$velmora" -v b="$bare" 'BEGIN { printf "%.2f", a / b }')"
echo "Velmora.exe size: $(stat -c %s "$program") bytes, DLLs it needs: $(x86_64-w64-mingw32-objdump -p "$program" | awk '/DLL Name/ {print $3}' | tr '\n' ' ')"
