#!/usr/bin/env bash
# Draws the device pictures again: the built-in pair into
# sim/desktop/generated/DevicePictures.cpp, the larger pair into assets/.
# The tool checks every key region against its table before it writes.
set -euo pipefail
cd "$(dirname "$0")/../.."
cmake --preset default >/dev/null
cmake --build --preset default --target devicegen
build/default/tools/devicegen sim/desktop/generated/DevicePictures.cpp assets "$@"
echo "written: sim/desktop/generated/DevicePictures.cpp assets/Device.bmp assets/Device1.bmp"
