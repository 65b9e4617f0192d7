#!/usr/bin/env bash
# Runs the UI test: velmora_ui_driver.exe drives Velmora.exe under Wine in a virtual X
# display, in a Wine prefix of its own where drive P: is a stand-in PSP stick (a temporary
# folder labelled PSPSTICK). Exits 77 (skipped) when there is no Xvfb.
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

# Wine shows Unix paths as drive Z:.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

scratch="$(mktemp -d /tmp/velmora-ui.XXXXXX)"
mkdir "$scratch/stick"
echo PSPSTICK >"$scratch/stick/.windows-label"
xvfb_pid=""
cleanup() {
    wineserver -k 2>/dev/null || true
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
    rm -f "$WINEPREFIX/dosdevices/p:"
    rm -rf "$scratch"
}
trap cleanup EXIT
# A fresh server reads the drive letters anew.
wineserver -k 2>/dev/null || true
ln -sfn "$scratch/stick" "$WINEPREFIX/dosdevices/p:"

display=99
while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.05; done
export DISPLAY=":$display"
# Whoever holds the test for a screenshot needs to know where to take it.
[ -z "$hold" ] || echo "$DISPLAY" >"$hold.display"

args=("$(windows_path "$program")" p PSPSTICK)
[ -z "$hold" ] || args+=("$(windows_path "$hold")")
wine "$driver" "${args[@]}"
