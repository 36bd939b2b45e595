#!/usr/bin/env bash
# The study report of a real study, photographed for the documentation: a 5 x 5
# plan of the specific surface energy (2..10) and the general supercooling
# (0.25..2.25) of examples/growing.csv on a 64 x 64 field, run twice on two
# workers (two repeats of every combination), reported and rendered by headless
# Chromium.
#   scripts/study-report-screenshot.sh [path/to/quorvane-batch] [picture.png]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
batch=$(realpath "${1:-$root/build-rel/bin/quorvane-batch}")
picture=$(realpath -m "${2:-$root/docs/study-report.png}")
out=$(mktemp -d "${TMPDIR:-/tmp}/quorvane-study.XXXXXX")
cp "$root/examples/growing.csv" "$out/"
cd "$out"
# The plan, then the same plan with its ranges walked downward: every worker
# starts from the same fixed seeds, so the same order would give the same runs
# again; the other order gives every combination a second, independent run.
printf 'The_file_of_experiment_tasks_for_Quorvane\ngrowing.csv\ngrid_log.csv\n1, 2, 10, 2, 4\n0, 0.25, 2.25, 0.25, 4\n' > grid.csv
printf 'The_file_of_experiment_tasks_for_Quorvane\ngrowing.csv\ngrid_log.csv\n1, 10, 2, 10, 4\n0, 2.25, 0.25, 2.25, 4\n' > grid_down.csv
settings=(--log grid_log.csv --jobs 2 --quiet
          --set N_field_W=64 --set N_field_H=64 --set Time_simulattion_limit=0.5)
"$batch" --plan grid.csv "${settings[@]}"
"$batch" --plan grid_down.csv "${settings[@]}" --study-report grid.html
chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --window-size=1400,2300 \
    --screenshot="$picture" "file://$out/grid.html" 2>/dev/null
echo "The report is $out/grid.html; its picture $picture"
