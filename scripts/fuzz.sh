#!/usr/bin/env bash
# Builds every fuzz target with clang's libFuzzer and runs each for a while.
# New inputs go to fuzz/out/<name>/; the committed corpus fuzz/corpus/<name>/ is
# read as seeds and left as it is (merge a finding into it by hand, minimised
# with -merge=1).
#   scripts/fuzz.sh [seconds-per-target]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
scripts/setup-deps.sh
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DQUORVANE_SANITIZE=ON -DQUORVANE_FUZZ=ON -DQUORVANE_GUI=OFF -DQUORVANE_TESTS=OFF \
    -DQUORVANE_BENCH=OFF -DQUORVANE_PYTHON=OFF -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" >/dev/null
cmake --build build-fuzz
for program in build-fuzz/bin/fuzz_*; do
    name=${program##*/fuzz_}
    mkdir -p "fuzz/out/$name" "fuzz/corpus/$name"
    echo "== $name for ${seconds}s"
    "$program" -max_total_time="$seconds" -max_len=8192 -timeout=10 "fuzz/out/$name" \
        "fuzz/corpus/$name"
done
