#!/usr/bin/env bash
# Installs what is missing, builds a Release, and makes the Debian package
# build/quorvane_<version>_<arch>.deb (install it with: apt install ./build/quorvane_*.deb).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVANE_TESTS=OFF >/dev/null
cmake --build build
(cd build && cpack -G DEB)
ls build/quorvane_*.deb
