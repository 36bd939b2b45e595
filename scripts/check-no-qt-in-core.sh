#!/usr/bin/env bash
# Fails when a file of the Qt-free core includes a Qt header.
set -u
root=${1:-.}
hits=$(grep -rnE '^\s*#\s*include\s*[<"](Q[A-Za-z]+|Qt[A-Za-z]*/)' \
        "$root/common" "$root/engine" "$root/model" "$root/experiments" "$root/sheets" \
        "$root/python" 2>/dev/null)
if [ -n "$hits" ]; then
    echo "Qt headers in the Qt-free core:"
    echo "$hits"
    exit 1
fi
echo "core is Qt-free"
