#!/usr/bin/env bash
# Pictures of the Data and Run panels taken from the real program on a virtual
# 1920 x 1080 screen:
#
#     scripts/panel-screenshots.sh BUILD_DIR OUT_DIR [SCALE]
#
# writes OUT_DIR/data-panel-SCALEx.png and OUT_DIR/run-panel-SCALEx.png (without
# the suffix at scale 1). The program runs with a home folder of its own, so the
# user's documents and remembered window are not touched. Needs xvfb-run,
# xdotool and imagemagick's import.
set -euo pipefail
build=$(realpath "$1")
out=$(realpath "$2")
scale=${3:-1}
suffix=$([ "$scale" = 1 ] && echo "" || echo "-${scale}x")

if [ -z "${QUORVANE_ON_VIRTUAL_SCREEN:-}" ]; then
    export QUORVANE_ON_VIRTUAL_SCREEN=1
    exec xvfb-run -a -s "-screen 0 1920x1080x24" "$0" "$@"
fi

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME=$home XDG_CONFIG_HOME=$home/.config QT_SCALE_FACTOR=$scale
export ASAN_OPTIONS=detect_leaks=0
"$build/bin/quorvane" >"$home/program.log" 2>&1 &
program=$!
window=$(xdotool search --sync --name "^Quorvane" | head -1)
sleep 5  # the last data are loaded and the charts drawn
xdotool windowfocus --sync "$window"
import -window "$window" "$out/data-panel$suffix.png"
xdotool key ctrl+Next  # Ctrl+PgDown: the Run panel
sleep 2
import -window "$window" "$out/run-panel$suffix.png"
kill "$program"
wait "$program" || true
echo "$out/data-panel$suffix.png $out/run-panel$suffix.png"
