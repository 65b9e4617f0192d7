#!/usr/bin/env bash
# A stick that answers every request slowly but answers, in the real program on a virtual X
# server, read through the accessibility bus, in a mount namespace of its own: our FUSE server
# (slow_fuse) serves a folder at /media/slow, the kernel caching nothing, each answer DELAY
# seconds late (and with IDLE and WAKE, WAKE seconds for the first request after IDLE seconds
# without one). The pick lists the stick's videos and its free space; Ctrl-R, a click on a video
# (its size and preview), Backspace with Yes, and a copy of a video with its thumbnail all work;
# the window answers a screen reader within half a second all along, and no message shows (the
# waiting window may, never cancelled). Then the stick's server is stopped during a pick, and
# started again: picking the stick's entry again lists its videos.
# Usage: slow_stick_e2e.sh <velmora> <slow_fuse> VIDEOS DELAY [IDLE WAKE]. Exits 77 (skipped)
# without root or its tools.
set -euo pipefail
program="$(realpath "${1:?usage: $0 <velmora> <slow_fuse> VIDEOS DELAY [IDLE WAKE]}")"
if [ "${VELMORA_IN_NAMESPACE:-}" != 1 ]; then  # the namespace's run gets them from here
    export serve="$(realpath "$2")" videos=$3 delay=$4 idle=${5:-0} wake=${6:-0}
fi
source "$(dirname "$(realpath "$0")")/isolated.sh" slow_stick_e2e mountpoint convert

scratch="$(mktemp -d)" server=""
cleanup() { stop_server /media/slow "$server"; rm -rf "$scratch"; }
trap cleanup EXIT
folder="$scratch/stick/MP_ROOT/100ANV01"
mkdir -p "$folder" "$scratch/source" /media/slow
convert -size 160x120 xc:red "$scratch/red.jpg"
for i in $(seq -f %02g 1 "$videos"); do
    head -c 60000 /dev/urandom >"$folder/MAQ1${i}01.MP4"
    cp "$scratch/red.jpg" "$folder/MAQ1${i}01.THM"
done
head -c 1500000 /dev/urandom >"$scratch/source/clip.MP4"  # a figure of 1 MB
cp "$scratch/red.jpg" "$scratch/source/clip.THM"
"$serve" "$scratch/stick" /media/slow "$delay" "$idle" "$wake" -o big_writes >/dev/null 2>&1 &
server=$!
mounted /media/slow

cd "$scratch/source"
export program scratch server folder videos idle delay
on_bus <<'PY'
import filecmp, os, signal, subprocess, time
import pyatspi, window
from window import click, fail, names, on_screen, run, showing, texts, wait_for
kind = os.environ["idle"] != "0" and "waking" or "slow"
window.name = f"slow_stick_e2e ({kind})"

scratch, server, folder = os.environ["scratch"], int(os.environ["server"]), os.environ["folder"]
count, idle = int(os.environ["videos"]), float(os.environ["idle"])
w = window.Window(os.environ["program"])
step = "the start"

# Between steps: a screen reader's question is answered within half a second, and no message
# says that the stick is gone, or that a copy failed.
def meanwhile():
    w.answers(f" during {step}")
    if ok := w.find(lambda a: a.name == "OK" and showing(a)):  # "not found", "can't copy"
        while ok.parent.getRole() != pyatspi.ROLE_APPLICATION:
            ok = ok.parent
        fail(f"a message showed during {step}, although the stick answers: {texts(ok)}")

# A step asks the stick up to a few hundred things (a copy about 430, its video read back at
# some 70 sectors in the copy and again at the run's end): at 1.5 s each, some eleven minutes.
def until(what, test, seconds=max(200, 600 * float(os.environ["delay"]))):
    global step
    step, started = what.split(" did")[0], time.monotonic()
    found = wait_for(what, test, seconds, meanwhile)
    print(f"{window.name}: {step} took {time.monotonic() - started:.0f} s", flush=True)
    return found

# Where the stick wakes from sleep, each step starts after an idle pause, so its first request
# waits the longest.
pause = lambda: time.sleep(idle and idle + 0.5)

# The question, once it shows: the waiting window (never cancelled) may show before it.
def yes(keys, title):
    button = until(f"{keys} did not ask", lambda: w.find(lambda a: a.name == "Yes" and showing(a)))
    on_screen(title)
    click(button)

held = lambda: sorted(n for n in os.listdir(folder) if n.endswith(".MP4"))

def shows(color):  # the PSP preview shows a thumbnail of that color (the source's shows none yet)
    screen = subprocess.run(["import", "-window", "root", "png:-"], capture_output=True).stdout
    share = subprocess.run(["convert", "-", "-fuzz", "10%", "-fill", "black", "+opaque", color, "-format",
                            "%[fx:mean]", "info:"], input=screen, capture_output=True).stdout
    return float(share or 0) > 0

def picked():
    return (w.windows() == 1 and names(w.videos) == held() and w.free.name not in ("", "0")
            and w.drives.name.startswith("/media/slow"))

try:
    started = time.monotonic()
    pause()
    w.pick("/media/slow")
    until("the pick did not list the stick's videos and free space", picked)
    picking = time.monotonic() - started

    pause()
    click(w.item(w.videos, held()[0]))
    size = w.find(lambda a: a.description == "Selected PSP size in megabytes")
    until("a click on a video did not show its size and preview",
          lambda: size.name == "0" and shows("#FF0000"))

    pause()
    subprocess.run(["convert", "-size", "160x120", "xc:lime", f"jpg:{folder}/{held()[0][:-3]}THM"])
    run("key", "ctrl+r")  # which ends with the preview: so it was done before the next key
    until("Ctrl-R did not show the new thumbnail", lambda: picked() and shows("#00FF00"))

    pause()
    run("key", "BackSpace")  # the video clicked is still selected
    yes("Backspace", "Confirm Deletion")
    until("Backspace with Yes did not delete the video", lambda: len(held()) == count - 1 and picked())

    pause()
    had = set(os.listdir(folder))
    until("a click on clip.MP4 did not select it",  # clicked again while a step's end blocks it
          lambda: w.selected.name == "1" or click(w.item(w.source, "clip.MP4")))
    run("key", "ctrl+c")
    yes("Ctrl-C", "Confirm Copy")
    until("the copy did not end", lambda: w.windows() == 1 and w.selected.name == "0")
    new = sorted(set(os.listdir(folder)) - had)
    len(new) == 2 and all(filecmp.cmp(f"{scratch}/source/clip{n[-4:]}", f"{folder}/{n}", False)
                          for n in new) or fail(f"the stick holds {new} beside what it had")
    until("the PSP list does not show the copy", picked)

    # A hang and a failed pick: the server stopped, a click tells the stick gone, and a pick
    # while it is still stopped fails with the drive list left on it. Once the server answers
    # again, picking that same entry again lists the stick's videos.
    window.name += ", picked again"
    os.kill(server, signal.SIGSTOP)
    click(w.item(w.videos, held()[0]))
    w.told_gone(seconds=90)  # once the drive has kept silent for its limit, a minute
    w.pick("/media/slow")
    w.answer("OK")
    wait_for("the failed pick left the drive list", lambda: w.windows() == 1 and
             w.drives.name.startswith("/media/slow") and not picked(), 600)
    os.kill(server, signal.SIGCONT)
    w.pick_again("/media/slow", picked, then=lambda: w.answer("OK"), seconds=600)
    print(f"slow_stick_e2e: {count} videos, picked in {picking:.1f} s; a screen reader waited "
          f"{w.slowest:.2f} s at most")
finally:
    os.kill(server, signal.SIGCONT)
    w.close()
PY
