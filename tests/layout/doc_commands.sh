#!/usr/bin/env bash
# Every path, link and preset that the README and docs/ name is in the repository: a path from
# its top, a link from the document's folder, a preset in CMakePresets.json.
set -uo pipefail
cd "$(dirname "$0")/../.." && status=0
missing() { echo "$1 names $2, which is not in the repository"; status=1; }
for doc in README.md docs/*.md; do
    for path in $(grep -oE '(^|[^[:alnum:]_./-])(scripts|tests|bench|resources|docs|src|cmake)/[[:alnum:]_./-]*' \
        "$doc" | sed -E 's/^[^[:alpha:]]//; s/\.$//'); do
        [ -e "$path" ] || missing "$doc" "$path"
    done
    for link in $(grep -oE '\]\([^)#:]+' "$doc" | cut -c3-); do
        [ -e "$(dirname "$doc")/$link" ] || missing "$doc" "$link"
    done
    for preset in $(grep -oE -- '--preset [[:alnum:]-]+' "$doc" | cut -d' ' -f2); do
        grep -q "\"name\": \"$preset\"" CMakePresets.json || missing "$doc" "the preset $preset"
    done
done
exit "$status"
