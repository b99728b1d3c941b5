#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds the test build (with sanitizers)
# and runs every test, then builds the release build and runs its tests too.
#   test.sh          all of the above (what CI runs)
#   test.sh release  only the release build (-O3, as a user builds it) and its tests
#   test.sh lint     clang-tidy over src/ with the checks of .clang-tidy
#   test.sh tsan     the tests of the threads under ThreadSanitizer: the automatic update
#                    worker, the Quote Price dialog, the page fetch's progress hook and the
#                    large reports gathered, sorted and written on several cores
# The test builds treat a warning in our own code as an error (VELMORA_WERROR).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

# Every tracked C++ file must be as clang-format (.clang-format) writes it.
check_format() {
    local files=() unformatted=() output
    if git rev-parse --is-inside-work-tree > /dev/null 2>&1; then
        mapfile -t files < <(git ls-files '*.cpp' '*.h')
    else
        mapfile -t files < <(find src tests bench \( -name '*.cpp' -o -name '*.h' \) | sort)
    fi
    if output=$(printf '%s\0' "${files[@]}" | xargs -0 clang-format --dry-run --Werror 2>&1); then
        echo "Formatting: ${#files[@]} files checked"
        return
    fi
    mapfile -t unformatted < <(printf '%s\n' "$output" |
        sed -n 's/^\(.*\):[0-9]*:[0-9]*: error: code should be clang-formatted.*/\1/p' | sort -u)
    if [ ${#unformatted[@]} -eq 0 ]; then
        printf '%s\n' "$output" >&2
        echo "clang-format failed" >&2
        exit 1
    fi
    echo "These files are not formatted with clang-format:" >&2
    printf '  %s\n' "${unformatted[@]}" >&2
    echo "Fix them with: clang-format -i ${unformatted[*]}" >&2
    exit 1
}

# A release build is compiled at -O3, where GCC warns about things a Debug build never
# shows, and the tests then run the optimised code.
release_tests() {
    local build_dir=${VELMORA_RELEASE_BUILD_DIR:-build/release}
    cmake -S . -B "$build_dir" -G Ninja \
        -DCMAKE_BUILD_TYPE=Release -DVELMORA_BUILD_TESTS=ON -DVELMORA_WERROR=ON
    cmake --build "$build_dir"
    # The minute-long soak is left to the sanitizer build, where its leak checker runs too.
    QT_QPA_PLATFORM=offscreen ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)" \
        -LE soak
}

lint() {
    local build_dir=${VELMORA_LINT_BUILD_DIR:-build/lint}
    local tidy
    tidy=$(command -v run-clang-tidy || command -v run-clang-tidy-14 || true)
    if [ -z "$tidy" ]; then
        echo "run-clang-tidy not found (Debian package clang-tidy)" >&2
        exit 1
    fi
    cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
        -DCMAKE_EXPORT_COMPILE_COMMANDS=ON -DVELMORA_BUILD_TESTS=OFF
    # clang-tidy reads the sources as they are compiled, so the files moc generates must
    # exist. Their targets wait for the libraries they link, which are compiled first; the
    # lint build keeps them for the next run.
    local autogen
    mapfile -t autogen < <(cmake --build "$build_dir" --target help |
        sed -n 's/^\([A-Za-z0-9_]*_autogen\): .*/\1/p')
    if [ ${#autogen[@]} -ne 0 ]; then
        cmake --build "$build_dir" --target "${autogen[@]}"
    fi
    # The checks and their reasons are in .clang-tidy; any finding fails (WarningsAsErrors).
    # Shown are the findings only, without the command of each file and its count of
    # warnings suppressed in headers not ours (that count may follow a colour code).
    local noise=$'^clang-tidy|^(\e\\[[0-9;]*m)*[0-9]+ warnings? (generated|treated as errors)\\.$'
    if ! "$tidy" -p "$build_dir" -quiet "^$PWD/src/" 2>&1 | { grep -Ev "$noise" || true; }; then
        echo "clang-tidy found the problems above (the checks and their reasons: .clang-tidy)" >&2
        exit 1
    fi
    echo "clang-tidy: no findings"
}

case "${1:-}" in
    release)
        release_tests
        exit 0
        ;;
    lint)
        lint
        exit 0
        ;;
    tsan)
        build_dir=${VELMORA_TSAN_BUILD_DIR:-build/tsan}
        cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
            -DVELMORA_TSAN=ON -DVELMORA_BUILD_TESTS=ON -DVELMORA_WERROR=ON
        cmake --build "$build_dir" --target velmora_gui_tests velmora_core_tests velmora
        export QT_QPA_PLATFORM=offscreen
        # Qt itself is not built with ThreadSanitizer: its own locking is invisible to it, so
        # what the Qt libraries do inside themselves is left out; our code is checked in full.
        export TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/scripts/tsan.supp}
        ctest --test-dir "$build_dir" --output-on-failure \
            -R 'gui\.UpdateWorker_test|gui\.QuoteUpdateDlg_test|WebProgress|WebAbandon'
        exit 0
        ;;
    "") ;;
    *)
        echo "usage: scripts/test.sh [release|lint|tsan]" >&2
        exit 2
        ;;
esac

# Checked first: it takes seconds, the builds take many minutes.
check_format

build_dir=${VELMORA_TEST_BUILD_DIR:-build/test}
cmake -S . -B "$build_dir" -G Ninja \
    -DCMAKE_BUILD_TYPE=Debug -DVELMORA_SANITIZE=ON -DVELMORA_BUILD_TESTS=ON -DVELMORA_WERROR=ON
cmake --build "$build_dir"

(
    export QT_QPA_PLATFORM=offscreen
    export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
    export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
    ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)"
)

if command -v clang++ > /dev/null 2>&1; then
    bash scripts/fuzz.sh 30
fi

release_tests
