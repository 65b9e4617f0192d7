#!/usr/bin/env bash
# Renders the icon's SVG source into the PNG sizes the Linux desktop and the window use.
# Needs rsvg-convert (Debian: librsvg2-bin). Run it again after editing resources/velmora.svg.
set -euo pipefail

resources="$(cd "$(dirname "$0")/../resources" && pwd)"
for size in 16 32 48; do
    rsvg-convert --width "$size" --height "$size" --format png \
        --output "$resources/icons/velmora-$size.png" "$resources/velmora.svg"
done
echo "Rendered $resources/icons/velmora-{16,32,48}.png"
