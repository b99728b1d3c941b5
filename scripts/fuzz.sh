#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for SECONDS (default 60), starting from
# the seed files the core tests write.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
build_dir=${VELMORA_FUZZ_BUILD_DIR:-build/fuzz}

# Built without Qt, as it must be able to: the fuzzers and the core tests need only the core,
# and every run of this script shows the core still builds where Qt is missing.
CC=clang CXX=clang++ cmake -S . -B "$build_dir" -G Ninja \
    -DCMAKE_BUILD_TYPE=Debug -DVELMORA_SANITIZE=ON -DVELMORA_FUZZ=ON \
    -DVELMORA_BUILD_GUI=OFF -DVELMORA_BUILD_TESTS=ON -DVELMORA_WERROR=ON \
    -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=ON
cmake --build "$build_dir"

seeds="$build_dir/fuzz-seeds"
mkdir -p "$seeds"
VELMORA_FUZZ_SEEDS="$(realpath "$seeds")" TZ=America/New_York \
    "$build_dir/tests/core/velmora_core_tests" --gtest_filter='*FuzzSeeds*' >/dev/null

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
for fuzzer in "$build_dir"/tests/fuzz/*_fuzz; do
    name=$(basename "$fuzzer" _fuzz)
    corpus="$build_dir/fuzz-corpus/$name"
    mkdir -p "$corpus"
    seed_dirs=()
    if [ -d "$seeds/$name" ]; then
        seed_dirs+=("$seeds/$name")
    fi
    echo "Fuzzing $name for $seconds s"
    "$fuzzer" -max_total_time="$seconds" -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$build_dir/" "$corpus" "${seed_dirs[@]}"
done
