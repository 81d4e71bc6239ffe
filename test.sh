#!/usr/bin/env bash
# Builds and runs every test: sanitizers first, the plain build last.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh

for preset in asan tsan default; do
    echo "=== $preset ==="
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    ctest --preset "$preset"
done
