#!/usr/bin/env bash
# Cards that take writes and give other bytes back, built from the kernel's device mapper under
# a FAT32 file system that the kernel's vfat driver mounts, and three videos copied onto each
# through the real window on a virtual X server, read through the accessibility bus:
# - a card that claims 128 MB and keeps 20 (linear over the image, then zero): the video that
#   fits is copied, the one that crosses the limit is not, and the run stops there;
# - a card that wraps around (a second stretch over the image's own data): the last video
#   overwrites the first, which is found once the run's last video is done;
# - a failing card, which drops every write past 8 MB (dm-flakey): what was there before comes
#   back, as from a worn card whose writes no longer stick.
# Each time the user is told once, the videos not copied or lost stay or are selected again,
# the PSP list shows what is on the card, and once the caches are dropped every MAQ file there
# matches its source. velmora_fake_card_e2e runs this in User-Mode Linux, whose kernel has the
# vfat driver and the device mapper's modules.
# Usage: fake_card_e2e.sh <path to velmora>. Exits 77 (skipped) without root or its tools.
set -euo pipefail
program="$(realpath "${1:?usage: $0 <path to velmora>}")"
here="$(dirname "$(realpath "$0")")"
skip() { echo "fake_card_e2e: skipped: $*"; exit 77; }
if [ -z "${VELMORA_E2E_DISPLAY:-}" ]; then
    [ "$(id -u)" -eq 0 ] || skip "mounting needs root"
    for tool in xvfb-run xdotool dbus-run-session dmsetup losetup mkfs.fat; do
        command -v "$tool" >/dev/null || skip "no $tool"
    done
    /usr/bin/python3 -c "import pyatspi" 2>/dev/null || skip "no pyatspi"
    modules="/usr/lib/uml/modules/$(uname -r)/kernel/drivers/md"
    for module in dm-mod dm-zero dm-flakey; do
        [ -d "/sys/module/${module//-/_}" ] || insmod "$modules/$module.ko" 2>/dev/null ||
            skip "no $module module (velmora_fake_card_e2e runs this in User-Mode Linux)"
    done
    VELMORA_E2E_DISPLAY=1 exec xvfb-run -a -s "-noreset -screen 0 1024x768x24" \
        dbus-run-session -- "$0" "$program"
fi

scratch="$(mktemp -d)"
cleanup() {
    for card in /media/card-*; do
        [ ! -d "$card" ] || umount "$card" 2>/dev/null || true
    done
    dmsetup remove_all --noudevsync 2>/dev/null || true
    losetup -D 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT
export program scratch
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 PYTHONPATH="$here" /usr/bin/python3 - <<'PY'
import filecmp, os, subprocess
import pyatspi
import window
from window import click, fail, names, on_screen, run, wait_for
window.name = "fake_card_e2e"
scratch = os.environ["scratch"]
MB = 1 << 20
sh = lambda command, stdin=None: subprocess.run(
    command, shell=True, check=True, input=stdin, text=True, capture_output=True).stdout.strip()
has = lambda node, state: node.getState().contains(state)
selected = lambda listing: [i.name for i in listing if i and has(i, pyatspi.STATE_SELECTED)]

# What the device mapper makes of the image on `device` (in sectors of 512 bytes): each card
# claims 128 MB.
CLAIMED = 128 * 2048
def dropping(device):  # keeps 20 MB; writes past them are dropped, reads give zeros
    return f"0 40960 linear {device} 0\n40960 {CLAIMED - 40960} zero\n"
def wrapping(device):  # past 24 MB, writes land on the image from 2 MB on, over earlier data
    return f"0 49152 linear {device} 0\n49152 40960 linear {device} 4096\n" \
           f"90112 {CLAIMED - 90112} zero\n"
def failing(device):  # writes past 8 MB are dropped
    return f"0 16384 linear {device} 0\n" \
           f"16384 {CLAIMED - 16384} flakey {device} 16384 0 1 1 drop_writes\n"

# The card, its image's megabytes, the videos (name: megabytes; a thumbnail of a few
# kilobytes where noted), what the user is told, the videos selected afterwards and the
# positions of the MAQ videos left on the card.
CASES = [
    ("drop", dropping, 20, {"a.MP4": 8, "a.THM": 0, "b.MP4": 16, "c.MP4": 16},
     'Can\'t copy "b.MP4".', ["b.MP4", "c.MP4"], ["01"]),
    ("wrap", wrapping, 24, {"a.MP4": 6, "b.MP4": 16, "c.MP4": 4},
     'after they were copied: "a.MP4". It may be failing', ["a.MP4"], ["02", "03"]),
    ("fail", failing, CLAIMED // 2048, {"a.MP4": 4, "b.MP4": 8, "c.MP4": 4},
     'Can\'t copy "b.MP4".', ["b.MP4", "c.MP4"], ["01"]),
]

def make_card(name, table, megabytes):  # a used card: what it held before is no video
    image = f"{scratch}/{name}.img"
    sh(f"head -c {megabytes}M /dev/urandom >{image}")
    device = sh(f"losetup -f --show {image}")
    sh(f"dmsetup create --noudevsync card-{name}", table(device))
    sh("dmsetup mknodes")
    card = f"/media/card-{name}"
    sh(f"mkfs.fat -F 32 -s 64 /dev/mapper/card-{name} && mkdir -p {card} && mount -o "
       f"uid=0,gid=0,shortname=mixed,utf8,showexec,flush /dev/mapper/card-{name} {card} && "
       f"mkdir -p {card}/MP_ROOT/100ANV01")
    return card

for name, table, megabytes, files, told, left_selected, left_on_card in CASES:
    source = f"{scratch}/{name}"
    os.makedirs(source)
    for file, size in files.items():
        with open(f"{source}/{file}", "wb") as out:
            out.write(os.urandom(size * MB or 7000))
    videos = sorted(f for f in files if f.endswith(".MP4"))
    card = make_card(name, table, megabytes)
    folder = f"{card}/MP_ROOT/100ANV01"
    os.chdir(source)
    w = window.Window(os.environ["program"], 60)  # a first start in User-Mode Linux is slow
    try:
        w.pick(card)
        wait_for(f"picking {card} did not show its free space",
                 lambda: w.drives.name.startswith(card + " ") and w.free.name not in ("", "0"))
        click(w.item(w.source, videos[0]), pace=False)
        wait_for(f"a click on {videos[0]} did not select it in the focused list",
                 lambda: has(w.source, pyatspi.STATE_FOCUSED) and selected(w.source) == videos[:1])
        run("key", "shift+End", pace=False)
        figure = lambda chosen: str(sum(files[video] for video in chosen))
        wait_for(f"{name}: shift+End did not select every video",
                 lambda: selected(w.source) == videos and w.selected.name == figure(videos))
        run("key", "ctrl+c", pace=False)
        wait_for("Ctrl-C asked no question", lambda: w.windows() == 2)
        on_screen("Confirm Copy")
        w.answer("Yes", pace=False)
        message = wait_for(f"{name}: the user was not told that the card did not give back",
                           lambda: w.find(lambda a: "did not give back" in (a.name or "")), 60)
        if told not in message.name:
            fail(f"{name}: told {message.name!r}, not {told!r}")
        w.answer("OK", pace=False)
        on_card = sorted(f"MAQ{position}.MP4" for position in left_on_card)
        wait_for(f"{name}: after one message, the window did not show {left_selected} selected "
                 f"and the card's videos ending in {left_on_card}",
                 lambda: w.windows() == 1 and selected(w.source) == left_selected
                 and w.selected.name == figure(left_selected)
                 and [v[:3] + v[6:] for v in names(w.videos)] == on_card)
    finally:
        w.close()
    sh("sync && echo 3 >/proc/sys/vm/drop_caches")
    for copy in os.listdir(folder):
        if not copy.startswith("MAQ"):
            fail(f"{name}: the card holds {copy}")
        original = f"{source}/{videos[int(copy[6:8]) - 1][:-4]}{copy[-4:]}"
        if not filecmp.cmp(original, f"{folder}/{copy}", shallow=False):
            fail(f"{name}: {copy} differs from {original} once the caches are dropped")
    print(f"fake_card_e2e: {name}: told once, {left_selected} selected, "
          f"{sorted(os.listdir(folder))} whole on the card")
PY
