#!/usr/bin/env bash
# Builds the simulator and runs it.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh
cmake --preset default >/dev/null
cmake --build --preset default
echo
echo "The desktop window is not built yet: running the headless host on a short"
echo "demo scenario (sim/scenarios/demo.scn), with its trace."
echo
exec build/default/panel-headless --trace "${@:-sim/scenarios/demo.scn}"
