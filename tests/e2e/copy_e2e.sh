#!/usr/bin/env bash
# The real program on a virtual X server copies a big video onto a stick under /media, picked
# by its drive entry whatever else is mounted, and is killed mid-copy. Started again, it
# copies two other videos, picked by Ctrl-C and Yes; the stick must then hold exactly their MAQ
# copies and thumbnails, byte for byte, and nothing of the killed copy. The stick is an ext4
# image, or with VELMORA_E2E_STICK=fat a FAT image mounted as a desktop's automounter mounts it
# (the kernel needs the vfat driver: velmora_copy_e2e_fat runs this in User-Mode Linux).
# Usage: copy_e2e.sh <path to velmora>. Exits 77 (skipped) without root, xvfb-run or xdotool.
set -euo pipefail
program="$(realpath "${1:?usage: $0 <path to velmora>}")"
here="$(dirname "$(realpath "$0")")"
if [ -z "${VELMORA_E2E_DISPLAY:-}" ]; then
    [ "$(id -u)" -eq 0 ] || { echo "copy_e2e: skipped: mounting needs root"; exit 77; }
    for tool in xvfb-run xdotool python3; do
        command -v "$tool" >/dev/null || { echo "copy_e2e: skipped: no $tool"; exit 77; }
    done
    VELMORA_E2E_DISPLAY=1 exec xvfb-run -a -s "-noreset -screen 0 1024x768x24" "$0" "$program"
fi

mkdir -p /media
stick="$(mktemp -d /media/velmora-e2e-XXXXXX)"
source="$(mktemp -d)"
pid=""
device=""
cleanup() {
    [ -z "$pid" ] || kill "$pid" 2>/dev/null || true
    umount -l "$stick" 2>/dev/null && rmdir "$stick" || true
    [ -z "$device" ] || losetup -d "$device"
    rm -rf "$source" "$stick.img"
}
trap cleanup EXIT
fail() { echo "copy_e2e: $*" >&2; exit 1; }

if [ "${VELMORA_E2E_STICK:-}" = fat ]; then
    mkfs.fat -C "$stick.img" 65536 >/dev/null
    options=uid="$(id -u)",gid="$(id -g)",shortname=mixed,utf8,showexec,flush
else
    truncate -s 64M "$stick.img" && mkfs.ext4 -q "$stick.img"
    options=defaults
fi
device="$(losetup -f --show "$stick.img")"
mount -o "$options" "$device" "$stick"
throttle=/sys/fs/cgroup/blkio/blkio.throttle.write_bps_device
[ -w "$throttle" ] || { echo "copy_e2e: skipped: no blkio write throttle (cgroup v1)"; exit 77; }
videos="$stick/MP_ROOT/100ANV01"
mkdir -p "$videos"
for file in alpha.MP4:2500000 beta.MP4:3500000 gamma.MP4:30000000 alpha.THM:7000 beta.THM:9000; do
    head -c "${file#*:}" /dev/urandom >"$source/${file%:*}"
done
cd "$source"
click_at() {
    xdotool mousemove --window "$window" $(($1 / 15)) $(($2 / 15)) click 1
    sleep 0.5
}
# A click at a control's place in twips (15 a pixel) inside its frame. drivePSP lies at
# (120, 240) in framePSP at (5640, 120): the click opens its list, where typing the entry's
# text finds it and Enter picks it. Then listSource at (120, 720) in frameSource at (120, 120):
# its first name, the keys that select from there, Ctrl-C, and Enter for Yes. The first run
# copies the big third video, with the stick held to 4 MB a second, and is killed mid-copy.
for keys in "Down Down" shift+Down; do
    echo "$(stat -c %Hr:%Lr "$device") $([ "$keys" = shift+Down ] && echo 0 || echo 4000000)" \
        >"$throttle"
    "$program" &
    pid=$!
    # A first start in User-Mode Linux reads the program's libraries slowly.
    window="$(timeout 60 xdotool search --sync --name '^Velmora$' | head -n 1)" || true
    [ -n "$window" ] || fail "no window titled Velmora appeared"
    click_at $((5640 + 120 + 200)) $((120 + 240 + 150))
    xdotool type --delay 50 "$stick"
    xdotool key Return
    sleep 1
    click_at $((120 + 120 + 600)) $((120 + 720 + 120))
    xdotool key --window "$window" $keys ctrl+c
    timeout 20 xdotool search --sync --name '^Confirm Copy$' >/dev/null || fail "Ctrl-C asked no question"
    sleep 0.5
    xdotool key Return
    [ "$keys" != shift+Down ] || break
    for _ in $(seq 100); do
        [ -z "$(find "$videos" -name '.velmora-copy-*' -size +4M)" ] || break
        sleep 0.1
    done
    kill -KILL "$pid" && wait "$pid" || pid=""
    [ -n "$(find "$videos" -name '.velmora-copy-*')" ] || fail "the big video's copy was not cut off"
done
for _ in $(seq 100); do
    [ "$(find "$videos" -name 'MAQ*' | wc -l)" -ge 4 ] && break
    sleep 0.2
done

for pair in alpha:01 beta:02; do
    copy=$(find "$videos" -name "MAQ???${pair#*:}.MP4")
    [ -n "$copy" ] || fail "no MAQ copy of ${pair%:*}.MP4"
    cmp "$source/${pair%:*}.MP4" "$copy" && cmp "$source/${pair%:*}.THM" "${copy%.MP4}.THM" ||
        fail "the copy of ${pair%:*} differs"
done
[ "$(find "$videos" -mindepth 1 | wc -l)" -eq 4 ] || fail "the stick holds more: $(ls -A "$videos")"
python3 "$here/../smoke/close_window.py" "$window"
timeout 10 tail --pid="$pid" -f /dev/null || fail "still running 10 s after its window was closed"
wait "$pid" || fail "the program ended with an error"
pid=""
echo "copy_e2e: after a killed copy, two videos and thumbnails intact on $(stat -f -c %T "$stick")"
