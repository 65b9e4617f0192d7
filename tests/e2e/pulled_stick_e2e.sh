#!/usr/bin/env bash
# The end of a copy in the real program, on our FUSE server (slow_fuse) answering each request
# 0.01 s late. First the stick holds a video's rename past the progress window's Cancel and
# then finishes it: the name is taken back off the stick, and the video stays selected. Then,
# once the progress window checks a run's copies, the server is killed and the stick unmounted,
# as a user pulls it once the copy looks done: told once that the video folder is gone, nothing
# selected again, and the stick holds every video once, whole.
# Usage: pulled_stick_e2e.sh <velmora> <slow_fuse>. Exits 77 (skipped) without root or its tools.
set -euo pipefail
program="$(realpath "${1:?usage: $0 <velmora> <slow_fuse>}")"
[ "${VELMORA_IN_NAMESPACE:-}" = 1 ] || export serve="$(realpath "$2")"
source "$(dirname "$(realpath "$0")")/isolated.sh" pulled_stick_e2e mountpoint

scratch="$(mktemp -d)" server=""
trap 'stop_server /media/slow "$server"; rm -rf "$scratch"' EXIT
mkdir -p "$scratch/stick/MP_ROOT/100ANV01" "$scratch/source" /media/slow
for i in $(seq 10 17); do head -c 2100000 /dev/urandom >"$scratch/source/clip$i.MP4"; done
"$serve" "$scratch/stick" /media/slow 0.01 -o big_writes >/dev/null 2>&1 &
server=$!
mounted /media/slow
cd "$scratch/source"
export program scratch server
on_bus <<'PY'
import filecmp, os, signal, subprocess
import window
from window import fail, names, showing, wait_for
window.name = "pulled_stick_e2e"
scratch, server = os.environ["scratch"], int(os.environ["server"])
w = window.Window(os.environ["program"])
folder = f"{scratch}/stick/MP_ROOT/100ANV01"
try:
    videos = names(w.source)
    os.kill(server, signal.SIGUSR2)  # renames held
    w.copy_by_keys("/media/slow", "Home", videos[:1])
    wait_for("the stick did not hold the rename", lambda: os.path.exists(f"{scratch}/stick.held"), 60)
    w.answer("Cancel")
    wait_for("not told that the drive stopped answering", lambda: w.find(
        lambda a: "The drive stopped answering" in a.name and showing(a)), 10)
    w.answer("OK")
    os.kill(server, signal.SIGUSR2)
    wait_for("the copy that landed after Cancel stayed on the stick", lambda: not os.path.exists(
        f"{scratch}/stick.held") and not [n for n in os.listdir(folder) if "MAQ" in n], 30)
    window.selected(w.source) == videos[:1] or fail("the video cancelled is not selected")
    w.copy_by_keys("/media/slow", "shift+End", videos)
    wait_for("the copies were not checked in the progress window", lambda: w.find(
        lambda a: a.name.startswith("Checking the copies on the stick") and showing(a)), 120)
    os.kill(server, signal.SIGKILL)
    subprocess.run(["umount", "-l", "/media/slow"], check=True)
    w.told_gone()
    if lost := w.find(lambda a: "did not give back" in a.name):
        fail(f"a pulled stick was taken for one that lost copies: {lost.name}")
    window.selected(w.source) == [] or fail(f"selected again: {window.selected(w.source)}")
    held = sorted(n for n in os.listdir(folder) if n.endswith(".MP4"))
    len(held) == len(videos) and all(filecmp.cmp(f"{scratch}/source/{v}", f"{folder}/{n}", False)
                                     for v, n in zip(videos, held)) or fail(f"the stick holds {held}")
    print(f"pulled_stick_e2e: told once, {len(held)} videos counted and whole on the stick")
finally:
    w.close()
PY
