#!/usr/bin/env bash
# The Windows program's copies onto a stick that writes 1 MB/s, under Wine in Xvfb: the
# longest time its window goes without answering a message (copy_gap_bench.exe). The stick is
# an ext4 image on a loop device whose writes cgroup v1's blkio controller holds to
# 1,000,000 bytes a second, so it needs root. The rounds, of the program's own copy unless said:
#   written through: mounted with -o sync, so every write waits for the device, as on a stick
#                    that Windows writes without a cache (its default for removable drives);
#   the shell's copy, written through;
#   cached:          mounted as usual: the writes wait as the page cache lets them, and the
#                    final flush for what the cache still holds;
#   Cancel in flush: as cached, with Cancel pressed once every byte is written, during the flush.
# Usage: bench/win-copy-gap.sh [BUILD-FOLDER] [MEGABYTES]   (defaults: build/mingw-bench, 12)
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(realpath "${1:-$repo/build/mingw-bench}")"
megabytes="${2:-12}"
bench="$build/bench/copy_gap_bench.exe"
throttle=/sys/fs/cgroup/blkio/blkio.throttle.write_bps_device
if [ "$(id -u)" -ne 0 ] || [ ! -w "$throttle" ]; then
    echo "$0: needs root and cgroup v1's blkio controller" >&2
    exit 77
fi

stick="$(mktemp -d /tmp/velmora-gap-stick.XXXXXX)"
device=""
xvfb_pid=""
# Holds the device's writes to a number of bytes a second; 0 lifts the limit.
limit_writes() {
    echo "$((0x$(stat -c %t "$device"))):$((0x$(stat -c %T "$device"))) $1" >"$throttle"
}
cleanup() {
    if [ -n "$device" ]; then
        limit_writes 0
        umount "$stick" 2>/dev/null || true
        losetup -d "$device"
    fi
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
    rmdir "$stick"
}
trap cleanup EXIT

truncate -s 256M "$stick.img"
mkfs.ext4 -q -F "$stick.img"
device="$(losetup -f --show "$stick.img")"
rm "$stick.img"
limit_writes 1000000

source "$repo/scripts/wine-env.sh" "$build/wine-prefix"
start_xvfb
wineserver -k 2>/dev/null || true # Wine's desktop takes the display its server starts with
target="$(windows_path "$stick")"

round() {
    echo "--- $1 ---"
    mount -o "$2" "$device" "$stick"
    wine "$bench" "$target" "$megabytes" "${@:3}"
    umount "$stick"
}
round "written through" sync
round "the shell's copy, written through" sync --by-shell
round "cached" defaults
round "Cancel in flush" defaults --cancel-in-flush
