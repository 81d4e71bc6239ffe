#!/usr/bin/env bash
# CPU used by the idle real-time headless host over 30 s, in % of one core.
# Usage: bench/idle_cpu.sh [seconds]   (after ./test.sh or a default build)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
bin=build/default/panel-headless
[ -x "$bin" ] || { echo "build first: cmake --preset default && cmake --build --preset default" >&2; exit 2; }
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
printf 'wait %ss\n' "$seconds" >"$dir/idle.scn"
TIMEFORMAT='%U %S %R'
{ time "$bin" --realtime --lock-dir "$dir" "$dir/idle.scn" >/dev/null; } 2>"$dir/time"
read -r user sys wall < <(tail -n 1 "$dir/time")
awk -v u="$user" -v s="$sys" -v w="$wall" \
    'BEGIN { printf "idle real-time host: %.2f s user + %.2f s system over %.1f s = %.2f %% of one core\n", u, s, w, 100 * (u + s) / w }'
