#!/usr/bin/env bash
# Runs velmora_ui_driver.exe on Velmora.exe under Wine in Xvfb, in a Wine prefix of its own
# where drive P: is a stand-in stick (a folder labelled PSPSTICK) and, as root, Q: one that
# fills up (a 3.5 MB tmpfs, same label). Exits 77 (skipped) without Xvfb.
# Usage: run-ui-test.sh DRIVER.exe VELMORA.exe [HOLD-FILE]   (HOLD-FILE: see UiDriver.cpp)
set -euo pipefail
driver="$(realpath "$1")" program="$(realpath "$2")" hold="${3:-}"
scripts="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../../scripts" && pwd)"
command -v Xvfb >/dev/null || { echo "Xvfb is not installed: UI test skipped"; exit 77; }
build="$(dirname "$driver")"
while [ "$build" != / ] && [ ! -f "$build/CMakeCache.txt" ]; do build="$(dirname "$build")"; done
source "$scripts/wine-env.sh" "$build/wine-prefix-ui"

scratch="$(mktemp -d /tmp/velmora-ui.XXXXXX)" xvfb_pid=""
cleanup() {
    wineserver -k 2>/dev/null || true
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
    rm -f "$WINEPREFIX/dosdevices/p:" "$WINEPREFIX/dosdevices/q:"
    umount "$scratch/full" 2>/dev/null || true
    rm -rf "$scratch" "$WINEPREFIX"/drive_c/users/*/Temp/velmora-ui-*
}
trap cleanup EXIT
wineserver -k 2>/dev/null || true # a fresh server reads the drive letters anew
mkdir "$scratch/stick" "$scratch/full"
echo PSPSTICK >"$scratch/stick/.windows-label"
ln -sfn "$scratch/stick" "$WINEPREFIX/dosdevices/p:"
args=(p)
if [ "$(id -u)" -eq 0 ] && mount -t tmpfs -o size=3584k velmora-ui-full "$scratch/full" 2>/dev/null; then
    echo PSPSTICK >"$scratch/full/.windows-label"
    ln -sfn "$scratch/full" "$WINEPREFIX/dosdevices/q:"
    args+=(q)
else
    echo "not root or no tmpfs: the copy onto a full stick is left out"
fi
start_xvfb
[ -z "$hold" ] || { echo "$DISPLAY" >"$hold.display"; args+=(--hold "$(windows_path "$hold")"); }
wine "$driver" "$(windows_path "$program")" "${args[@]}"
