#!/usr/bin/env bash
# Power cuts, without a sync, on a FAT stick (FAT16 and FAT32) in User-Mode Linux, whose kernel
# has the vfat driver; the stick mounted as a desktop's automounter mounts it (flush) and as
# fstab or a hand does (plain). Read from outside afterwards:
# - cut the moment a copy of a video and its thumbnail returns: the stick holds both whole under
#   their names, nothing else, and no lost cluster;
# - FAT32: cut in the middle of the next video's copy: the first video and its thumbnail stay
#   whole, and once the stick is mounted again and one more video is copied, the folder holds
#   only whole videos and thumbnails, and fsck.fat finds nothing that the cut did not leave.
# Usage: power_cut.sh <copy_files> <uml-run.sh>. Exits 77 (skipped) where it can't run.
set -euo pipefail
copy="$(realpath "${1:?usage: $0 <copy_files> <uml-run.sh>}")"
uml="$(realpath "${2:?usage: $0 <copy_files> <uml-run.sh>}")"
folder=MP_ROOT/100ANV01

if [ -n "${VELMORA_POWER_CUT_IMAGE:-}" ]; then  # inside: copy, and cut the power
    stick=/media/stick
    mkdir -p "$stick"
    device="$(losetup -f --show "$VELMORA_POWER_CUT_IMAGE")"
    mount -o "uid=0,gid=0,shortname=mixed,utf8,showexec$VELMORA_POWER_CUT_MOUNT" "$device" "$stick"
    src="$(dirname "$VELMORA_POWER_CUT_IMAGE")"
    to="$stick/$folder/MAQ123$VELMORA_POWER_CUT_VIDEO"
    [ "$VELMORA_POWER_CUT_VIDEO" = 02 ] || exec "$copy" "$src/clip.MP4" "$to.MP4" "$src/clip.THM" "$to.THM"
    # At 8 MB a second the big video takes four seconds, and the cut comes two seconds in. With
    # writeback every half second instead of every five, the stick then holds what a long
    # copy's holds half a minute in: the temporary's entry and part of its clusters.
    echo "$(stat -c %Hr:%Lr "$device") 8000000" >/sys/fs/cgroup/blkio/blkio.throttle.write_bps_device
    echo 50 >/proc/sys/vm/dirty_writeback_centisecs && echo 50 >/proc/sys/vm/dirty_expire_centisecs
    "$copy" "$src/big.MP4" "$to.MP4" &
    while kill -0 $! 2>/dev/null; do
        [ -z "$(find "$stick/$folder" -name '.velmora-copy-*' -size +16M)" ] && continue
        : >"$src/cut" && sync "$src/cut" && echo o >/proc/sysrq-trigger && sleep 10
    done
    exit 1
fi

for tool in mkfs.fat fsck.fat mcopy mdir mmd; do
    command -v "$tool" >/dev/null || { echo "power_cut: skipped: no $tool (mtools, dosfstools)"; exit 77; }
done
fail() { echo "power_cut: $*" >&2; exit 1; }
# Outside /tmp, which is the guest's own.
work="$(mktemp -d /var/tmp/velmora-power-cut-XXXXXX)"
trap 'rm -rf "$work"' EXIT
head -c 5000000 /dev/urandom >"$work/clip.MP4"
head -c 7000 /dev/urandom >"$work/clip.THM"
head -c 32000000 /dev/urandom >"$work/big.MP4"

# copy VIDEO: copies clip as MAQ123<VIDEO> in a guest, or with 02 the big video, cut midway.
copy() {
    VELMORA_POWER_CUT_IMAGE="$image" VELMORA_POWER_CUT_MOUNT="$mount" VELMORA_POWER_CUT_VIDEO="$1" \
        "$uml" "$0" "$copy" "$uml" || { local status=$?; [ $status -ne 77 ] || exit 77; return $status; }
}
# holds VIDEO...: the folder holds exactly these videos with their thumbnails, each clip's.
holds() {
    local names="" video file
    for video in "$@"; do names+="MAQ123$video.MP4 MAQ123$video.THM "; done
    [ "$(mdir -i "$image" -a -b "::$folder" | sed 's|.*/||' | sort | tr '\n' ' ')" = "$names$others" ] ||
        fail "$run: the stick holds: $(mdir -i "$image" -a -b "::$folder" | tr '\n' ' ')"
    for file in $names; do
        mcopy -n -i "$image" "::$folder/$file" "$work/back"
        cmp "$work/clip.${file#*.}" "$work/back" || fail "$run: $file is not whole"
    done
}
# A power cut leaves the volume marked as in use (offset 65 of the boot sector, which its backup
# doesn't mark) and FAT32's free-cluster count, a hint that only an unmount or a whole sync
# writes, behind. Anything else fsck finds is a fault.
faults() {
    fsck.fat -n "$image" 2>&1 | sed '/Free cluster summary wrong/{N;d}' |
        grep -v -e '^fsck.fat ' -e 'Dirty bit' -e 'removing dirty bit' \
            -e 'differences between boot sector and its backup' -e 'mostly harmless' \
            -e '^  65:01/00$' -e 'Not automatically fixing' -e "^$image: " \
            -e '^Leaving filesystem' -e '^ *$' || true
}

# Eleven files in the folder first, so that a copy's temporary ends the folder's first sector
# and its name lands in the next: only the folder's sync then puts the temporary's removal there.
others="$(printf 'OTHER%s.THM ' $(seq 10 20))"
for mount in ,flush ""; do
    for fat in 16 32; do
        run="FAT$fat, $([ -n "$mount" ] && echo flush || echo plain) mount"
        image="$work/stick$fat.img"
        rm -f "$image" "$work/cut"
        mkfs.fat -C -F "$fat" "$image" 65536 >/dev/null
        mmd -i "$image" ::MP_ROOT "::$folder"
        for file in $others; do mcopy -i "$image" "$work/clip.THM" "::$folder/$file"; done
        copy 01 || fail "$run: the copy failed"
        holds 01
        [ -z "$(faults)" ] || fail "$run: fsck.fat finds: $(faults)"
        echo "power_cut: $run: video and thumbnail whole after the power cut, no lost cluster"
        [ "$fat" -eq 32 ] || continue

        copy 02 || [ -f "$work/cut" ] || fail "$run: the power was not cut mid-copy"
        [[ "$(mdir -i "$image" -a -b "::$folder")" == *velmora-copy* ]] || fail "$run: the cut left no temporary"
        faults >"$work/cut.faults"
        copy 03 || fail "$run: the copy after the cut mid-copy failed"
        holds 01 03
        new="$(faults | grep -vxF -f "$work/cut.faults" || true)"
        [ -z "$new" ] || fail "$run: after the cut mid-copy and the next copy, fsck.fat finds: $new"
        echo "power_cut: $run, cut mid-copy: the next copy leaves only whole videos, no new fault"
    done
done
