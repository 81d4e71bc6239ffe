#!/usr/bin/env bash
# A long run of the seeded monkey: simulated days of random input on the
# whole panel in virtual time. Prints simulated days, wall time, peak
# resident memory, restarts by reason and events dropped per task; a failure
# leaves soak-SEED.scn in the working directory, which replays it
# (build/<preset>/panel-monkey --replay soak-SEED.scn).
# Usage: bench/soak.sh DAYS SEED        (PRESET=asan for the sanitizers)
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: bench/soak.sh DAYS SEED" >&2; exit 2; }
days=$1
seed=$2
root=$(cd "$(dirname "$0")/.." && pwd)
preset=${PRESET:-default}
bin=$root/build/$preset/panel-monkey
(
    cd "$root"
    [ -f "build/$preset/build.ninja" ] || cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" --target panel-monkey -j2 >/dev/null
)
lock=$(mktemp -d)
trap 'rm -rf "$lock"' EXIT
out=$PWD/soak-$seed.scn
echo "soak: $days simulated days, seed $seed, preset $preset"
status=0
# /usr/bin/time measures the process from outside as well: wall clock and peak resident set.
/usr/bin/time -f "wall time (outside): %e s, peak resident memory (outside): %M KiB" \
    "$bin" --days "$days" --seed "$seed" --lock-dir "$lock" --replay-out "$out" || status=$?
[ $status -eq 0 ] || echo "soak: FAILED (exit status $status); the script that replays it: $out"
exit $status
