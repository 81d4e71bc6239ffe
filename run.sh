#!/usr/bin/env bash
# Builds the simulator and runs it.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh
cmake --preset default >/dev/null
cmake --build --preset default
if [ $# -eq 0 ] || [[ "$1" != *.scn ]]; then
    if [ -x build/default/panel-sim ] && { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; }; then
        exec build/default/panel-sim "$@"
    fi
    echo "No display: running the headless host on a demo scenario (sim/scenarios/demo.scn)."
    echo "For the window without a screen: xvfb-run -a build/default/panel-sim"
    echo "Your own scenario: ./run.sh my.scn   (see docs/scenarios.md)"
    echo
    set --
fi
exec build/default/panel-headless --trace "${@:-sim/scenarios/demo.scn}"
