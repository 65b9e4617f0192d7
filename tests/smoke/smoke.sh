#!/usr/bin/env bash
# The program on a virtual X server shows "Velmora", 657 x 393 pixels; a click on the credit, and
# F1, open the help page beside it or in the share folder above; closed, it ends cleanly.
# Usage: smoke.sh <path to velmora>
set -euo pipefail
program="$(realpath "${1:?usage: $0 <path to velmora>}")"
here="$(dirname "$(realpath "$0")")"
[ -n "${VELMORA_SMOKE_DISPLAY:-}" ] ||  # this script again, on a virtual X server of its own
    VELMORA_SMOKE_DISPLAY=1 exec xvfb-run -a -s "-noreset -screen 0 1024x768x24" "$0" "$program"
folder="$(mktemp -d)" && cd "$folder" && trap 'rm -rf "$folder"' EXIT
: > clip.MP4
# Stands in for the desktop's opener: writes down what it was asked to open.
mkdir bin && printf "#!/bin/sh\necho \"\$1\" > %s/opened\n" "$folder" > bin/xdg-open
chmod +x bin/xdg-open
PATH="$folder/bin:$PATH" "$program" & pid=$!
fail() { echo "smoke: $*" >&2; kill "$pid" 2>/dev/null || true; exit 1; }

window="$(timeout 20 xdotool search --sync --name "^Velmora$" | head -n 1)" || true
[ -n "$window" ] || fail "no window titled Velmora appeared"
size="$(xwininfo -id "$window" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w "x" h}')"
[ "$size" = "657x393" ] || fail "client area is $size, expected 657x393"

# The credit lies at (4320, 5280), 1215 x 495 twips: a click on its middle, and F1 where the
# focus starts (not sent to a window: a synthetic key's release stays held), open the help page.
bin="file://$(dirname "$program")"
for way in "mousemove --window $window 328 368 click 1" "key F1"; do
    rm -f opened
    # shellcheck disable=SC2086 # the way is xdotool's words
    xdotool $way
    for _ in $(seq 50); do [ -s opened ] && break; sleep 0.1; done
    page="$(cat opened 2>/dev/null)" || fail "$way opened nothing"
    [[ "$page" == "$bin/about.html" || "$page" == "${bin%/*}/share/velmora/about.html" ]] ||
        fail "$way opened $page, not the help page of $program"
    [ -f "${page#file://}" ] || fail "$page does not exist"
done

python3 "$here/close_window.py" "$window"
timeout 10 tail --pid="$pid" -f /dev/null || fail "still running 10 s after its window was closed"
wait "$pid" || fail "exit code $?"
echo "smoke: window $size, help page $page, closed cleanly"
