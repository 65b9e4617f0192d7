#!/usr/bin/env bash
# Shows Velmora under Xvfb in a folder holding a few videos and saves its window as a PNG.
# Usage: scripts/screenshot.sh <path to velmora> [output, default docs/screenshot-linux.png]
# Needs xvfb-run, xdotool and ImageMagick's import.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
program="$(realpath "${1:?usage: $0 <path to velmora> [output.png]}")"
output="$(realpath -m "${2:-$repo/docs/screenshot-linux.png}")"

folder="$(mktemp -d)"
trap 'rm -rf "$folder"' EXIT
for name in "Big Buck Bunny.MP4" "Cosmos Laundromat.MP4" "Holiday 2023.mp4" "Sintel.MP4" \
    "Tears of Steel.MP4"; do
    truncate -s 24M "$folder/$name"
done

export program output folder
xvfb-run -a -s "-noreset -screen 0 1024x768x24" bash -c '
    set -euo pipefail
    cd "$folder"
    "$program" &
    pid=$!
    window="$(xdotool search --sync --name "^Velmora$" | head -n 1)"
    sleep 1  # let the first paint finish
    eval "$(xdotool getwindowgeometry --shell "$window")"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$output"
    kill "$pid"
    wait "$pid" || true
'
echo "Saved $output"
