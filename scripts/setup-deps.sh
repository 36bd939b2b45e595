#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12, only what is missing.
set -euo pipefail

packages=(cmake ninja-build g++ git pkg-config
          qt6-base-dev qt6-svg-dev libgl-dev
          libgtest-dev libgmock-dev googletest libbenchmark-dev libcli11-dev
          clang clang-format libclang-rt-14-dev
          xvfb xauth locales
          dpkg-dev desktop-file-utils file
          chromium
          python3-dev pybind11-dev python3-numpy python3-pytest python3-matplotlib)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; elif command -v sudo >/dev/null; then sudo "$@";
    else echo "Need root to install: ${missing[*]}" >&2; exit 1; fi
}

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
fi

# A comma-decimal locale, so the tests can prove files do not depend on it.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    as_root localedef -i de_DE -f UTF-8 de_DE.UTF-8 || echo "warning: could not generate de_DE.UTF-8" >&2
fi
