#!/usr/bin/env bash
# Installs what is missing, builds Velmora and starts it in the folder you call it from.
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$repo/scripts/install-deps.sh"
(cd "$repo" && cmake --preset release >/dev/null && cmake --build --preset release)
exec "$repo/build/release/src/frontend/qt/velmora" "$@"
