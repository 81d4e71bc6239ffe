#!/usr/bin/env bash
# Wall seconds the desktop window takes for a simulated week of panel time
# run as fast as it goes (--speed max --exit-at 7d), the window open under
# Xvfb. When panel-sim takes a plant file (--plant), the control unit runs a
# commissioned plant with its heating time program; otherwise the panel runs
# on the simulation defaults. With GIF=1 it also records the week as a GIF.
# Usage: bench/desktop_week.sh   (after a default build; needs Xvfb, xdotool)
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/desktop_common.sh
args=(--speed max --exit-at 7d --clock 2026-01-05T08:00:00)
what="simulation defaults"
if "$bin/panel-sim" --help | grep -q -- '--plant'; then
    printf '# commissioned\nservice 1: 03\n' >"$WORK/week.plant"
    args+=(--plant "$WORK/week.plant")
    what="a commissioned plant, its control unit's time program"
fi
[ -n "${GIF:-}" ] && args+=(--record-gif "$WORK/week.gif")
t0=$(date +%s.%N)
start_sim "${args[@]}"
status=0
wait "$SIM_PID" || status=$?
SIM_PID=
t1=$(date +%s.%N)
[ "$status" -eq 0 ] || { echo "panel-sim ended with $status:" >&2; cat "$WORK/sim.err" >&2; exit 1; }
awk -v t0="$t0" -v t1="$t1" -v what="$what" 'BEGIN {
    printf "a simulated week in the window (%s), as fast as it goes: %.1f s of wall time\n", what, t1 - t0
}'
if [ -n "${GIF:-}" ]; then
    echo "recorded as GIF: $(stat -c %s "$WORK/week.gif") bytes; $(grep -c 'recorded' "$WORK/sim.err" || true) recording(s): $(grep recorded "$WORK/sim.err")"
fi
