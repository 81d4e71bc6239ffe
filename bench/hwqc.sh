#!/usr/bin/env bash
# The factory's quality check over a pseudo-terminal against the real-time
# headless host: the whole check, with the figures of the full display-cache
# write and read (bytes on the line per second; the line's limit at 4800
# baud, 8E1, is 436). The tester paces its bytes at the line's rate.
# Usage: bench/hwqc.sh [RUNS]        (PRESET=debug for another build)
set -euo pipefail
runs=${1:-3}
root=$(cd "$(dirname "$0")/.." && pwd)
preset=${PRESET:-default}
build=$root/build/$preset
(
    cd "$root"
    [ -f "$build/build.ninja" ] || cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" --target panel-headless panel-hwqc -j2 >/dev/null
)
for run in $(seq "$runs"); do
    bash "$root/tests/hwqc/pty_check.sh" "$build/panel-headless" "$build/panel-hwqc" "$build/dataflash.bin" \
        "$(mktemp -d)/hwqc" | grep -E '^figure|^check|^pty check' | sed "s/^/run $run: /"
done
