#!/usr/bin/env bash
# Latency from a mouse press on a key region of the device window to the
# changed LCD in the shared memory: median and 95th percentile over N presses.
# The key is HELP: each press opens or closes the help page (after the
# start-up, on the first screen the panel shows). The time starts just before
# xdotool is spawned, so it includes that (a few ms). The 40 ms debounce and
# the main loop's 100 ms wait dominate.
# Usage: bench/desktop_latency.sh [presses]   (after a default build; needs Xvfb, xdotool)
set -euo pipefail
cd "$(dirname "$0")/.."
presses=${1:-50}
source bench/desktop_common.sh
start_sim --pictures "$PWD/assets" --zoom 1
settle # past the start-up screen: progress bar, then the first screen
# The HELP key of assets/Device.bmp, the window at (10, 20).
x=$((10 + 368))
y=$((20 + 180))
: >"$WORK/ms"
for _ in $(seq "$presses"); do
    "$bin/panel-lcdmap" --name "$LCD_MAP" --wait-change 3000 \
        --after "xdotool mousemove $x $y mousedown 1" >>"$WORK/ms"
    xdotool mouseup 1
    # A jitter against the main loop's phase.
    sleep "0.$((300 + RANDOM % 100))"
done
[ -n "${KEEP_MS:-}" ] && cp "$WORK/ms" "$KEEP_MS"
sort -n "$WORK/ms" | awk -v n="$presses" '
    { v[NR] = $1 }
    END {
        if (NR < n) { printf "only %d of %d presses changed the LCD\n", NR, n; exit 1 }
        median = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
        p95 = v[int(0.95 * NR + 0.999)]
        printf "mouse press -> LCD changed in shared memory, %d presses: median %.1f ms, 95th percentile %.1f ms (min %.1f, max %.1f)\n", NR, median, p95, v[1], v[NR]
    }'
