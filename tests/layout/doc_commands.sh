#!/usr/bin/env bash
# Every path, link and preset that the README and docs/ name is in the repository: a path from
# its top, a link from the document's folder, a preset in CMakePresets.json.
cd "$(dirname "$0")/../.." && status=0
path='(^|[^[:alnum:]_./-])(scripts|tests|bench|resources|docs|src|cmake)/[[:alnum:]_./-]*'
for doc in README.md docs/*.md; do
    paths=$(grep -oE "$path" "$doc" | sed -E 's/^[^[:alpha:]]//; s/\.$//')
    links=$(grep -oE '\]\([^)#:]+' "$doc" | sed "s|^](|$(dirname "$doc")/|")
    for name in $paths $links; do
        [ -e "$name" ] || { echo "$doc names $name, which is not in the repository"; status=1; }
    done
    for preset in $(grep -oE -- '--preset [[:alnum:]-]+' "$doc" | cut -d' ' -f2); do
        grep -q "\"name\": \"$preset\"" CMakePresets.json || { echo "$doc: no preset $preset"; status=1; }
    done
done
exit "$status"
