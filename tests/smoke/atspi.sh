#!/usr/bin/env bash
# What a screen reader reads, through the AT-SPI bus: the program runs on a virtual X server
# with a 64 MB stand-in stick mounted at /mnt/psp in a mount namespace of its own; after the
# stick is picked in the drive list, the free-space figure reads "64", labelled by
# "Free space (MB):", with its text on the bus too. Usage: atspi.sh <path to velmora>
# Exits 77 (skipped) when it cannot make the mount namespace. Debian's python3 has pyatspi.
set -euo pipefail
program="$(realpath "${1:?usage: $0 <path to velmora>}")"
[ "${VELMORA_IN_NAMESPACE:-}" = 1 ] || {
    user=(); [ "$(id -u)" -eq 0 ] || user=(-r)
    unshare "${user[@]}" -m true 2>/dev/null || { echo "atspi: skipped: no mount namespace"; exit 77; }
    VELMORA_IN_NAMESPACE=1 exec unshare "${user[@]}" -m "$0" "$program"
}
mount -t tmpfs none /mnt && mkdir /mnt/psp && mount -t tmpfs -o size=64m psp /mnt/psp
mkdir -p /mnt/psp/MP_ROOT/100ANV01 && cd /mnt
export program QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
exec xvfb-run -a -s "-screen 0 1024x768x24" dbus-run-session -- /usr/bin/python3 - <<'PY'
import os, subprocess, sys, time
import pyatspi

def wait_for(what, find, seconds=20):
    for _ in range(seconds * 10):
        found = find()
        if found:
            return found
        time.sleep(0.1)
    sys.exit(f"atspi: {what}")

def first(node, test):
    return node if test(node) else next(filter(None, (first(c, test) for c in node if c)), None)

program = subprocess.Popen([os.environ["program"]])
try:
    desktop = pyatspi.Registry.getDesktop(0)
    app = wait_for("Velmora is not on the bus",
                   lambda: next((a for a in desktop if a and a.name == "Velmora"), None))
    free = first(app, lambda a: a.description == "Free space on the PSP in megabytes")
    drives = first(app, lambda a: a.getRole() == pyatspi.ROLE_COMBO_BOX)
    # A click where the bus says the drive list is opens it; Escape closes it with the focus
    # there, and Down steps from / to the stick.
    box = drives.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    for keys in (["mousemove", str(box.x + box.width // 2), str(box.y + box.height // 2),
                  "click", "1"], ["key", "Escape"], ["key", "Down"]):
        subprocess.run(["xdotool", *keys], check=True)
        time.sleep(0.5)
    wait_for(f"freePSP reads {free.name!r}, not 64", lambda: free.name == "64")
    labels = [r.getTarget(0).name for r in free.getRelationSet()
              if r.getRelationType() == pyatspi.RELATION_LABELLED_BY]
    if "Free space (MB):" not in labels or free.queryText().getText(0, -1) != "64":
        sys.exit(f"atspi: freePSP labelled by {labels}, with no text 64")
    print(f"atspi: freePSP reads {free.name}, labelled by {labels}")
finally:
    program.terminate()
PY
