#!/usr/bin/env bash
# 24 simulated hours of an idle panel in the headless host on virtual time:
# start-up, base display, then the screensaver turning every 200 ms.
# Prints wall time and peak resident memory of the host process.
# Usage: bench/idle_day.sh [hours]   (after a default build)
set -euo pipefail
cd "$(dirname "$0")/.."
hours=${1:-24}
bin=build/default/panel-headless
[ -x "$bin" ] || { echo "build first: cmake --preset default && cmake --build --preset default" >&2; exit 2; }
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cat >"$dir/idle.scn" <<SCN
# No commissioning request, so that the base display and the screensaver show.
wait 1s
set-image service 1 03
wait 6min
expect BRA_RuheAnimation Init
wait ${hours}h
expect-not BGA_GrundanzeigeMenue Init
SCN
# getrusage of the finished child gives its peak resident set (kB on Linux).
python3 - "$bin" "$dir" "$hours" <<'PY'
import resource, subprocess, sys, time
binary, directory, hours = sys.argv[1], sys.argv[2], sys.argv[3]
start = time.perf_counter()
result = subprocess.run([binary, "--lock-dir", directory, directory + "/idle.scn"], stdout=subprocess.DEVNULL)
wall = time.perf_counter() - start
peak = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss
if result.returncode != 0:
    sys.exit(f"scenario failed (exit status {result.returncode})")
print(f"idle panel, {hours} simulated hours: {wall:.2f} s wall, peak resident memory {peak / 1024:.1f} MiB")
PY
