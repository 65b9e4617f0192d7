#!/usr/bin/env bash
# Runs a Windows program under Wine in Velmora's own prefix; CTest's emulator for the cross
# build. The prefix is "wine-prefix" in the build folder that holds the program (the folder
# with CMakeCache.txt), or $VELMORA_WINEPREFIX when that is set. With VELMORA_DISPLAY=xvfb
# the program gets a display of its own, for tests that need real windows: without one, Wine
# makes none.
# Usage: wine-run.sh PROGRAM.exe [ARGS...]
set -euo pipefail
if [ $# -lt 1 ]; then
    echo "usage: $0 PROGRAM.exe [ARGS...]" >&2
    exit 2
fi
prefix="${VELMORA_WINEPREFIX:-}"
if [ -z "$prefix" ]; then
    folder="$(cd "$(dirname "$1")" && pwd)"
    while [ "$folder" != / ] && [ ! -f "$folder/CMakeCache.txt" ]; do
        folder="$(dirname "$folder")"
    done
    if [ "$folder" = / ]; then
        echo "$0: $1 is not in a build folder; set VELMORA_WINEPREFIX" >&2
        exit 2
    fi
    prefix="$folder/wine-prefix"
fi
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh" "$prefix"
if [ "${VELMORA_DISPLAY:-}" != xvfb ]; then
    exec wine "$@"
fi
xvfb_pid=""
trap '[ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true' EXIT
start_xvfb
wineserver -k 2>/dev/null || true  # Wine's desktop takes the display its server starts with
wine "$@"
