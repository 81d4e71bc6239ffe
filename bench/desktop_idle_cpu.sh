#!/usr/bin/env bash
# CPU used by the idle simulator with its device window open under Xvfb, in %
# of one core, over N seconds (the X server's own share printed apart). The
# measurement starts once the start-up screen is over and the LCD stands still.
# Usage: bench/desktop_idle_cpu.sh [seconds]   (after a default build; needs Xvfb, xdotool)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
source bench/desktop_common.sh
start_sim
settle
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
hz=$(getconf CLK_TCK)
sim0=$(ticks "$SIM_PID")
x0=$(ticks "$XVFB_PID")
t0=$(date +%s.%N)
sleep "$seconds"
sim1=$(ticks "$SIM_PID")
x1=$(ticks "$XVFB_PID")
t1=$(date +%s.%N)
awk -v s="$((sim1 - sim0))" -v x="$((x1 - x0))" -v hz="$hz" -v t0="$t0" -v t1="$t1" 'BEGIN {
    w = t1 - t0
    printf "idle panel-sim, window open under Xvfb: %.2f %% of one core over %.1f s (Xvfb itself: %.2f %%)\n", 100 * s / hz / w, w, 100 * x / hz / w
}'
