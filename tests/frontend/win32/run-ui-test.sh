#!/usr/bin/env bash
# Runs velmora_ui_driver.exe on Velmora.exe under Wine in Xvfb, in a Wine prefix of its own
# where drive P: is a stand-in stick (a folder labelled PSPSTICK) and, as root, Q: one that
# fills up (a 3.5 MB tmpfs, same label). With --slow, P: is instead a stick holding VIDEOS
# videos that answers every request DELAY seconds late, and WAKE seconds late after IDLE
# seconds without one: our FUSE server (tests/e2e/slow_fuse.c, built here for Linux, as the
# build around is for Windows). Exits 77 (skipped) without Xvfb, or for --slow without root,
# FUSE or ImageMagick.
# Usage: run-ui-test.sh DRIVER.exe VELMORA.exe [HOLD-FILE | --slow VIDEOS DELAY [IDLE WAKE]]
#        (HOLD-FILE: see UiDriver.cpp)
set -euo pipefail
driver="$(realpath "$1")" program="$(realpath "$2")" hold="${3:-}"
here="$(dirname "$(realpath "${BASH_SOURCE[0]}")")"
scripts="$here/../../../scripts"
skip() { echo "$*: UI test skipped"; exit 77; }
command -v Xvfb >/dev/null || skip "Xvfb is not installed"
if [ "$hold" = --slow ]; then
    hold="" videos="$4" delay="$5" idle="${6:-0}" wake="${7:-0}"
    [ "$(id -u)" -eq 0 ] && [ -c /dev/fuse ] || skip "not root or no FUSE"
    command -v convert >/dev/null && pkg-config --exists fuse || skip "no ImageMagick or libfuse"
fi
# As root, in a mount namespace of its own without FUSE mounts: Wine's Z: is the whole file
# system and Wine asks the mounts in it about themselves, so a slow stick elsewhere slows this
# test down, and this one's slow stick would slow down Wine's other tests.
if [ "$(id -u)" -eq 0 ] && [ "${VELMORA_IN_NAMESPACE:-}" != 1 ]; then
    VELMORA_IN_NAMESPACE=1 exec unshare -m --propagation private "$0" "$@"
elif [ "${VELMORA_IN_NAMESPACE:-}" = 1 ]; then
    awk '$3 ~ /^fuse/ {print $2}' /proc/mounts | xargs -r -n1 umount -l 2>/dev/null || true
fi
build="$(dirname "$driver")"
while [ "$build" != / ] && [ ! -f "$build/CMakeCache.txt" ]; do build="$(dirname "$build")"; done
source "$scripts/wine-env.sh" "$build/wine-prefix-ui${delay:+-slow}"

scratch="$(mktemp -d /tmp/velmora-ui.XXXXXX)" xvfb_pid="" server=""
cleanup() {
    wineserver -k 2>/dev/null || true
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
    rm -f "$WINEPREFIX/dosdevices/p:" "$WINEPREFIX/dosdevices/q:"
    [ -z "$server" ] || fusermount -u "$scratch/stick" 2>/dev/null || kill "$server" || true
    umount "$scratch/full" 2>/dev/null || true
    rm -rf "$scratch" "$WINEPREFIX"/drive_c/users/*/Temp/velmora-ui-*
}
trap cleanup EXIT
wineserver -k 2>/dev/null || true # a fresh server reads the drive letters anew
mkdir "$scratch/stick" "$scratch/full"
echo PSPSTICK >"$scratch/stick/.windows-label"
ln -sfn "$scratch/stick" "$WINEPREFIX/dosdevices/p:"
args=(p)
if [ -n "${delay:-}" ]; then
    data="$scratch/data" source="$scratch/source"
    mkdir -p "$data/MP_ROOT/100ANV01" "$source"
    mv "$scratch/stick/.windows-label" "$data/"
    convert -size 160x120 xc:red "jpg:$source/clip.THM"
    convert -size 160x120 xc:lime "$source/lime.jpg"
    head -c 1500000 /dev/urandom >"$source/clip.MP4"
    for i in $(seq -f %02g 1 "$videos"); do
        head -c 60000 /dev/urandom >"$data/MP_ROOT/100ANV01/MAQ1${i}01.MP4"
        cp "$source/clip.THM" "$data/MP_ROOT/100ANV01/MAQ1${i}01.THM"
    done
    # shellcheck disable=SC2046 # pkg-config's flags are words
    cc -O2 -o "$scratch/slow_fuse" "$here/../../e2e/slow_fuse.c" $(pkg-config --cflags --libs fuse)
    "$scratch/slow_fuse" "$data" "$scratch/stick" "$delay" "$idle" "$wake" --quick-until-usr1 \
        -o big_writes >/dev/null 2>&1 &
    server=$!
    timeout 30 sh -c "until mountpoint -q '$scratch/stick'; do sleep 0.1; done"
    args+=(--slow "$delay" "$(windows_path "$source")" "$(windows_path "$data/MP_ROOT/100ANV01")"
        "$idle")
elif [ "$(id -u)" -eq 0 ] && mount -t tmpfs -o size=3584k velmora-ui-full "$scratch/full" 2>/dev/null; then
    echo PSPSTICK >"$scratch/full/.windows-label"
    ln -sfn "$scratch/full" "$WINEPREFIX/dosdevices/q:"
    args+=(q)
else
    echo "not root or no tmpfs: the copy onto a full stick is left out"
fi
# The help page opens in Wine's browser, as .html files do in Windows, which hands it to the
# desktop's opener: here a stand-in that writes down what it was asked to open.
wine reg add 'HKCR\.html' /ve /d htmlfile /f >/dev/null 2>&1
mkdir "$scratch/bin" && printf '#!/bin/sh\necho "$1" >%s/opened\n' "$scratch" >"$scratch/bin/xdg-open"
chmod +x "$scratch/bin/xdg-open"
export PATH="$scratch/bin:$PATH" VELMORA_UI_OPENED="$(windows_path "$scratch/opened")"
start_xvfb
[ -z "$hold" ] || { echo "$DISPLAY" >"$hold.display"; args+=(--hold "$(windows_path "$hold")"); }
wine "$driver" "$(windows_path "$program")" "${args[@]}" &
driver_pid=$!
if [ -n "${delay:-}" ]; then
    # The stick slows down once Wine's desktop is up (see UiDriver.cpp).
    timeout 120 sh -c "until [ -e '$source/.desktop-up' ]; do sleep 0.1; done" || true
    kill -USR1 "$server"
    rm -f "$source/.desktop-up"
fi
wait "$driver_pid"
