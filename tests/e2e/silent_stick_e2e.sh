#!/usr/bin/env bash
# A stick that stops answering, in the real program: the FUSE server of the exFAT stick
# /media/silent is stopped (SIGSTOP) before a pick, a click on a video and Ctrl-R, and during a
# copy's and a deletion's question. Each time the window keeps answering a screen reader, says that
# it waits, and on Cancel (Return at the pick) tells once that the video folder is gone, writes
# nothing and copies onto a tmpfs stick at /media/other. Cancel in a copy stopped midway, on the
# stick or on a FUSE source folder, closes the progress window at once, naming what stopped.
# Usage: silent_stick_e2e.sh <path to velmora>. Exits 77 (skipped) without root or its tools.
set -euo pipefail
program="$(realpath "${1:?usage: $0 <path to velmora>}")"
source "$(dirname "$(realpath "$0")")/isolated.sh" silent_stick_e2e losetup mkfs.exfat \
    mount.exfat-fuse mountpoint

scratch="$(mktemp -d)" device="" server="" source_device="" source_server=""
cleanup() {
    stop_server /media/silent "$server"
    stop_server "$scratch/slow" "$source_server"
    for loop in "$device" "$source_device"; do [ -z "$loop" ] || losetup -d "$loop"; done
    rm -rf "$scratch"
}
trap cleanup EXIT
mkdir -p "$scratch/videos" "$scratch/kept" /media/silent /media/other
for file in videos/big.MP4:40000000 videos/big.THM:6000 videos/clip.MP4:1500000 \
    videos/clip.THM:5000 kept/MAQ12301.MP4:1200000 kept/MAQ12301.THM:4000 \
    kept/MAQ12302.MP4:1100000 kept/MAQ12302.THM:3000; do
    head -c "${file#*:}" /dev/urandom >"$scratch/${file%:*}"
done
exfat() { truncate -s 64M "$1" && mkfs.exfat "$1" >/dev/null && losetup -f --show "$1"; }
# Mounts a device at a folder by a FUSE server in the foreground, whose process goes in $3.
serve() { mount.exfat-fuse -d "$1" "$2" >/dev/null 2>&1 & printf -v "$3" %s $! && mounted "$2"; }
device="$(exfat "$scratch/stick.img")"
serve "$device" /media/silent server
mkdir -p /media/silent/MP_ROOT/100ANV01 && cp "$scratch/kept/"* "$_"
# The slow source folder: outside /media, so that it is no drive of the list.
source_device="$(exfat "$scratch/source.img")" && mkdir -p "$scratch/slow"
serve "$source_device" "$scratch/slow" source_server && cp "$scratch/videos/big."* "$scratch/slow/"
# Mounted anew, so that the copy reads from the server, not from the page cache.
stop_server "$scratch/slow" "$source_server" && serve "$source_device" "$scratch/slow" source_server
mount -t tmpfs -o size=96m other /media/other && mkdir -p /media/other/MP_ROOT/100ANV01

cd "$scratch/videos"
export program scratch server source_server
on_bus <<'PY'
import filecmp, os, signal, threading, time
import window
from window import click, fail, names, run, showing, wait_for
window.name = "silent_stick_e2e"

scratch, server = os.environ["scratch"], int(os.environ["server"])
source_server = int(os.environ["source_server"])
source, kept = f"{scratch}/videos", f"{scratch}/kept"
folder = lambda stick: f"/media/{stick}/MP_ROOT/100ANV01"
w = window.Window(os.environ["program"])
answers = w.answers

def tree(top):  # every file and folder below top, with its size and time
    paths = (os.path.join(d, n) for d, folders, files in os.walk(top) for n in folders + files)
    return {p: (os.stat(p).st_size, os.stat(p).st_mtime_ns) for p in paths}

# What a step must leave as it is, the silent stick aside: its tree can't be read meanwhile.
def elsewhere():
    return tree(source), tree("/media/other"), sorted(os.listdir("/media"))

def pick(stick):  # shows its videos
    held = lambda: sorted(n for n in os.listdir(folder(stick)) if n.endswith(".MP4"))
    w.pick_again(f"/media/{stick}", lambda: sorted(names(w.videos)) == held())

# The video lands on the picked stick with its thumbnail, under MAQ names, and nothing else.
def copy(stick, video, had=None):
    had = had or os.listdir(folder(stick))
    click(w.item(w.source, video))
    w.ask("ctrl+c")
    w.answer("Yes")
    wait_for(f"the copy onto {stick} did not end",
             lambda: w.windows() == 1 and w.selected.name == "0", 60)
    new = set(os.listdir(folder(stick))) - set(had)
    if len(new) != 2 or not all(name.startswith("MAQ") and filecmp.cmp(
            f"{source}/{video[:-3]}{name[-3:]}", f"{folder(stick)}/{name}", False) for name in new):
        fail(f"{stick} holds {sorted(new)} beside what it had, not a copy of {video}")

# A second after a call waits on the stopped stick, a window says so; its Cancel (clicked, or
# pressed by that key) counts the stick as gone at once.
def give_up(key):
    wait_for("no window says that it waits for the stick", lambda: w.find(
        lambda a: a.name == "Waiting for the drive /media/silent \u2026" and showing(a)),
        5, answers)
    w.answer("Cancel", answers, pace=False, key=key)
    w.told_gone(answers, 1)

# What the window shows is typed into the source folder's box.
def source_folder(path):
    click(w.find(lambda a: a.description.startswith("Source folder")))
    run("key", "ctrl+a")
    run("type", "--delay", "20", path)
    run("key", "Return")
    wait_for(f"{path} is not listed", lambda: w.item(w.source, "big.MP4"))

# Runs a stopped process in slices until the copy's open temporary has data.
def slices(process):
    def grown(fds=f"/proc/{w.process.pid}/fd"):
        os.kill(process, signal.SIGCONT)
        time.sleep(0.001)
        os.kill(process, signal.SIGSTOP)
        for fd in os.listdir(fds):
            try:
                if ".velmora-copy-" in os.readlink(f"{fds}/{fd}"):
                    return int(open(f"{fds}/../fdinfo/{fd}").readline().split()[1]) > 0
            except OSError:
                pass
    wait_for("the copy's temporary did not grow", grown, 20, every=0)

# Cancel in the progress window of big.MP4's copy, process stopped midway, closes it at once and
# the user is told what stopped answering. Returns how soon it closed.
def cancel_stopped_copy(process, stopped):
    w.ask("ctrl+c")
    os.kill(process, signal.SIGSTOP)
    w.answer("Yes", pace=False)
    slices(process)
    progress = wait_for("no progress window", lambda: w.find(
        lambda a: a.name == "Copying" and showing(a)), 5, answers)
    asked = time.monotonic()
    click(window.first(progress, lambda a: a.name == "Cancel"), pace=False)
    wait_for("the progress window stays after Cancel", lambda: not showing(progress), 5, answers)
    if (closed := time.monotonic() - asked) > 0.5:
        fail(f"the progress window closed {closed:.1f} s after Cancel")
    wait_for(f"not told that {stopped} stopped answering", lambda: w.find(
        lambda a: a.name.startswith('Can\'t copy "big.MP4"') and
        f"{stopped} stopped answering" in a.name), 10, answers)
    w.answer("OK")
    return closed

def stop():
    os.kill(server, signal.SIGSTOP)
    # For a second the kernel still answers a look-up from what the stick last told it: wait
    # until one waits on the stick, so that the step's first call does too.
    def waits():
        look = threading.Thread(target=os.stat, args=(folder("silent"),), daemon=True)
        look.start()
        look.join(0.5)
        return look.is_alive()
    wait_for("a look-up on the stopped stick is still answered", waits, 5)

def silent_step(what, before, step, key=None):
    window.name = f"silent_stick_e2e, {what} on a stopped stick"
    pick("silent")
    before()
    others, on_stick = elsewhere(), tree(folder("silent"))
    stop()
    step()
    give_up(key)
    elsewhere() == others or fail("something was written elsewhere")
    pick("other")
    copy("other", "clip.MP4")
    os.kill(server, signal.SIGCONT)
    tree(folder("silent")) == on_stick or fail("the stick changed")

try:
    video = lambda: click(w.item(w.videos, "MAQ12301.MP4"))
    silent_step("a click on a video", lambda: None, video)
    silent_step("a pick", lambda: pick("other"), lambda: w.pick("/media/silent"), "Return")
    silent_step("Ctrl-R", video, lambda: run("key", "ctrl+r"))
    silent_step("a copy", lambda: (click(w.item(w.source, "big.MP4")),
                                   w.ask("shift+End", "ctrl+c")), lambda: w.answer("Yes"))
    silent_step("a deletion", lambda: (video(), w.ask("BackSpace")), lambda: w.answer("Yes"))

    window.name = "silent_stick_e2e, a copy stopped midway"
    pick("silent")
    had, others = os.listdir(folder("silent")), elsewhere()
    click(w.item(w.source, "big.MP4"))
    figure = w.selected.name
    closed = cancel_stopped_copy(server, "The drive")
    w.cleared(answers)  # no more messages, and the stick taken for gone
    if w.selected.name != figure or "big.MP4" not in window.selected(w.source):
        fail(f"big.MP4 is no longer selected: {w.selected.name} MB, not {figure}")
    elsewhere() == others or fail("something was written elsewhere")

    os.kill(server, signal.SIGCONT)
    pick("other")
    pick("silent")
    copy("silent", "big.MP4", had)
    all(filecmp.cmp(f"{kept}/{n}", f"{folder('silent')}/{n}", False)
        for n in os.listdir(kept)) or fail("the stick's videos changed")

    # A source that stops leaves the stick picked, and it takes a copy from elsewhere at once.
    window.name = "silent_stick_e2e, a source stopped midway"
    source_folder(f"{scratch}/slow")
    pick("other")
    had = os.listdir(folder("other"))
    click(w.item(w.source, "big.MP4"))
    cancel_stopped_copy(source_server, 'The folder of "big.MP4"')
    wait_for("the stick was taken for gone", lambda: w.windows() == 1, 5, answers)
    w.drives.name.startswith("/media/other") and sorted(names(w.videos)) == sorted(
        n for n in had if n.endswith(".MP4")) or fail(f"the PSP side changed: {names(w.videos)}")
    source_folder(source)
    copy("other", "clip.MP4")
    print(f"silent_stick_e2e: told once at each of five stops, nothing written; Cancel closed "
          f"the stopped copy in {closed:.2f} s; a stopped source was named and the stick kept; "
          f"a screen reader waited {w.slowest:.2f} s at most")
finally:
    os.kill(server, signal.SIGCONT)
    os.kill(source_server, signal.SIGCONT)
    w.close()
PY
