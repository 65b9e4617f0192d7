#!/usr/bin/env bash
# Includes point one way only, front end -> platform -> core: no file of src/ includes a header
# that lies in a layer above its own. Each quoted include is found as the compiler finds it,
# beside the including file first, then under the folders the targets name.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../../src"
layer() { case "$1" in core/*) echo 0 ;; platform/*) echo 1 ;; frontend/*) echo 2 ;; esac; }

wrong=0
while IFS= read -r file; do
    while IFS= read -r included; do
        for target in "$(dirname "$file")/$included" \
            {core,platform,frontend/qt,frontend/win32}/"$included"; do
            [ -f "$target" ] && target="$(realpath --relative-to=. "$target")" || continue
            if [ "$(layer "$target")" -gt "$(layer "$file")" ]; then
                echo "$file includes $target, which lies above it"
                wrong=1
            fi
            break
        done
    done < <(sed -n 's/^#include "\(.*\)"/\1/p' "$file")
done < <(find core platform frontend -name '*.h' -o -name '*.cpp')
[ "$wrong" -eq 0 ] && echo "Includes point from front end to platform to core only"
exit "$wrong"
