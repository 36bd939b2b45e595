#!/usr/bin/env bash
# Formats every C++ source file in place with the root .clang-format.
set -eu
cd "$(dirname "$0")/.."
formatter=$(command -v clang-format-14 || command -v clang-format)
git ls-files -co --exclude-standard '*.cpp' '*.h' | xargs -r "$formatter" -i
