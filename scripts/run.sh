#!/usr/bin/env bash
# Installs what is missing, builds, and starts the desktop program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVANE_TESTS=OFF >/dev/null
cmake --build build

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec build/bin/quorvane "$@"
fi

echo "No display is available (neither DISPLAY nor WAYLAND_DISPLAY is set), so the desktop"
echo "program cannot open its window here. Running a short headless demo with the batch"
echo "runner instead (build/bin/quorvane-batch; see README.md):"
echo
exec scripts/demo.sh build/bin/quorvane-batch
