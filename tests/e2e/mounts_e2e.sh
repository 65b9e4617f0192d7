#!/usr/bin/env bash
# The drive list follows the mounts. The real program runs on a virtual X server in a mount
# namespace of its own, whose /mnt and /media hold only this test's sticks, and is read
# through the accessibility bus. With /mnt/psp picked (an ext4 image on a loop device) and
# its video listed, a stick mounted at /mnt/added shows within 2 s and goes within 2 s of
# its unmount, while the current entry and the PSP list stay as they are and nothing is
# asked. A stick mounted while the copy's question is up and while the copy runs (the
# stick's writes held to 1 MiB/s) shows only once the copy is done.
# Usage: mounts_e2e.sh <path to velmora>. Exits 77 (skipped) without root or its tools.
set -euo pipefail
program="$(realpath "${1:?usage: $0 <path to velmora>}")"
if [ "${VELMORA_IN_NAMESPACE:-}" != 1 ]; then
    [ "$(id -u)" -eq 0 ] || { echo "mounts_e2e: skipped: mounting needs root"; exit 77; }
    for tool in unshare losetup mkfs.ext4 xvfb-run xdotool dbus-run-session; do
        command -v "$tool" >/dev/null || { echo "mounts_e2e: skipped: no $tool"; exit 77; }
    done
    VELMORA_IN_NAMESPACE=1 exec unshare -m --propagation private "$0" "$program"
fi

for folder in /mnt /media /run/media; do
    [ ! -d "$folder" ] || mount -t tmpfs none "$folder"
done
scratch="$(mktemp -d)" device=""
# Writes to the stick's device are held to this many bytes a second (0: not held).
throttle="/sys/fs/cgroup/blkio/blkio.throttle.write_bps_device"
hold_writes() { [ -w "$throttle" ] && echo "$(cat "/sys/block/${device#/dev/}/dev") $1" >"$throttle"; }
cleanup() {
    umount /mnt/psp 2>/dev/null || true
    [ -z "$device" ] || { hold_writes 0 || true; losetup -d "$device"; }
    rm -rf "$scratch"
}
trap cleanup EXIT

truncate -s 48M "$scratch/stick.img" && mkfs.ext4 -q -F "$scratch/stick.img"
device="$(losetup -f --show "$scratch/stick.img")"
mkdir /mnt/psp && mount "$device" /mnt/psp
mkdir -p /mnt/psp/MP_ROOT/100ANV01 "$scratch/videos"
: >/mnt/psp/MP_ROOT/100ANV01/clip.MP4
head -c 3145728 /dev/urandom >"$scratch/videos/trip.MP4"
hold_writes 1048576 || echo "mounts_e2e: writes can't be held here: the copy is over at once"

cd "$scratch/videos"
export program QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
xvfb-run -a -s "-screen 0 1024x768x24" dbus-run-session -- /usr/bin/python3 - <<'PY'
import os, subprocess, sys, time
import pyatspi

def fail(why):
    sys.exit(f"mounts_e2e: {why}")

def wait_for(what, test, seconds=20, meanwhile=lambda: None):
    end = time.monotonic() + seconds
    while not test():
        meanwhile()
        if time.monotonic() > end:
            fail(what)
        time.sleep(0.1)

def first(node, test):
    return node if test(node) else next(filter(None, (first(c, test) for c in node if c)), None)

def sh(command):
    subprocess.run(command, shell=True, check=True)

def press(*keys):
    subprocess.run(["xdotool", *keys], check=True)
    time.sleep(0.5)

def click(node):
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    press("mousemove", str(box.x + box.width // 2), str(box.y + box.height // 2), "click", "1")

program = subprocess.Popen([os.environ["program"]])
try:
    desktop = pyatspi.Registry.getDesktop(0)
    app = None
    def found():
        global app
        app = next((a for a in desktop if a and a.name == "Velmora"), None)
        return app
    wait_for("Velmora is not on the bus", found)
    drives, videos, source = (first(app, lambda a, d=d: a.description == d)
                              for d in ("PSP drive", "PSP videos", "Source videos"))
    names = lambda node: [item.name for item in node if item]
    entries = lambda: names(drives[0])
    listed = lambda mount: any(e.startswith(mount + " ") for e in entries())
    windows = lambda: sum(1 for w in app if w and w.getState().contains(pyatspi.STATE_SHOWING))

    # A click opens the drive list, Escape closes it with the focus there, Down steps from /
    # to the stick.
    click(drives)
    press("key", "Escape")
    press("key", "Down")
    wait_for(f"picking the stick shows its video, not {names(videos)}",
             lambda: names(videos) == ["clip.MP4"])
    stick = drives.name
    def unchanged():
        if (drives.name, names(videos), windows()) != (stick, ["clip.MP4"], 1):
            fail(f"the window changed: current {drives.name!r}, PSP list {names(videos)}, "
                 f"{windows()} windows")

    sh("mkdir /mnt/added && mount -t tmpfs -o size=8m added /mnt/added")
    wait_for("a stick mounted is not listed within 2 s", lambda: listed("/mnt/added"), 2, unchanged)
    unchanged()
    sh("umount /mnt/added")
    wait_for("a stick unmounted is still listed after 2 s", lambda: not listed("/mnt/added"), 2,
             unchanged)
    unchanged()
    print(f"mounts_e2e: a stick mounted and unmounted came and went; {stick!r} stayed current")

    click(first(source, lambda a: a.name == "trip.MP4"))
    press("key", "ctrl+c")
    wait_for("Ctrl-C asked no question", lambda: windows() == 2)
    sh("mkdir /mnt/during && mount -t tmpfs -o size=8m during /mnt/during")
    time.sleep(1)
    press("key", "Return")
    started = time.monotonic()
    def copied():
        shown = listed("/mnt/during")
        done = len(names(videos)) == 2 and windows() == 1
        if shown and not done:
            fail("a stick mounted during the copy was listed before the copy was done")
        return done
    wait_for("the copy did not end", copied, 60)
    took = time.monotonic() - started
    wait_for("a stick mounted during the copy is not listed within 2 s of its end",
             lambda: listed("/mnt/during"), 2)
    if drives.name != stick:
        fail(f"after the copy the current entry is {drives.name!r}")
    print(f"mounts_e2e: a stick mounted during a {took:.1f} s copy was listed once it was done")
finally:
    program.terminate()
    program.wait()
PY
