#!/bin/sh
# Regenerates gui/generated/GUI_Font{8,20,32}.cpp and docs/fonts.png.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${FONTGEN_BUILD:-$root/build/fontgen}
ttf=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf

missing=
dpkg -s libfreetype-dev >/dev/null 2>&1 || missing="$missing libfreetype-dev"
dpkg -s libpng-dev >/dev/null 2>&1 || missing="$missing libpng-dev"
[ -f "$ttf" ] || missing="$missing fonts-dejavu-core"
if [ -n "$missing" ]; then
    apt-get update
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $missing
fi

# The sheet links the generated sources, so the generator is built and run first.
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target fontgen
"$build/fontgen" "$ttf" "$here" "$root/gui/generated" "tools/fontgen/generate.sh"
cmake --build "$build" --target fontsheet
mkdir -p "$root/docs"
"$build/fontsheet" "$root/docs/fonts.png"
