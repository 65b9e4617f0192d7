#!/usr/bin/env bash
# The real program copies a big video onto a stick under /media, picked whatever else is
# mounted, and is killed mid-copy; started again, it copies two videos, which the stick then
# holds whole with their thumbnails, and nothing of the killed copy. The stick is ext4, or FAT
# (VELMORA_E2E_STICK=fat, in User-Mode Linux for the vfat driver). With VELMORA_E2E_STICK=fake,
# FAT32 cards from the device mapper that claim 128 MB and keep less: told once, what is not on
# the card stays selected, and what is there matches its source, uncached.
# Usage: copy_e2e.sh <path to velmora>. Exits 77 (skipped) without root or its tools.
set -euo pipefail
program="$(realpath "${1:?usage: $0 <path to velmora>}")"
here="$(dirname "$(realpath "$0")")"
source "$here/isolated.sh" copy_e2e losetup

stick="$(mktemp -d /media/velmora-e2e-XXXXXX)" source="$(mktemp -d)" device=""
# The stick goes with the namespace, its loop device once that lets it go.
trap '[ -z "$device" ] || losetup -d "$device"; rm -rf "$source"' EXIT
if [ "${VELMORA_E2E_STICK:-}" = fake ]; then
    export program source
    on_bus <<'PY'
import filecmp, os, subprocess
from window import Window, fail, names, selected, wait_for
sh = lambda command, stdin=None: subprocess.run(
    command, shell=True, check=True, input=stdin, text=True, capture_output=True).stdout.strip()
# The card over a used image: its megabytes and the table over its device D; the videos'
# megabytes (0: a thumbnail); what the user is told; what is selected and listed afterwards.
CASES = [("drop", 20, "0 40960 linear D 0\n40960 221184 zero", {"a.MP4": 8, "a.THM": 0,
          "b.MP4": 16, "c.MP4": 16}, 'Can\'t copy "b.MP4".', ["b.MP4", "c.MP4"], ["01"]),
         ("wrap", 24, "0 49152 linear D 0\n49152 40960 linear D 4096\n90112 172032 zero",
          {"a.MP4": 6, "b.MP4": 16, "c.MP4": 4}, 'copied: "a.MP4". It', ["a.MP4"], ["02", "03"]),
         ("fail", 128, "0 16384 linear D 0\n16384 245760 flakey D 16384 0 1 1 drop_writes",
          {"a.MP4": 4, "b.MP4": 8, "c.MP4": 4}, 'Can\'t copy "b.MP4".', ["b.MP4", "c.MP4"], ["01"])]
for name, megabytes, table, files, told, left_selected, left_on_card in CASES:
    source, card = f"{os.environ['source']}/{name}", f"/media/card-{name}"
    device = sh(f"mkdir {source} && head -c {megabytes}M /dev/urandom >{source}.img && "
                f"losetup -f --show {source}.img")
    sh(f"dmsetup create --noudevsync {name} && dmsetup mknodes && mkfs.fat -F 32 -s 64 "
       f"/dev/mapper/{name} && mkdir {card} && mount -o flush /dev/mapper/{name} {card} && "
       f"mkdir -p {card}/MP_ROOT/100ANV01", table.replace("D", device) + "\n")
    [open(f"{source}/{f}", "wb").write(os.urandom(m << 20 or 7000)) for f, m in files.items()]
    videos = sorted(f for f in files if f.endswith(".MP4"))
    os.chdir(source)
    w = Window(os.environ["program"], 60)  # a first start in User-Mode Linux is slow
    try:
        w.copy_by_keys(card, "shift+End", videos)
        told in wait_for(f"{name}: not told that the card did not give back", lambda: w.find(
            lambda a: "did not give back" in (a.name or "")), 60).name or fail(f"not {told}")
        w.answer("OK", pace=False)
        wait_for(f"{name}: after one message, not {left_selected} selected, {left_on_card} listed",
                 lambda: w.windows() == 1 and selected(w.source) == left_selected and
                 w.selected.name == str(sum(files[v] for v in left_selected)) and
                 [v[6:8] for v in names(w.videos)] == left_on_card)
    finally:
        w.close()
    sh("sync && echo 3 >/proc/sys/vm/drop_caches")
    for copy in os.listdir(folder := f"{card}/MP_ROOT/100ANV01"):
        original = f"{source}/{videos[int(copy[6:8]) - 1][:-4]}{copy[-4:]}"
        copy.startswith("MAQ") and filecmp.cmp(original, f"{folder}/{copy}", shallow=False) or \
            fail(f"{name}: {copy} is not {original} once the caches are dropped")
PY
    exit 0
fi

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
export program here source stick videos throttle stick_device
on_bus <<'PY'
import filecmp, os, subprocess
import window
from window import fail, wait_for
window.name = "copy_e2e"
stick, videos = os.environ["stick"], os.environ["videos"]
on_stick = lambda start: [name for name in os.listdir(videos) if name.startswith(start)]

# The program started anew, the stick's writes held to a rate (0: not held), copies by keys.
def copy_by_keys(rate, keys, chosen):
    open(os.environ["throttle"], "w").write(f"{os.environ['stick_device']} {rate}")
    w = window.Window(os.environ["program"], 60)  # a first start in User-Mode Linux is slow
    w.copy_by_keys(stick, keys, chosen)
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
# alpha and beta, with their thumbnails, under MAQ names numbered 01 and 02, and nothing else.
held = sorted(os.listdir(videos))
[n[:3] + n[6:] for n in held] == [f"MAQ{n}" for n in ("01.MP4", "01.THM", "02.MP4", "02.THM")] \
    and all(filecmp.cmp(f"{os.environ['source']}/{('alpha', 'beta')[int(n[6:8]) - 1]}{n[-4:]}",
                        f"{videos}/{n}", False) for n in held) or fail(f"the stick holds {held}")
PY
echo "copy_e2e: after a killed copy, two videos and thumbnails intact on $(stat -f -c %T "$stick")"
