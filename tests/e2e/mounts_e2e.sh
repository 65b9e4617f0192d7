#!/usr/bin/env bash
# The drive list follows the mounts, read through the accessibility bus: a stick picked by
# keys shows its free space, labelled; sticks mounted and unmounted come and go within 2 s, the
# window unchanged, except during a copy (/mnt/psp's writes held to 1 MiB/s), after which they
# show. FUSE volumes that never answer are listed, the window showing and answering. A stick
# swapped during the copy's question, or unmounted during the create one, is left as it was and
# the PSP side cleared.
# Usage: mounts_e2e.sh <path to velmora>. Exits 77 (skipped) without root or its tools.
set -euo pipefail
program="$(realpath "${1:?usage: $0 <path to velmora>}")"
source "$(dirname "$(realpath "$0")")/isolated.sh" mounts_e2e losetup mkfs.ext4

scratch="$(mktemp -d)" device=""
throttle=/sys/fs/cgroup/blkio/blkio.throttle.write_bps_device
hold_writes() {
    [ -w "$throttle" ] && echo "$(cat "/sys/block/${device#/dev/}/dev") $1" >"$throttle"
}
cleanup() {
    while umount /mnt/psp 2>/dev/null; do :; done
    [ -z "$device" ] || { hold_writes 0 || true; losetup -d "$device"; }
    rm -rf "$scratch"
}
trap cleanup EXIT
truncate -s 48M "$scratch/stick.img" && mkfs.ext4 -q -F "$scratch/stick.img"
device="$(losetup -f --show "$scratch/stick.img")"
mkdir /mnt/psp && mount "$device" /mnt/psp
mkdir -p /mnt/psp/MP_ROOT/100ANV01 "$scratch/videos" && : >/mnt/psp/MP_ROOT/100ANV01/clip.MP4
head -c 3145728 /dev/urandom >"$scratch/videos/trip.MP4"
mkdir -p "$scratch/other/MP_ROOT/100ANV01" && head -c 400000 /dev/urandom >"$_/MAQ12301.MP4"
hold_writes 1048576 || echo "mounts_e2e: writes can't be held here: the copy is over at once"

cd "$scratch/videos"
export program scratch device
on_bus <<'PY'
import os, subprocess, time
import pyatspi
import window
from window import click, fail, first, names, run, wait_for
window.name = "mounts_e2e"

# A FUSE volume whose server never reads a request: every call on it waits until this ends.
def hang(at):
    os.makedirs(at)
    fd = os.open("/dev/fuse", os.O_RDWR)
    subprocess.run(["mount", "-i", "-t", "fuse", "-o",
                    f"fd={fd},rootmode=40000,user_id=0,group_id=0", "stuck", at],
                   pass_fds=[fd], check=True)

hang("/mnt/stuck")
w = window.Window(os.environ["program"])
try:
    app, drives, videos, source, free = w.app, w.drives, w.videos, w.source, w.free
    listed, windows, pick, shown = w.listed, w.windows, w.pick, w.shown
    shown <= 2 or fail(f"the window took {shown:.1f} s to show beside a stuck volume")
    # Escape closes the opened drive list with the focus there; Down steps from / to the stick.
    w.open_drives()
    run("key", "Escape", pace=False)
    wait_for("the drive list does not close", lambda: not window.showing(drives[0]))
    run("key", "Down")
    wait_for("picking the stick shows its video", lambda: names(videos) == ["clip.MP4"])
    drives.name.startswith("/mnt/psp ") or fail(f"the drive list reads {drives.name!r}, not psp")
    stick = os.statvfs("/mnt/psp")
    megabytes = str(stick.f_bavail * stick.f_frsize >> 20)
    wait_for(f"freePSP reads {free.name!r}, not {megabytes}", lambda: free.name == megabytes)
    labels = [r.getTarget(0).name for r in free.getRelationSet()
              if r.getRelationType() == pyatspi.RELATION_LABELLED_BY]
    "Free space (MB):" in labels and free.queryText().getText(0, -1) == megabytes or fail(
        f"freePSP labelled by {labels}, with no text {megabytes}")
    seen = lambda: (drives.name, names(videos), windows())
    steady = seen()
    unchanged = lambda: seen() == steady or fail(f"the window changed from {steady} to {seen()}")

    hang("/mnt/stuck2")
    wait_for("a volume that doesn't answer is not listed within 2 s",
             lambda: listed("/mnt/stuck") and listed("/mnt/stuck2"), 2, unchanged)
    run("mkdir /mnt/added && mount -t tmpfs added /mnt/added", shell=True)
    wait_for("a stick mounted is not listed in 2 s", lambda: listed("/mnt/added"), 2, unchanged)
    run("umount /mnt/added", shell=True)
    wait_for("a stick unmounted is listed at 2 s", lambda: not listed("/mnt/added"), 2, unchanged)
    unchanged()

    click(first(source, lambda a: a.name == "trip.MP4"))
    w.ask("ctrl+c")
    run("mkdir /mnt/during && mount -t tmpfs during /mnt/during", shell=True)
    run("key", "Return")
    started = time.monotonic()
    def copied():
        shown = listed("/mnt/during")  # before the test of the end, which may come between
        done = len(names(videos)) == 2 and windows() == 1
        return done or shown and fail("a stick mounted during the copy was listed before its end")
    wait_for("the copy did not end", copied, 60)
    took = time.monotonic() - started
    wait_for("one mounted during the copy is not listed in 2 s", lambda: listed("/mnt/during"), 2)
    drives.name == steady[0] or fail(f"after the copy the current entry is {drives.name!r}")

    click(first(source, lambda a: a.name == "trip.MP4"))
    w.ask("ctrl+c")
    run("umount /mnt/psp && mkfs.ext4 -q -F -O ^has_journal -d $scratch/other $device && "
        "mount $device /mnt/psp", shell=True)  # another stick, with the same device number
    run("key", "Return")
    w.told_gone()
    run("mkdir /mnt/bare && mount -t tmpfs bare /mnt/bare", shell=True)
    wait_for("/mnt/bare is not listed", lambda: listed("/mnt/bare"))
    pick("/mnt/bare")
    wait_for("no create question", lambda: windows() == 2)
    run("umount /mnt/bare", shell=True)
    click(first(app, lambda a: a.name == "Yes"))
    w.told_gone()
    run("rmdir /mnt/bare && diff -r -x lost+found $scratch/other /mnt/psp", shell=True)
    print(f"mounts_e2e: shown {shown:.1f} s after the start beside a volume that doesn't "
          f"answer; {megabytes} MB free read as labelled; sticks came and went with "
          f"{steady[0]!r} current; one mounted during a {took:.1f} s copy was listed after it")
finally:
    w.close()
PY
