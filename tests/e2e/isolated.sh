# Sourced, with the test's name and the tools it needs, by a test that sets $program and mounts
# sticks: skips it (exit 77) without root, a tool, FUSE or pyatspi; otherwise runs it again in a
# mount namespace of its own, whose /mnt, /media and /run/media start empty and vanish with it.
test_name=$1
if [ "${VELMORA_IN_NAMESPACE:-}" != 1 ]; then
    skip() { echo "$test_name: skipped: $*"; exit 77; }
    [ "$(id -u)" -eq 0 ] || skip "mounting needs root"
    for tool in unshare xvfb-run xdotool dbus-run-session "${@:2}"; do
        command -v "$tool" >/dev/null || skip "no $tool"
    done
    [ -c /dev/fuse ] || skip "the kernel has no FUSE"
    /usr/bin/python3 -c "import pyatspi" 2>/dev/null || skip "no pyatspi"
    VELMORA_IN_NAMESPACE=1 exec unshare -m --propagation private "$0" "$program"
fi
mkdir -p /media
for folder in /mnt /media /run/media; do [ ! -d "$folder" ] || mount -t tmpfs none "$folder"; done

# Waits for a FUSE server started in the background to mount its stick.
mounted() { timeout 30 sh -c "until mountpoint -q '$1'; do sleep 0.1; done"; }
# Ends a FUSE stick's server (mount point, server): a stopped one would hold the unmount up for
# good, and a busy stick goes with its server.
stop_server() {
    [ -n "$2" ] || return 0
    kill -CONT "$2" 2>/dev/null && umount "$1" 2>/dev/null || kill "$2" 2>/dev/null || true
    wait "$2" || true
}
# Runs a Python script from standard input, which can import window.py, under a virtual X
# server and a session bus of their own.
on_bus() {
    # Without -noreset the server resets when its last client leaves, as pyatspi's look-up of
    # the bus does, and a program connecting meanwhile fails to start.
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 PYTHONPATH="$(dirname "${BASH_SOURCE[0]}")" \
        xvfb-run -a -s "-noreset -screen 0 1024x768x24" dbus-run-session -- /usr/bin/python3 -
}
