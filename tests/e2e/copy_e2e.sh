#!/usr/bin/env bash
# The real program on a virtual X server copies a big video onto a stick under /media, picked
# by its drive entry whatever else is mounted, and is killed mid-copy. Started again, it
# copies two other videos, picked by Ctrl-C and Yes; the stick must then hold exactly their MAQ
# copies and thumbnails, byte for byte, and nothing of the killed copy. The stick is an ext4
# image, or with VELMORA_E2E_STICK=fat a FAT image mounted as a desktop's automounter mounts it
# (the kernel needs the vfat driver: velmora_copy_e2e_fat runs this in User-Mode Linux).
# Usage: copy_e2e.sh <path to velmora>. Exits 77 (skipped) without root or its tools.
set -euo pipefail
program="$(realpath "${1:?usage: $0 <path to velmora>}")"
here="$(dirname "$(realpath "$0")")"
if [ -z "${VELMORA_E2E_DISPLAY:-}" ]; then
    [ "$(id -u)" -eq 0 ] || { echo "copy_e2e: skipped: mounting needs root"; exit 77; }
    for tool in xvfb-run xdotool dbus-run-session; do
        command -v "$tool" >/dev/null || { echo "copy_e2e: skipped: no $tool"; exit 77; }
    done
    /usr/bin/python3 -c "import pyatspi" 2>/dev/null ||
        { echo "copy_e2e: skipped: no pyatspi"; exit 77; }
    VELMORA_E2E_DISPLAY=1 exec xvfb-run -a -s "-noreset -screen 0 1024x768x24" \
        dbus-run-session -- "$0" "$program"
fi

mkdir -p /media
stick="$(mktemp -d /media/velmora-e2e-XXXXXX)"
source="$(mktemp -d)"
device=""
cleanup() {
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
stick_device="$(stat -c %Hr:%Lr "$device")"
export program here stick videos throttle stick_device
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 PYTHONPATH="$here" /usr/bin/python3 - <<'PY'
import os, subprocess
import pyatspi
import window
from window import click, fail, names, on_screen, run, wait_for
window.name = "copy_e2e"
stick, videos = os.environ["stick"], os.environ["videos"]
has = lambda node, state: node.getState().contains(state)
selected = lambda listing: [i.name for i in listing if i and has(i, pyatspi.STATE_SELECTED)]
on_stick = lambda start: [name for name in os.listdir(videos) if name.startswith(start)]

# The program started anew, with the stick's writes held to a rate (0: not held), copies the
# videos that the keys select from the first one. Each step waits until the window shows it
# done: the stick's free space, the videos selected and their megabytes, the question up.
def copy_by_keys(rate, keys, chosen):
    with open(os.environ["throttle"], "w") as throttle:
        throttle.write(f"{os.environ['stick_device']} {rate}")
    w = window.Window(os.environ["program"], 60)  # a first start in User-Mode Linux is slow
    w.pick(stick)
    wait_for(f"picking {stick} did not show its free space",
             lambda: w.drives.name.startswith(stick + " ") and w.free.name not in ("", "0"))
    start = names(w.source)[0]
    click(w.item(w.source, start), pace=False)
    wait_for(f"a click on {start} did not select it in the focused list",
             lambda: has(w.source, pyatspi.STATE_FOCUSED) and selected(w.source) == [start])
    run("key", *keys.split(), pace=False)
    megabytes = str(sum(os.path.getsize(video) >> 20 for video in chosen))
    wait_for(f"{keys} did not select {chosen}, {megabytes} MB",
             lambda: selected(w.source) == chosen and w.selected.name == megabytes)
    run("key", "ctrl+c", pace=False)
    wait_for("Ctrl-C asked no question", lambda: w.windows() == 2)
    on_screen("Confirm Copy")
    w.answer("Yes", pace=False)
    return w

w = copy_by_keys(4000000, "Down Down", ["gamma.MP4"])
try:
    wait_for("the big video's copy did not pass 4 MB", lambda: any(
        os.path.getsize(f"{videos}/{name}") > 4 << 20 for name in on_stick(".velmora-copy-")))
finally:
    w.process.kill()
    w.process.wait()
on_stick(".velmora-copy-") or fail("the big video's copy was not cut off")
w = copy_by_keys(0, "shift+Down", ["alpha.MP4", "beta.MP4"])
try:
    wait_for("the two videos and thumbnails are not on the stick",
             lambda: len(on_stick("MAQ")) >= 4)
    xid = subprocess.check_output(["xdotool", "search", "--name", "^Velmora$"]).split()[0]
    subprocess.run(["python3", f"{os.environ['here']}/../smoke/close_window.py", xid], check=True)
    if w.process.wait(10):  # closed as a window manager closes it
        fail(f"the program ended with {w.process.returncode}")
except subprocess.TimeoutExpired:
    fail("still running 10 s after its window was closed")
finally:
    w.close()
PY

for pair in alpha:01 beta:02; do
    copy=$(find "$videos" -name "MAQ???${pair#*:}.MP4")
    [ -n "$copy" ] || fail "no MAQ copy of ${pair%:*}.MP4"
    cmp "$source/${pair%:*}.MP4" "$copy" && cmp "$source/${pair%:*}.THM" "${copy%.MP4}.THM" ||
        fail "the copy of ${pair%:*} differs"
done
[ "$(find "$videos" -mindepth 1 | wc -l)" -eq 4 ] || fail "the stick holds more: $(ls -A "$videos")"
echo "copy_e2e: after a killed copy, two videos and thumbnails intact on $(stat -f -c %T "$stick")"
