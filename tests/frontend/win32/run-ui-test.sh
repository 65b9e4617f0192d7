#!/usr/bin/env bash
# Runs the UI test: velmora_ui_driver.exe drives Velmora.exe under Wine in a virtual X
# display, in a Wine prefix of its own where drive P: is a stand-in PSP stick (a temporary
# folder labelled PSPSTICK) and, when run as root, drive Q: a small one that fills up (a
# tmpfs of 3.5 MB labelled FULLSTICK). Exits 77 (skipped) when there is no Xvfb.
# Usage: run-ui-test.sh DRIVER.exe VELMORA.exe [HOLD-FILE]
#   HOLD-FILE: stop before the deletion for a screenshot; see UiDriver.cpp.
set -euo pipefail
driver="$(realpath "$1")"
program="$(realpath "$2")"
hold="${3:-}"
scripts="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../../scripts" && pwd)"
command -v Xvfb >/dev/null || { echo "Xvfb is not installed: UI test skipped"; exit 77; }

build="$(dirname "$driver")"
while [ "$build" != / ] && [ ! -f "$build/CMakeCache.txt" ]; do build="$(dirname "$build")"; done
source "$scripts/wine-env.sh" "$build/wine-prefix-ui"

scratch="$(mktemp -d /tmp/velmora-ui.XXXXXX)"
mkdir "$scratch/stick"
echo PSPSTICK >"$scratch/stick/.windows-label"
xvfb_pid=""
cleanup() {
    wineserver -k 2>/dev/null || true
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
    rm -f "$WINEPREFIX/dosdevices/p:" "$WINEPREFIX/dosdevices/q:"
    umount "$scratch/full" 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT
# A fresh server reads the drive letters anew.
wineserver -k 2>/dev/null || true
ln -sfn "$scratch/stick" "$WINEPREFIX/dosdevices/p:"
args=(p PSPSTICK)
mkdir "$scratch/full"
if [ "$(id -u)" -eq 0 ] && mount -t tmpfs -o size=3584k velmora-ui-full "$scratch/full" 2>/dev/null; then
    echo FULLSTICK >"$scratch/full/.windows-label"
    ln -sfn "$scratch/full" "$WINEPREFIX/dosdevices/q:"
    args+=(--full-stick q FULLSTICK)
else
    echo "not root or no tmpfs: the copy onto a full stick is left out"
fi

start_xvfb
# Whoever holds the test for a screenshot needs to know where to take it.
[ -z "$hold" ] || echo "$DISPLAY" >"$hold.display"

[ -z "$hold" ] || args+=(--hold "$(windows_path "$hold")")
wine "$driver" "$(windows_path "$program")" "${args[@]}"
