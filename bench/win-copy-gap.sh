#!/usr/bin/env bash
# The Windows program's copies onto a slow stick, under Wine in Xvfb: the longest time its
# window goes without answering a message, and how often the progress bar moves
# (copy_gap_bench.exe). The stick is an ext4 image on a loop device whose writes cgroup v1's
# blkio controller holds to 1,000,000 bytes a second (15,000,000 for the shell's large copy),
# so it needs root. The rounds, of the program's own copy unless said:
#   written through: mounted with -o sync, so every write waits for the device, as on a stick
#                    that Windows writes without a cache (its default for removable drives);
#   Cancel midway:   as written through, with Cancel pressed once a tenth is written;
#   the shell's copy, written through;
#   from a deep folder: as written through, the video 32 folders deep, onto the stick's top;
#   cached:          mounted as usual: the writes wait as the page cache lets them, and the
#                    final flush for what the cache still holds;
#   Cancel in flush: as cached, with Cancel pressed once every byte is written, during the flush;
#   the shell's copy of LARGE MiB at 15 MB/s, cached: the final flush takes many seconds;
#   Cancel of a copy hung mid-video: 32 MiB from a deep folder onto a FUSE stick answering
#                    each request 0.03 s late (our tests/e2e/slow_fuse.c, as drive w:), its
#                    server stopped once 6 MiB are on it, Cancel half a second later (needs
#                    libfuse's headers; left out without);
#   the waits on a stick that stopped answering (an exFAT stick through FUSE whose server is
#   stopped, as drives s: to v:): a click's, Backspace's and Copy's calls, and a copy onto it,
#   each cancelled in the window that shows (needs mount.exfat-fuse; left out without).
# Each round also reports the longest wait of another process for an answer (window_pinger),
# both raw and less the stalls of Wine's own server.
# With VELMORA_WINE_MANAGED=Y, in a prefix of its own whose windows wait for a window manager,
# as a user's own prefix does (there is none under Xvfb: see scripts/wine-env.sh).
# Usage: bench/win-copy-gap.sh [BUILD-FOLDER] [MEGABYTES] [LARGE]
#        (defaults: build/mingw-bench, 12, 256)
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(realpath "${1:-$repo/build/mingw-bench}")"
megabytes="${2:-12}"
large="${3:-256}"
bench="$build/bench/copy_gap_bench.exe"
throttle=/sys/fs/cgroup/blkio/blkio.throttle.write_bps_device
if [ "$(id -u)" -ne 0 ] || [ ! -w "$throttle" ]; then
    echo "$0: needs root and cgroup v1's blkio controller" >&2
    exit 77
fi

stick="$(mktemp -d /tmp/velmora-gap-stick.XXXXXX)"
device=""
xvfb_pid=""
hung="" hung_device="" hung_server="" slow="" slow_server=""
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
    if [ -n "$hung_server" ]; then
        kill -CONT "$hung_server" && umount "$hung" || kill "$hung_server" || true
        wait "$hung_server" || true
    fi
    [ -z "$hung_device" ] || losetup -d "$hung_device"
    if [ -n "$slow_server" ]; then
        kill -CONT "$slow_server" && fusermount -u "$slow/stick" || kill "$slow_server" || true
    fi
    [ -z "$slow" ] || rm -rf "$slow"
    [ -z "$hung" ] || rm -rf "$hung" "$hung".*
    for letter in s t u v w; do rm -f "$WINEPREFIX/dosdevices/$letter:"; done
}
trap cleanup EXIT

truncate -s "$((large + 256))M" "$stick.img"
mkfs.ext4 -q -F "$stick.img"
device="$(losetup -f --show "$stick.img")"
rm "$stick.img"

source "$repo/scripts/wine-env.sh" "$build/wine-prefix${VELMORA_WINE_MANAGED:+-managed}"
# The stick that stops answering, known to Wine as four drives before its server starts.
if command -v mount.exfat-fuse >/dev/null && [ -c /dev/fuse ]; then
    hung="$(mktemp -d /tmp/velmora-gap-hung.XXXXXX)"
    truncate -s 64M "$hung.img" && mkfs.exfat "$hung.img" >/dev/null
    hung_device="$(losetup -f --show "$hung.img")"
    mount.exfat-fuse -d "$hung_device" "$hung" >/dev/null 2>&1 &
    hung_server=$!
    timeout 10 sh -c "until mountpoint -q '$hung'; do sleep 0.1; done"
    head -c 100000 /dev/urandom >"$hung/MAQ12301.MP4"
    for letter in s t u v; do ln -sfn "$hung" "$WINEPREFIX/dosdevices/$letter:"; done
fi
# The stick that answers slowly, then not at all, as drive w:.
if [ -c /dev/fuse ] && pkg-config --exists fuse; then
    slow="$(mktemp -d /tmp/velmora-gap-slow.XXXXXX)"
    mkdir "$slow/data" "$slow/stick"
    # shellcheck disable=SC2046 # pkg-config's flags are words
    cc -O2 -o "$slow/slow_fuse" "$repo/tests/e2e/slow_fuse.c" $(pkg-config --cflags --libs fuse)
    "$slow/slow_fuse" "$slow/data" "$slow/stick" 0.03 -o big_writes >/dev/null 2>&1 &
    slow_server=$!
    timeout 10 sh -c "until mountpoint -q '$slow/stick'; do sleep 0.1; done"
    ln -sfn "$slow/stick" "$WINEPREFIX/dosdevices/w:"
fi
start_xvfb
wineserver -k 2>/dev/null || true # Wine's desktop takes the display its server starts with
target="$(windows_path "$stick")"

# Usage: round TITLE MOUNT-OPTIONS BYTES-A-SECOND MEGABYTES [ROUND]
round() {
    echo "--- $1 ---"
    limit_writes "$3"
    mount -o "$2" "$device" "$stick"
    wine "$bench" "$target" "$4" "${@:5}"
    umount "$stick"
}
round "written through" sync 1000000 "$megabytes"
round "Cancel midway" sync 1000000 "$megabytes" --cancel-midway
round "the shell's copy, written through" sync 1000000 "$megabytes" --by-shell
round "from a deep folder" sync 1000000 6 --deep-source
round "cached" defaults 1000000 "$megabytes"
round "Cancel in flush" defaults 1000000 "$megabytes" --cancel-in-flush
round "the shell's copy of $large MiB at 15 MB/s, cached" defaults 15000000 "$large" --by-shell
if [ -n "$slow" ]; then
    echo "--- Cancel of a copy hung mid-video ---"
    wine "$bench" 'w:' 32 --cancel-hung "$(windows_path "$slow/ready")" &
    copy=$!
    timeout 300 sh -c "until [ -e '$slow/ready' ]; do sleep 0.02; done"
    kill -STOP "$slow_server"
    touch "$slow/ready.go"
    timeout 120 sh -c "until [ -e '$slow/ready.done' ]; do sleep 0.1; done"
    kill -CONT "$slow_server"
    wait "$copy"
fi
if [ -n "$hung" ]; then
    echo "--- waits on a stick that stopped answering ---"
    wine "$bench" "$(windows_path "$hung.ready")" --hung-drive &
    waits=$!
    timeout 60 sh -c "until [ -e '$hung.ready' ]; do sleep 0.1; done"
    kill -STOP "$hung_server"
    touch "$hung.ready.go"
    wait "$waits"
fi
