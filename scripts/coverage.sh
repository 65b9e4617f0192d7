#!/usr/bin/env bash
# Builds the Linux suite with --coverage, runs it, and prints the line coverage of the code
# that has no toolkit (src/core and src/platform/posix). Usage: coverage.sh
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$repo"
./scripts/install-deps.sh
./scripts/apt-install-missing.sh gcovr

build=build/coverage
# Counts from an earlier run would add up with this one's.
[ -d "$build" ] && find "$build" -name '*.gcda' -delete
cmake --preset coverage >/dev/null
cmake --build --preset coverage -j "$(nproc)"
status=0
ctest --preset coverage -j "$(nproc)" || status=$?
gcovr -r . "$build" --filter src/core/ --filter src/platform/posix/ --print-summary
exit "$status"
