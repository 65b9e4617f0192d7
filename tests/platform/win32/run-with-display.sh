#!/usr/bin/env bash
# Runs a Windows test program under Wine on a display of its own (Xvfb), for the tests that
# need real windows: without a display Wine makes none. Exits 77 (skipped) without Xvfb.
# Usage: run-with-display.sh PROGRAM.exe [ARGS...]
set -euo pipefail
scripts="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../../scripts" && pwd)"
command -v Xvfb >/dev/null || { echo "Xvfb is not installed: skipped"; exit 77; }
build="$(dirname "$(realpath "$1")")"
while [ "$build" != / ] && [ ! -f "$build/CMakeCache.txt" ]; do build="$(dirname "$build")"; done
source "$scripts/wine-env.sh" "$build/wine-prefix"
xvfb_pid=""
trap '[ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true' EXIT
start_xvfb
wine "$@"
