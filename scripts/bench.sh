#!/usr/bin/env bash
# Installs what is missing, makes a release build with the benchmarks and runs them: the
# core section (load, save, each report builder) and then the program's own commands
# offscreen, from the command to the painted result. Arguments go to the core section's
# benchmark program (for example --benchmark_filter=Tax); VELMORA_BENCH_ROUNDS sets the
# rounds of the program's section (3).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

build_dir=${VELMORA_BENCH_BUILD_DIR:-build/bench}
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DVELMORA_BUILD_BENCH=ON -DVELMORA_BUILD_TESTS=OFF
cmake --build "$build_dir" -j2 --target velmora_bench make_portfolio velmora_gui_bench

# Report dates are local dates; fix the zone so runs compare.
export TZ=${TZ:-America/New_York}
status=0
"$build_dir/bench/velmora_bench" "$@" || status=$?
echo
QT_QPA_PLATFORM=offscreen "$build_dir/bench/gui/velmora_gui_bench" "${VELMORA_BENCH_ROUNDS:-3}" ||
    status=$?
exit "$status"
