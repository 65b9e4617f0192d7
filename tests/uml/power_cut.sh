#!/usr/bin/env bash
# A video and its thumbnail are copied onto a FAT stick (FAT16 and FAT32) in User-Mode Linux,
# whose kernel has the vfat driver, and the power is cut, without a sync, the moment the copy
# returns. Read from outside afterwards, the stick must hold both whole under their names,
# nothing else, and no lost cluster.
# Usage: power_cut.sh <copy_files> <uml-run.sh>. Exits 77 (skipped) where it can't run.
set -euo pipefail
copy="$(realpath "${1:?usage: $0 <copy_files> <uml-run.sh>}")"
uml="$(realpath "${2:?usage: $0 <copy_files> <uml-run.sh>}")"
folder=MP_ROOT/100ANV01

if [ -n "${VELMORA_POWER_CUT_IMAGE:-}" ]; then  # inside: copy, and return at once
    stick=/media/stick
    mkdir -p "$stick"
    mount -o loop,uid=0,gid=0,shortname=mixed,utf8,showexec,flush "$VELMORA_POWER_CUT_IMAGE" \
        "$stick"
    src="$(dirname "$VELMORA_POWER_CUT_IMAGE")"
    exec "$copy" "$src/clip.MP4" "$stick/$folder/MAQ12301.MP4" "$src/clip.THM" \
        "$stick/$folder/MAQ12301.THM"
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
for fat in 16 32; do
    image="$work/stick$fat.img"
    rm -f "$image"
    mkfs.fat -C -F "$fat" "$image" 65536 >/dev/null
    mmd -i "$image" ::MP_ROOT "::$folder"
    status=0
    VELMORA_POWER_CUT_IMAGE="$image" "$uml" "$0" "$copy" "$uml" || status=$?
    [ "$status" -ne 77 ] || exit 77
    [ "$status" -eq 0 ] || fail "FAT$fat: the copy failed"
    names="$(mdir -i "$image" -a -b "::$folder" | sed 's|.*/||' | sort | tr '\n' ' ')"
    [ "$names" = "MAQ12301.MP4 MAQ12301.THM " ] || fail "FAT$fat: the stick holds: $names"
    for file in MP4 THM; do
        mcopy -n -i "$image" "::$folder/MAQ12301.$file" "$work/back.$file"
        cmp "$work/clip.$file" "$work/back.$file" || fail "FAT$fat: MAQ12301.$file is not whole"
    done
    # A power cut leaves the volume marked as in use (offset 65 of the boot sector, which its
    # backup doesn't mark) and FAT32's free-cluster count, a hint that only an unmount or a
    # whole sync writes, behind. Anything else fsck finds is a fault.
    report="$(fsck.fat -n "$image" 2>&1 | sed '/Free cluster summary wrong/{N;d}' || true)"
    faults="$(grep -v -e '^fsck.fat ' -e 'Dirty bit' -e 'removing dirty bit' \
        -e 'differences between boot sector and its backup' -e 'mostly harmless' \
        -e '^  65:01/00$' -e 'Not automatically fixing' -e "^$image: " \
        -e '^Leaving filesystem' -e '^ *$' <<<"$report" || true)"
    [ -z "$faults" ] || fail "FAT$fat: fsck.fat finds: $faults"
    echo "power_cut: FAT$fat: video and thumbnail whole after the power cut, no lost cluster"
done
