#!/usr/bin/env bash
# The real program on a virtual X server copies two of three videos, picked by Ctrl-C and Yes,
# onto a stick under /media, picked by its drive entry whatever else is mounted; the stick
# must then hold exactly their MAQ copies and thumbnails, byte for byte. The stick is a tmpfs,
# or with VELMORA_E2E_STICK=fat a FAT image mounted as a desktop's automounter mounts it (the
# kernel needs the vfat driver: velmora_copy_e2e_fat runs this in User-Mode Linux).
# Usage: copy_e2e.sh <path to velmora>. Exits 77 (skipped) without root, xvfb-run or xdotool.
set -euo pipefail
program="$(realpath "${1:?usage: $0 <path to velmora>}")"
here="$(dirname "$(realpath "$0")")"
if [ -z "${VELMORA_E2E_DISPLAY:-}" ]; then
    [ "$(id -u)" -eq 0 ] || { echo "copy_e2e: skipped: mounting needs root"; exit 77; }
    for tool in xvfb-run xdotool python3; do
        command -v "$tool" >/dev/null || { echo "copy_e2e: skipped: no $tool"; exit 77; }
    done
    VELMORA_E2E_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$program"
fi

mkdir -p /media
stick="$(mktemp -d /media/velmora-e2e-XXXXXX)"
source="$(mktemp -d)"
pid=""
cleanup() {
    [ -z "$pid" ] || kill "$pid" 2>/dev/null || true
    umount -l "$stick" 2>/dev/null && rmdir "$stick" || true
    rm -rf "$source" "$stick.img"
}
trap cleanup EXIT
fail() { echo "copy_e2e: $*" >&2; exit 1; }

if [ "${VELMORA_E2E_STICK:-}" = fat ]; then
    mkfs.fat -C "$stick.img" 32768 >/dev/null
    mount -o loop,uid="$(id -u)",gid="$(id -g)",shortname=mixed,utf8,showexec,flush \
        "$stick.img" "$stick"
else
    mount -t tmpfs -o size=32m,mode=0755 velmora-e2e "$stick"
fi
videos="$stick/MP_ROOT/100ANV01"
mkdir -p "$videos"
for file in alpha.MP4:2500000 beta.MP4:3500000 gamma.MP4:1500000 alpha.THM:7000 beta.THM:9000; do
    head -c "${file#*:}" /dev/urandom >"$source/${file%:*}"
done
cd "$source"
"$program" &
pid=$!
# A first start in User-Mode Linux reads the program's libraries slowly.
window="$(timeout 60 xdotool search --sync --name '^Velmora$' | head -n 1)" || true
[ -n "$window" ] || fail "no window titled Velmora appeared"
# A click at a control's place in twips (15 a pixel) inside its frame. drivePSP lies at
# (120, 240) in framePSP at (5640, 120): the click opens its list, where typing the entry's
# text finds it and Enter picks it. Then listSource at (120, 720) in frameSource at (120, 120):
# its first name, Shift-Down for the second, Ctrl-C, and Enter for Yes.
click_at() {
    xdotool mousemove --window "$window" $(($1 / 15)) $(($2 / 15)) click 1
    sleep 0.5
}
click_at $((5640 + 120 + 200)) $((120 + 240 + 150))
xdotool type --delay 50 "$stick"
xdotool key Return
sleep 1
click_at $((120 + 120 + 600)) $((120 + 720 + 120))
xdotool key --window "$window" shift+Down ctrl+c
timeout 20 xdotool search --sync --name '^Confirm Copy$' >/dev/null || fail "Ctrl-C asked no question"
sleep 0.5
xdotool key Return
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
[ "$(find "$videos" -mindepth 1 | wc -l)" -eq 4 ] || fail "the stick holds more than the copies"
python3 "$here/../smoke/close_window.py" "$window"
timeout 10 tail --pid="$pid" -f /dev/null || fail "still running 10 s after its window was closed"
wait "$pid" || fail "the program ended with an error"
pid=""
echo "copy_e2e: two videos and their thumbnails copied intact onto $(stat -f -c %T "$stick")"
