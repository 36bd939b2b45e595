#!/usr/bin/env bash
# Installs the build into a temporary root (DESTDIR) and uses the installed programs
# from there, far from the source tree: the version, a two-step simulation, the help
# pages and the manual page where they belong, the desktop entry valid, and the Debian
# package naming the Qt libraries the desktop program links.
#   install_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(realpath "$1")
source=$(realpath "$2")
root=$(mktemp -d "${TMPDIR:-/tmp}/quorvane-install.XXXXXX")
trap 'rm -rf "$root"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR="$root/dest" cmake --install "$build" --prefix /usr >/dev/null
prefix="$root/dest/usr"
batch="$prefix/bin/quorvane-batch"
[ -x "$batch" ] || fail "quorvane-batch is not installed in bin/"

version=$("$batch" --version)
echo "$version" | grep -qE '^quorvane-batch [0-9]+\.[0-9]+\.[0-9]+' || fail "--version said: $version"

# A run from the installed program, in a folder of its own.
mkdir "$root/work"
cp "$source/examples/growing.csv" "$root/work/"
(cd "$root/work" && "$batch" --data growing.csv --steps 2 --log log.csv --record record.csv \
    --quiet) || fail "the installed batch runner could not run two steps"
grep -q '^# quorvane_version = ' "$root/work/record.csv" || fail "the record names no version"
[ "$(grep -c '^[0-9]' "$root/work/record.csv")" -eq 2 ] || fail "the record has not two steps"

# The Python module where the system's Python looks, and working from there.
if ls "$build"/python/quorvane.*.so >/dev/null 2>&1; then
    module=$(find "$prefix/lib" -name 'quorvane.*.so' | head -n 1)
    [ -n "$module" ] || fail "the Python module is not installed"
    folder=$(dirname "$module")
    /usr/bin/python3 -c "import sys; sys.exit('${folder#"$root/dest"}' not in sys.path)" ||
        fail "the Python module lies outside the system Python's path: ${folder#"$root/dest"}"
    preload=
    if ldd "$module" | grep -q libasan; then  # the test build: see tests/CMakeLists.txt
        preload="$(gcc -print-file-name=libasan.so) $(gcc -print-file-name=libstdc++.so)"
    fi
    (cd "$root/work" && LD_PRELOAD=$preload PYTHONPATH="$folder" /usr/bin/python3 -c "
import quorvane
run = quorvane.run(quorvane.Data.read('growing.csv'), steps=2, log='python_log.csv')
assert run.event == 5 and len(run.distance) == 2, run") ||
        fail "the installed Python module could not run two steps"
fi

[ -s "$prefix/share/man/man1/quorvane-batch.1" ] || fail "no manual page"
grep -q -- '--data' "$prefix/share/man/man1/quorvane-batch.1" || fail "the manual page lacks --data"
[ -d "$prefix/share/quorvane/examples" ] || fail "no examples"
[ -s "$prefix/share/quorvane/templates/report_template.html" ] || fail "no report template"

if [ -x "$prefix/bin/quorvane" ]; then
    "$prefix/bin/quorvane" --version | grep -q '^quorvane ' || fail "desktop --version"
    if [ -d "$source/help" ]; then [ -f "$prefix/share/quorvane/help/index.html" ] || fail "no help pages"; fi
    desktop="$prefix/share/applications/quorvane.desktop"
    [ -f "$desktop" ] || fail "no desktop entry"
    if command -v desktop-file-validate >/dev/null; then
        desktop-file-validate "$desktop" || fail "the desktop entry does not validate"
    fi
    [ -f "$prefix/share/icons/hicolor/scalable/apps/quorvane.svg" ] || fail "no icon"

    if command -v dpkg-shlibdeps >/dev/null && command -v cpack >/dev/null; then
        (cd "$build" && cpack -G DEB -B "$root/package" >/dev/null) || fail "cpack failed"
        deb=$(ls "$root"/package/quorvane_*.deb | head -n 1)
        depends=$(dpkg-deb -f "$deb" Depends)
        echo "$depends" | grep -q 'libqt6widgets6' || fail "the package does not depend on Qt: $depends"
        echo "$depends" | grep -q 'libqt6gui6' || fail "the package does not depend on QtGui: $depends"
        dpkg-deb -c "$deb" > "$root/contents"
        grep -q './usr/bin/quorvane-batch' "$root/contents" || fail "the package lacks the runner"
    fi
fi
echo "installed programs work"
