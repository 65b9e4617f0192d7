#!/usr/bin/env bash
# Builds the release artefacts into build/package: the Debian package of the Linux program
# (velmora_<version>_<arch>.deb) and, when the MinGW-w64 cross compiler is installed, a zip
# of Velmora.exe with the README's parts for its users. Usage: scripts/package.sh
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$repo"
./scripts/install-deps.sh
out="$repo/build/package"
mkdir -p "$out"

cmake --preset release >/dev/null
cmake --build --preset release
(cd build/release && cpack -B "$out" >/dev/null)
rm -rf "$out/_CPack_Packages"
version="$(dpkg-deb --field "$out"/velmora_*.deb Version)"

if command -v x86_64-w64-mingw32-g++ >/dev/null; then
    cmake --preset mingw -B build/package-mingw -DVELMORA_TESTS=OFF >/dev/null
    cmake --build build/package-mingw --target Velmora
    stage="$(mktemp -d)"
    trap 'rm -rf "$stage"' EXIT
    cp build/package-mingw/src/frontend/win32/Velmora.exe "$stage/"
    # From "### Windows" to "## Build and test": how to start it, use it, and what it promises.
    awk '/^### Windows/ {on = 1} /^## Build and test/ {exit} on' README.md >"$stage/README.md"
    rm -f "$out/velmora_${version}_windows.zip"
    (cd "$stage" && zip -q -9 "$out/velmora_${version}_windows.zip" Velmora.exe README.md)
fi
ls -l "$out"
