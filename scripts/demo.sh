#!/usr/bin/env bash
# A short headless demonstration with the batch runner on the shipped examples:
# a single run that grows visibly, a small experiment plan, and the summaries.
#   scripts/demo.sh [path/to/quorvane-batch] [output folder]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
batch=$(realpath "${1:-$root/build/bin/quorvane-batch}")
out=${2:-$(mktemp -d "${TMPDIR:-/tmp}/quorvane-demo.XXXXXX")}
mkdir -p "$out"
cp "$root"/examples/*.csv "$out"/
cd "$out"
echo "== a single simulation of examples/growing.csv"
"$batch" --data growing.csv --log demo_log.csv --record growth_record.csv
echo "== the plan examples/small_plan.csv (4 combinations, full runs)"
"$batch" --plan small_plan.csv --log demo_log.csv
echo "== summaries of the log"
"$batch" --summary --log demo_log.csv --quiet
echo
echo "The demo's run log is $out/demo_log.csv"
echo "Growth record of the single run: $out/growth_record.csv"
echo "Summaries: $out/demo_log_Quorvane_summary_np.csv and ..._wp.csv"
