#!/usr/bin/env bash
# Installs what is missing, makes a release build and starts Velmora (with FILE when given).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

build_dir=build/release
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMORA_BUILD_TESTS=OFF
cmake --build "$build_dir"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "No display found: the window cannot open here. The command-line tool works without one:"
    "$build_dir/src/velmora-cli" --help
    exit 0
fi
# Without a file, a newcomer gets a portfolio to look at rather than an empty window.
if [ $# -eq 0 ]; then
    demo=build/demo.kx7
    "$build_dir/src/velmora-cli" demo "$demo"
    set -- "$demo"
fi
exec "$build_dir/src/velmora" "$@"
