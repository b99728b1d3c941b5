#!/usr/bin/env bash
# Installs what is missing, makes a release build with the benchmarks and runs them.
# Arguments are passed to the benchmark program (for example --benchmark_filter=Tax).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

build_dir=${VELMORA_BENCH_BUILD_DIR:-build/bench}
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DVELMORA_BUILD_BENCH=ON -DVELMORA_BUILD_TESTS=OFF -DVELMORA_BUILD_GUI=OFF
cmake --build "$build_dir" -j2 --target velmora_bench make_portfolio

# Report dates are local dates; fix the zone so runs compare.
export TZ=${TZ:-America/New_York}
exec "$build_dir/bench/velmora_bench" "$@"
