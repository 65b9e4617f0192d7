#!/usr/bin/env bash
# Runs one command inside User-Mode Linux, whose kernel has the vfat driver that this machine's
# may lack, with this machine's files as its root, and exits with the command's status.
# Usage: uml-run.sh COMMAND [ARG]...
# The command runs as root in the working folder, with /tmp, /run, /dev/shm and /media on
# tmpfs of the guest's own (but for the folders under /tmp that hold it or its arguments), HOME and XDG_RUNTIME_DIR under /run, and the caller's VELMORA_*
# variables. Every other folder is this machine's; the guest powers off without a sync, so
# only what the command flushed there is kept. Exits 77 when User-Mode Linux can't start here.
# The same file is the guest's first process: then it sets the guest up and runs the command.
set -uo pipefail

if [ $$ -eq 1 ]; then
    export PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
    job="$VELMORA_UML_JOB"
    mount -t proc proc /proc && mount -t sysfs sysfs /sys
    mountpoint -q /dev || mount -t devtmpfs devtmpfs /dev
    mkdir -p /dev/shm /dev/pts && mount -t devpts devpts /dev/pts
    for folder in /tmp /run /dev/shm /media; do
        mount -t tmpfs -o mode=1777 tmpfs "$folder"
    done
    folder="$(cat "$job/folder")"
    mapfile -d '' command <"$job/command"
    # A checkout under /tmp is this machine's: the guest's /tmp would hide it, so its folder
    # is mounted there again from the host.
    for path in "$folder" "${command[@]}"; do
        [[ "$path" == /tmp/?* ]] || continue
        rest="${path#/tmp/}" && top="/tmp/${rest%%/*}"
        mountpoint -q "$top" || { mkdir -p "$top" && mount -t hostfs -o "$top" hostfs "$top"; }
    done
    modules="/usr/lib/uml/modules/$(uname -r)/kernel"
    for module in fs/fat/fat fs/fat/vfat fs/nls/nls_cp437 fs/nls/nls_iso8859-1 fs/nls/nls_utf8 \
        fs/fuse/fuse drivers/block/loop drivers/md/dm-mod drivers/md/dm-zero \
        drivers/md/dm-flakey; do
        insmod "$modules/$module.ko" || echo "uml-run: can't load $module"
    done
    # Mounting a cgroup v1 hierarchy lets a test hold a device's writes to a rate.
    mount -t tmpfs cgroup /sys/fs/cgroup && mkdir /sys/fs/cgroup/blkio &&
        mount -t cgroup -o blkio blkio /sys/fs/cgroup/blkio
    : >"$job/booted" && sync "$job/booted"
    export HOME=/run/home XDG_RUNTIME_DIR=/run/user
    while IFS= read -r -d '' variable; do export "$variable"; done <"$job/environment"
    mkdir -p -m 0700 "$HOME" "$XDG_RUNTIME_DIR"
    cd "$folder" && "${command[@]}"
    echo $? >"$job/status" && sync "$job/status"
    echo o >/proc/sysrq-trigger
    sleep 10
    exit 1
fi

[ $# -gt 0 ] || { echo "usage: $0 COMMAND [ARG]..." >&2; exit 2; }
kernel="$(command -v linux.uml)" || { echo "uml-run: skipped: no linux.uml (user-mode-linux)"; exit 77; }
job="$(mktemp -d /var/tmp/velmora-uml-XXXXXX)"
trap 'rm -rf "$job"' EXIT
pwd >"$job/folder"
printf '%s\0' "$@" >"$job/command"
for name in ${!VELMORA_@}; do printf '%s=%s\0' "$name" "${!name}"; done >"$job/environment"
# The guest's memory lives in a file under TMPDIR: in memory where /dev/shm has room for it.
# The console goes to standard output with its carriage returns dropped.
memory=1536
room="$(df -k --output=avail /dev/shm 2>/dev/null | tail -n 1)"
[ "${room:-0}" -gt $((memory * 1024)) ] && export TMPDIR=/dev/shm
timeout "${VELMORA_UML_TIMEOUT:-600}" "$kernel" mem="${memory}M" \
    root=/dev/root rootfstype=hostfs rootflags=/ rw quiet con0=null,fd:1 con=null \
    init="$(realpath "$0")" VELMORA_UML_JOB="$job" </dev/null | tr -d '\r'
[ -f "$job/booted" ] || { echo "uml-run: skipped: User-Mode Linux did not start here"; exit 77; }
[ -f "$job/status" ] || { echo "uml-run: the command did not end" >&2; exit 1; }
exit "$(cat "$job/status")"
