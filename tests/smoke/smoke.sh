#!/usr/bin/env bash
# Starts the real program on a virtual X server in a folder holding a video, checks that a
# window titled "Velmora" shows with a client area of 657 x 393 pixels, closes it as a
# window manager would, and checks that the program ends cleanly.
# Usage: smoke.sh <path to velmora>. Needs xvfb-run, xdotool, xwininfo and python3.
set -euo pipefail

program="$(realpath "${1:?usage: $0 <path to velmora>}")"
here="$(dirname "$(realpath "$0")")"
export program here

exec xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    set -euo pipefail
    folder="$(mktemp -d)"
    trap "rm -rf \"$folder\"" EXIT
    cd "$folder"
    : > clip.MP4

    "$program" &
    pid=$!
    fail() {
        echo "smoke: $*" >&2
        kill "$pid" 2>/dev/null || true
        exit 1
    }

    window="$(timeout 20 xdotool search --sync --name "^Velmora\$" | head -n 1)" || true
    [ -n "$window" ] || fail "no window titled Velmora appeared"

    size="$(xwininfo -id "$window" | awk "/Width:/ {w = \$2} /Height:/ {h = \$2} END {print w \"x\" h}")"
    [ "$size" = "657x393" ] || fail "client area is $size, expected 657x393"

    python3 "$here/close_window.py" "$window"
    for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && fail "still running 10 s after its window was closed"
    status=0
    wait "$pid" || status=$?
    [ "$status" -eq 0 ] || fail "exit code $status"
    echo "smoke: window $size, closed cleanly"
'
