#!/usr/bin/env bash
# The part of copy_e2e.sh that runs inside the virtual X server (see there).
set -euo pipefail

mkdir -p /media
stick="$(mktemp -d /media/velmora-e2e-XXXXXX)"
source="$(mktemp -d)"
pid=""
cleanup() {
    [ -z "$pid" ] || kill "$pid" 2>/dev/null || true
    umount -l "$stick" 2>/dev/null || true
    rmdir "$stick" 2>/dev/null || true
    rm -rf "$source"
}
trap cleanup EXIT
fail() {
    echo "copy_e2e: $*" >&2
    exit 1
}

mount -t tmpfs -o size=32m,mode=0755 velmora-e2e "$stick"
mkdir -p "$stick/MP_ROOT/100ANV01"
videos="$stick/MP_ROOT/100ANV01"
head -c 2500000 /dev/urandom >"$source/alpha.MP4"
head -c 3500000 /dev/urandom >"$source/beta.MP4"
head -c 1500000 /dev/urandom >"$source/gamma.MP4"
head -c 7000 /dev/urandom >"$source/alpha.THM"
head -c 9000 /dev/urandom >"$source/beta.THM"

cd "$source"
"$program" &
pid=$!
window="$(timeout 20 xdotool search --sync --name '^Velmora$' | head -n 1)" || true
[ -n "$window" ] || fail "no window titled Velmora appeared"
sleep 1

# Window coordinates of a point inside a control, from its place in twips (15 per pixel).
click_at() {
    xdotool mousemove --window "$window" "$1" "$2" click 1
    sleep 0.5
}

# The drive list: the root first, then the removable volumes sorted by mount point.
index="$(python3 - "$stick" <<'PY'
import os, sys
points = sorted({line.split()[1] for line in open("/proc/self/mounts")
                 if line.split()[1].startswith(("/media/", "/run/media/", "/mnt/"))})
def removable(p):
    for parent, depth in (("/media/", 2), ("/run/media/", 2), ("/mnt/", 1)):
        if p.startswith(parent) and len(p) > len(parent) and p[len(parent):].count("/") < depth:
            return True
    return False
print(1 + [p for p in points if removable(p)].index(sys.argv[1]))
PY
)"

# drivePSP lies at (120, 240) in framePSP at (5640, 120): give it the focus and step down
# to the stick; each step picks a drive, as the arrow keys do in a closed drop-down list.
click_at $(((5640 + 120 + 200) / 15)) $(((120 + 240 + 150) / 15))
xdotool key --window "$window" Escape Home
sleep 0.5
for _ in $(seq "$index"); do
    xdotool key --window "$window" Down
    sleep 0.7
done

# listSource lies at (120, 720) in frameSource at (120, 120): click its first name, extend
# the selection to the second with Shift-Down, then Ctrl-C and Enter for Yes.
click_at $(((120 + 120 + 600) / 15)) $(((120 + 720 + 120) / 15))
xdotool key --window "$window" shift+Down
sleep 0.5
xdotool key --window "$window" ctrl+c
timeout 20 xdotool search --sync --name '^Confirm Copy$' >/dev/null || fail "Ctrl-C asked no question"
sleep 0.5
xdotool key Return  # the question has the keyboard, and Yes is its default button

for _ in $(seq 100); do
    copies=$(find "$videos" -name 'MAQ*' | wc -l)
    [ "$copies" -ge 4 ] && break
    sleep 0.2
done
sleep 1

first=$(find "$videos" -name 'MAQ???01.MP4')
second=$(find "$videos" -name 'MAQ???02.MP4')
[ -n "$first" ] && [ -n "$second" ] || fail "the stick holds no MAQ copies of the two videos"
cmp "$source/alpha.MP4" "$first" || fail "the first copy differs from alpha.MP4"
cmp "$source/beta.MP4" "$second" || fail "the second copy differs from beta.MP4"
cmp "$source/alpha.THM" "${first%.MP4}.THM" || fail "the first thumbnail differs"
cmp "$source/beta.THM" "${second%.MP4}.THM" || fail "the second thumbnail differs"
[ "$(find "$videos" -mindepth 1 | wc -l)" -eq 4 ] || fail "the stick holds more than the copies"

python3 "$here/../smoke/close_window.py" "$window"
timeout 10 tail --pid="$pid" -f /dev/null || fail "still running 10 s after its window was closed"
wait "$pid" || fail "the program ended with an error"
pid=""
echo "copy_e2e: two videos and their thumbnails copied intact"
