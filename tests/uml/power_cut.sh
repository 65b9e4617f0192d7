#!/usr/bin/env bash
# Power cuts, without a sync, on a FAT stick (FAT16 and FAT32) in User-Mode Linux, whose kernel
# has the vfat driver; the stick mounted as a desktop's automounter mounts it (flush) and as
# fstab or a hand does (plain). Read from outside afterwards:
# - cut the moment a copy of a video and its thumbnail returns: the stick holds both whole under
#   their names, nothing else, and no lost cluster;
# - cut in the middle of the next video's copy: the first video and its thumbnail stay whole, and
#   once the stick is mounted again and one more video is copied, the folder holds only whole
#   videos and thumbnails, and fsck.fat finds nothing that the cut itself did not leave.
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
    to="$stick/$folder/MAQ123"
    case "$VELMORA_POWER_CUT_AT" in
    end) exec "$copy" "$src/clip.MP4" "${to}01.MP4" "$src/clip.THM" "${to}01.THM" ;;
    next) exec "$copy" "$src/clip.MP4" "${to}03.MP4" "$src/clip.THM" "${to}03.THM" ;;
    middle)
        "$copy" "$src/clip.MP4" "${to}01.MP4" "$src/clip.THM" "${to}01.THM"
        # At 8 MB a second the big video takes four seconds, and the cut comes two seconds in.
        # With writeback every half second instead of every five, the stick then holds what a
        # long copy's has half a minute in: the temporary's entry and part of its clusters.
        echo "$(stat -c %Hr:%Lr "$device") 8000000" \
            >/sys/fs/cgroup/blkio/blkio.throttle.write_bps_device
        echo 50 >/proc/sys/vm/dirty_writeback_centisecs
        echo 50 >/proc/sys/vm/dirty_expire_centisecs
        "$copy" "$src/big.MP4" "${to}02.MP4" &
        while kill -0 $! 2>/dev/null; do
            if [ -n "$(find "$stick/$folder" -name '.velmora-copy-*' -size +16M)" ]; then
                : >"$src/cut" && sync "$src/cut"
                echo o >/proc/sysrq-trigger
                sleep 10
            fi
        done
        exit 1 ;;
    esac
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

# guest IMAGE MOUNT-OPTIONS MOMENT: mounts the stick in a guest and copies onto it (see above).
guest() {
    local status=0
    VELMORA_POWER_CUT_IMAGE="$1" VELMORA_POWER_CUT_MOUNT="$2" VELMORA_POWER_CUT_AT="$3" \
        "$uml" "$0" "$copy" "$uml" || status=$?
    [ "$status" -ne 77 ] || exit 77
    return "$status"
}
names() { mdir -i "$1" -a -b "::$folder" | sed 's|.*/||' | sort | tr '\n' ' '; }
# whole IMAGE RUN NUMBER...: the stick's MAQ123<NUMBER> video and thumbnail are clip's.
whole() {
    local image="$1" run="$2" number file
    shift 2
    for number in "$@"; do
        for file in MP4 THM; do
            mcopy -n -i "$image" "::$folder/MAQ123$number.$file" "$work/back.$file"
            cmp "$work/clip.$file" "$work/back.$file" || fail "$run: MAQ123$number.$file is not whole"
        done
    done
}
# A power cut leaves the volume marked as in use (offset 65 of the boot sector, which its backup
# doesn't mark) and FAT32's free-cluster count, a hint that only an unmount or a whole sync
# writes, behind. Anything else fsck finds is a fault.
faults() {
    fsck.fat -n "$1" 2>&1 | sed '/Free cluster summary wrong/{N;d}' |
        grep -v -e '^fsck.fat ' -e 'Dirty bit' -e 'removing dirty bit' \
            -e 'differences between boot sector and its backup' -e 'mostly harmless' \
            -e '^  65:01/00$' -e 'Not automatically fixing' -e "^$1: " \
            -e '^Leaving filesystem' -e '^ *$' || true
}

# new_stick IMAGE FAT: an empty stick with a video folder.
new_stick() {
    rm -f "$1"
    mkfs.fat -C -F "$2" "$1" 65536 >/dev/null
    mmd -i "$1" ::MP_ROOT "::$folder"
}

for mount in ,flush ""; do
    for fat in 16 32; do
        run="FAT$fat, $([ -n "$mount" ] && echo flush || echo plain) mount"
        image="$work/stick$fat.img"
        new_stick "$image" "$fat"
        guest "$image" "$mount" end || fail "$run: the copy failed"
        [ "$(names "$image")" = "MAQ12301.MP4 MAQ12301.THM " ] ||
            fail "$run: the stick holds: $(names "$image")"
        whole "$image" "$run" 01
        [ -z "$(faults "$image")" ] || fail "$run: fsck.fat finds: $(faults "$image")"
        echo "power_cut: $run: video and thumbnail whole after the power cut, no lost cluster"

        [ "$fat" -eq 32 ] || continue
        run="$run, cut mid-copy"
        new_stick "$image" "$fat"
        rm -f "$work/cut"
        guest "$image" "$mount" middle || true
        [ -f "$work/cut" ] || fail "$run: the power was not cut mid-copy"
        whole "$image" "$run" 01
        faults "$image" >"$work/cut.faults"
        left="$(names "$image")"
        guest "$image" "$mount" next || fail "$run: the copy after the cut failed"
        [ "$(names "$image")" = "MAQ12301.MP4 MAQ12301.THM MAQ12303.MP4 MAQ12303.THM " ] ||
            fail "$run: the stick holds: $(names "$image")"
        whole "$image" "$run" 01 03
        new="$(faults "$image" | grep -vxF -f "$work/cut.faults" || true)"
        [ -z "$new" ] || fail "$run: fsck.fat finds after the next copy: $new"
        echo "power_cut: $run: the cut left $left($(wc -l <"$work/cut.faults") lines from" \
            "fsck.fat); after the next copy whole videos and thumbnails only, nothing new"
    done
done
