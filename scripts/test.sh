#!/usr/bin/env bash
# Installs what is missing, builds the test build (with sanitizers) and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

build_dir=${VELMORA_TEST_BUILD_DIR:-build/test}
cmake -S . -B "$build_dir" -G Ninja \
    -DCMAKE_BUILD_TYPE=Debug -DVELMORA_SANITIZE=ON -DVELMORA_BUILD_TESTS=ON
cmake --build "$build_dir"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)"

if command -v clang++ >/dev/null 2>&1; then
    bash scripts/fuzz.sh 30
fi
