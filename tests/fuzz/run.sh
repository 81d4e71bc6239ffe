#!/usr/bin/env bash
# Builds every libFuzzer target of tests/fuzz with clang (address and
# undefined-behaviour sanitizers) in build/fuzz and runs each for the given
# seconds (default 60), starting from tests/fuzz/seeds/<target>/ where there
# is one. Crashes and their inputs land in build/fuzz/<target>/.
set -euo pipefail
seconds=${1:-60}
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$root/build/fuzz

command -v clang++ >/dev/null || { echo "run.sh: needs clang++ (apt-get install clang)" >&2; exit 2; }
[ -f "$(clang++ -print-resource-dir)/lib/linux/libclang_rt.fuzzer-$(uname -m).a" ] ||
    { echo "run.sh: needs libFuzzer (apt-get install libclang-rt-14-dev)" >&2; exit 2; }
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer -g -O1"
flags+=" -fsanitize-coverage-ignorelist=$root/tests/fuzz/coverage_ignore.txt"
export CCACHE_EXTRAFILES=$root/tests/fuzz/coverage_ignore.txt # ccache does not see it otherwise
cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug -DPANEL_WERROR=ON \
    -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
    -DPANEL_FUZZ=ON -DPANEL_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target fuzz_all

status=0
while read -r fuzzer; do
    [ -n "$fuzzer" ] || continue
    name=$(basename "$fuzzer")
    mkdir -p "$build/$name/corpus"
    seeds=()
    [ -d "$root/tests/fuzz/seeds/$name" ] && seeds=("$root/tests/fuzz/seeds/$name")
    echo "== $name: $seconds s"
    if ! (cd "$build/$name" && "$fuzzer" -max_total_time="$seconds" -print_final_stats=1 corpus "${seeds[@]}"); then
        echo "== $name: FAILED (crash input in $build/$name)"
        status=1
    fi
done < "$build/tests/fuzz/fuzz_targets.txt"
exit $status
