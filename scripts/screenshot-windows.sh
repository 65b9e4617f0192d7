#!/usr/bin/env bash
# Takes docs/screenshot-windows.png: Velmora.exe under Wine in Xvfb, in the middle of the UI
# test (two videos copied to the stand-in stick, one selected on each side), with Wine's own
# Tahoma. Needs the cross build (scripts/test-windows.sh or cmake --preset mingw) and
# ImageMagick. Usage: screenshot-windows.sh [BUILD-FOLDER]   (default: build/mingw)
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(realpath "${1:-$repo/build/mingw}")"
output="$repo/docs/screenshot-windows.png"
hold="$(mktemp -u /tmp/velmora-shot.XXXXXX)"

"$repo/tests/frontend/win32/run-ui-test.sh" "$build/tests/frontend/win32/velmora_ui_driver.exe" \
    "$build/src/frontend/win32/Velmora.exe" "$hold" >/dev/null &
test_pid=$!
for _ in $(seq 1200); do [ -s "$hold.ready" ] && break; sleep 0.1; done
if [ ! -s "$hold.ready" ]; then
    echo "the window did not come up" >&2
    kill "$test_pid" 2>/dev/null || true
    exit 1
fi
sleep 1  # let the last paint land
read -r left top width height <"$hold.ready"
mkdir -p "$(dirname "$output")"
import -display "$(cat "$hold.display")" -window root -crop "${width}x${height}+${left}+${top}" +repage "$output"
touch "$hold"
wait "$test_pid" || true
rm -f "$hold" "$hold.ready" "$hold.display"
echo "Wrote $output"
