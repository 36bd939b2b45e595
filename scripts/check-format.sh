#!/usr/bin/env bash
# Fails when a C++ source file differs from what clang-format makes of it.
set -u
root=${1:-.}
cd "$root" || exit 2
formatter=$(command -v clang-format-14 || command -v clang-format)
if [ -z "$formatter" ]; then
    echo "clang-format is not installed"
    exit 1
fi
files=$(git ls-files -co --exclude-standard '*.cpp' '*.h' 2>/dev/null)
[ -n "$files" ] || files=$(find common engine model experiments sheets views reports ui app batch bench tests fuzz \
                               -name '*.cpp' -o -name '*.h' 2>/dev/null)
echo "$files" | xargs -r "$formatter" --dry-run --Werror
