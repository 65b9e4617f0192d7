"""The real window as the end-to-end tests drive it: read through the accessibility bus as a
screen reader does, clicked and typed into with xdotool; the half second after an input paces."""
import os, subprocess, sys, time
import pyatspi

NOT_FOUND = "Video directory not found!"
name = "e2e"  # the test's name, before each failure it reports

def fail(what):
    sys.exit(f"{name}: {what}")

def wait_for(what, find, seconds=20, meanwhile=lambda: None, every=0.1):
    end = time.monotonic() + seconds
    while not (found := find()):
        meanwhile()
        if time.monotonic() > end:
            fail(what)
        time.sleep(every)
    return found

def first(node, test):
    return node if test(node) else next(filter(None, (first(c, test) for c in node if c)), None)

def names(node):
    return [item.name for item in node if item]

def texts(node):  # every name in the node's tree, as a screen reader reads it out
    return [node.name] * bool(node.name) + [t for child in node if child for t in texts(child)]

def has(state):  # a test of whether a node is in that state now
    return lambda node: node.getState().contains(state)

showing, focused = has(pyatspi.STATE_SHOWING), has(pyatspi.STATE_FOCUSED)
enabled = has(pyatspi.STATE_ENABLED)  # a button that takes a click or a key now
selected = lambda l: [i.name for i in l if i and has(pyatspi.STATE_SELECTED)(i)]
# Keys go where the focus is, never with --window: xdotool sends those to a window without the
# focus as synthetic events, and a synthetic release leaves the key held for the X server, which
# then drops the key's next press (the release of a Ctrl-C that brought up a question did so).
def run(*command, shell=False, pace=True):
    subprocess.run(command[0] if shell else ["xdotool", *command], shell=shell, check=True)
    time.sleep(0.5 if pace else 0)

def click(node, pace=True):
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    run("mousemove", str(box.x + box.width // 2), str(box.y + box.height // 2), "click", "1",
        pace=pace)

# The bus can tell of a window before the X server shows it, and a click would go below it.
def on_screen(title):
    subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", f"^{title}$"],
                   check=True, stdout=subprocess.DEVNULL)

class Window:  # the program started anew, with the controls the tests read
    def __init__(self, program, seconds=20):
        self.started, self.slowest = time.monotonic(), 0.0
        self.process = subprocess.Popen([program])
        desktop = pyatspi.Registry.getDesktop(0)
        self.app = wait_for("Velmora is not on the bus", lambda: next(
            (a for a in desktop if a and a.name == "Velmora"), None), seconds)
        self.shown = time.monotonic() - self.started
        on_screen("Velmora")
        self.drives, self.videos, self.source, self.free, self.selected = (
            self.find(lambda a, d=d: a.description == d)
            for d in ("PSP drive", "PSP videos", "Source videos",
                      "Free space on the PSP in megabytes", "Selected source size in megabytes"))

    def find(self, test):
        return first(self.app, test)
    def windows(self):
        return sum(1 for w in self.app if w and showing(w))
    def listed(self, mount):
        return any(e.startswith(mount + " ") for e in names(self.drives[0]))
    def item(self, listing, text):
        return first(listing, lambda a: a.name == text)

    def open_drives(self):
        click(self.drives, pace=False)
        wait_for("the drive list does not open", lambda: showing(self.drives[0]))

    def ask(self, *keys):  # keys that bring up a question
        for key in keys:
            run("key", key)
        wait_for(f"{keys[-1]} asked nothing", lambda: self.windows() == 2)

    # A click opens the drive list, one on the entry picks it. (Typing the entry's text finds
    # another where the keys come further apart than the list's typing interval.)
    def pick(self, mount):
        self.open_drives()
        click(first(self.drives[0], lambda entry: entry.name.startswith(mount + " ")))

    # Picks the stick and copies what the keys select from the first video, each step once shown.
    def copy_by_keys(self, stick, keys, chosen):
        self.pick(stick)
        wait_for(f"picking {stick} did not show its free space", lambda: self.drives.name
                 .startswith(stick + " ") and self.free.name not in ("", "0"))
        click(self.item(self.source, start := names(self.source)[0]), pace=False)
        wait_for(f"a click on {start} did not select it in the focused list",
                 lambda: focused(self.source) and selected(self.source) == [start])
        run("key", *keys.split(), pace=False)
        megabytes = str(sum(os.path.getsize(video) >> 20 for video in chosen))
        wait_for(f"{keys} did not select {chosen}, {megabytes} MB",
                 lambda: selected(self.source) == chosen and self.selected.name == megabytes)
        self.ask("ctrl+c")
        on_screen("Confirm Copy")
        self.answer("Yes", pace=False)

    # A screen reader's question, asked while the window waits on a stick, is answered within
    # half a second; slowest keeps the longest wait.
    def answers(self, during=""):
        asked = time.monotonic()
        try:
            self.free.queryText().getText(0, -1)
        finally:
            if (slowest := max(self.slowest, time.monotonic() - asked)) > 0.5:
                fail(f"the window took {slowest:.1f} s to answer a screen reader{during}")
            self.slowest = slowest

    # A stick that answers again just now may not yet have answered the call left waiting, and
    # is then told gone once more (then: how the test answers that): it is picked again. A slow
    # stick's waiting window may show before either.
    def pick_again(self, mount, shown, then=None, seconds=60):
        told = lambda: self.find(lambda a: a.name == NOT_FOUND and showing(a))
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            self.pick(mount)
            wait_for(f"picking {mount} showed neither its videos nor a message",
                     lambda: told() or self.windows() == 1 and shown(), seconds)
            if not told():
                return
            print(f"{name}: {mount} not found yet, picked again")
            (then or self.told_gone)()
            time.sleep(1)
        fail(f"{mount} is not found although it answers")

    def answer(self, button, meanwhile=lambda: None, pace=True, key=None):  # or by its key
        found = wait_for(f"no {button} button", lambda: self.find(
            lambda a: a.name == button and enabled(a)), 20, meanwhile)
        run("key", key, pace=pace) if key else click(found, pace)

    # The picked stick went or stopped answering: told once, PSP side cleared, no drive current.
    def told_gone(self, meanwhile=lambda: None, seconds=20):
        wait_for(f"not told within {seconds} s that the video folder is gone",
                 lambda: self.find(lambda a: a.name == NOT_FOUND), seconds, meanwhile)
        self.answer("OK")
        self.cleared(meanwhile)

    def cleared(self, meanwhile=lambda: None):
        wait_for("the PSP side stayed", lambda: self.windows() == 1 and not names(self.videos)
                 and self.free.name == "0" and self.drives.name[:1] != "/", 20, meanwhile)

    def close(self):
        self.process.terminate()
        self.process.wait()
