#!/usr/bin/env bash
# The copy to the PSP through the real program on a virtual X server: a small tmpfs mounted
# under /media stands in for the memory stick, so it shows in the drive list. The script picks
# it, selects two of three videos in the source list, presses Ctrl-C, answers Yes, and then
# checks that the stick holds MAQ copies of exactly those two videos and their thumbnails,
# byte for byte, and nothing half-written.
# Usage: copy_e2e.sh <path to velmora>. Needs root (to mount), xvfb-run, xdotool, python3.
# Exits 77 (skipped) when something it needs is missing.
set -euo pipefail

program="$(realpath "${1:?usage: $0 <path to velmora>}")"
here="$(dirname "$(realpath "$0")")"

skip() {
    echo "copy_e2e: skipped: $*"
    exit 77
}
[ "$(id -u)" -eq 0 ] || skip "mounting a stand-in stick needs root"
for tool in xvfb-run xdotool python3; do
    command -v "$tool" >/dev/null || skip "$tool is not installed"
done

export program here
exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$here/drive_copy.sh"
