#!/usr/bin/env bash
# The Debian package holds the program, its desktop entry, metainfo, icons and help page and
# depends on Qt; the program unpacked from it into a scratch root passes the smoke test
# there, finding the help page of that root. Usage: check_deb.sh <velmora_*.deb>
set -euo pipefail
deb="$(realpath "${1:?usage: $0 <velmora_*.deb>}")"
fail() { echo "check_deb: $*" >&2; exit 1; }

files="$(dpkg-deb --contents "$deb" | awk '{print $NF}')"
share=./usr/share
app=io.github.velmora.Velmora
for path in ./usr/bin/velmora $share/applications/$app.desktop $share/metainfo/$app.metainfo.xml \
    $share/velmora/about.html $share/icons/hicolor/{16x16,32x32,48x48}/apps/$app.png \
    $share/icons/hicolor/scalable/apps/$app.svg; do
    grep -qxF "$path" <<<"$files" || fail "$deb lacks $path"
done
dpkg-deb --field "$deb" Depends | grep -q libqt6widgets6 || fail "no dependency on Qt Widgets"

root="$(mktemp -d)" && trap 'rm -rf "$root"' EXIT && dpkg-deb -x "$deb" "$root"
"$(dirname "$(realpath "$0")")/../smoke/smoke.sh" "$root/usr/bin/velmora"
echo "check_deb: $(basename "$deb") holds all it should and runs from where it unpacks"
