#!/usr/bin/env bash
# A stick pulled while the run's copies are checked, in the real program: our FUSE server
# (slow_fuse) answers each request 0.01 s late; once the progress window checks the copies, the
# server is killed and the stick unmounted, as a user pulls it once the copy looks done. Told
# once that the video folder is gone, nothing selected again, and the stick, mounted anew,
# holds every video whole.
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
try:
    videos = names(w.source)
    w.copy_by_keys("/media/slow", "shift+End", videos)
    wait_for("the copies were not checked in the progress window", lambda: w.find(
        lambda a: a.name.startswith("Checking the copies on the stick") and showing(a)), 120)
    os.kill(server, signal.SIGKILL)
    subprocess.run(["umount", "-l", "/media/slow"], check=True)
    w.told_gone()
    if lost := w.find(lambda a: "did not give back" in a.name):
        fail(f"a pulled stick was taken for one that lost copies: {lost.name}")
    window.selected(w.source) == [] or fail(f"selected again: {window.selected(w.source)}")
    folder = f"{scratch}/stick/MP_ROOT/100ANV01"
    held = sorted(n for n in os.listdir(folder) if n.endswith(".MP4"))
    len(held) == len(videos) and all(filecmp.cmp(f"{scratch}/source/{v}", f"{folder}/{n}", False)
                                     for v, n in zip(videos, held)) or fail(f"the stick holds {held}")
    print(f"pulled_stick_e2e: told once, {len(held)} videos counted and whole on the stick")
finally:
    w.close()
PY
