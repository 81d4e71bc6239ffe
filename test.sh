#!/usr/bin/env bash
# Builds and runs every test: sanitizers first, the plain build last.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh

# A short fuzzing run of every target of tests/fuzz (a longer
# one: tests/fuzz/run.sh 60).
echo "=== fuzz ==="
tests/fuzz/run.sh 15

for preset in asan tsan default; do
    echo "=== $preset ==="
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    ctest --preset "$preset"
done
