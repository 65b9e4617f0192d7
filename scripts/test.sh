#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test: the whole suite with warnings
# as errors, the core tests under AddressSanitizer and UBSan, the Debian package, and the
# Windows build under Wine.
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$repo"
./scripts/install-deps.sh

jobs="$(nproc)"
run_preset() {
    echo "=== $1 ==="
    cmake --preset "$1" >/dev/null
    cmake --build --preset "$1" -j "$jobs"
    ctest --preset "$1" -j "$jobs"
}

run_preset ci
run_preset asan
echo "=== package ==="
./scripts/package.sh >/dev/null
tests/package/check_deb.sh build/package/velmora_*.deb
./scripts/test-windows.sh build/mingw

lines() { git ls-files -z "$@" | xargs -0 cat | wc -l; }
awk -v t="$(lines tests)" -v c="$(lines src bench)" \
    'BEGIN { printf "Test lines / code lines (src/ and bench/): %d / %d = %.2f\n", t, c, t / c }'
