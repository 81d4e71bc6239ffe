#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, if missing.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    libgtest-dev libgmock-dev   # unit tests
    libbenchmark-dev            # benchmarks under bench/
    libpng-dev                  # LCD screenshots and goldens
    libgif-dev                  # LCD recordings as animated GIF
    clang libclang-rt-14-dev    # fuzzing (tests/fuzz)
    clang-format                # the style check (tests/check_format.cmake)
    ccache                      # shares compiled objects between presets
    qt6-base-dev                # the desktop window (panel-sim)
    xvfb xauth xdotool          # the desktop window's end-to-end test and benchmarks
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "Need root (or sudo) to install: ${missing[*]}" >&2; exit 1; }
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
