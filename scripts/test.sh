#!/usr/bin/env bash
# Installs what is missing, builds the test build (with sanitizers) and runs every test.
# "test.sh tsan" instead builds with ThreadSanitizer and runs the tests of the threads:
# the automatic update worker, the Quote Price dialog, the page fetch's progress hook and
# the large reports gathered, sorted and written on several cores.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

if [[ "${1:-}" == "tsan" ]]; then
    build_dir=${VELMORA_TSAN_BUILD_DIR:-build/tsan}
    cmake -S . -B "$build_dir" -G Ninja \
        -DCMAKE_BUILD_TYPE=Debug -DVELMORA_TSAN=ON -DVELMORA_BUILD_TESTS=ON
    cmake --build "$build_dir" --target velmora_gui_tests velmora_core_tests velmora
    export QT_QPA_PLATFORM=offscreen
    # Qt itself is not built with ThreadSanitizer: its own locking is invisible to it, so
    # what the Qt libraries do inside themselves is left out; our code is checked in full.
    export TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/scripts/tsan.supp}
    ctest --test-dir "$build_dir" --output-on-failure \
        -R 'gui\.UpdateWorker_test|gui\.QuoteUpdateDlg_test|WebProgress|WebAbandon|TextInParts|SortByDate|LotLines|OverviewParts'
    exit 0
fi

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
