#!/usr/bin/env bash
# Runs the batch runner over a grid of surface energies and supercoolings (faces
# only, the example data otherwise) and compares each run's growth regime with
# the regime physics expects. Usage:
#   scripts/regime-grid.sh BATCH_BINARY SIDE LAYERS ["SIGMAS"] ["SUPERCOOLINGS"] [N_IN_PER_STEP]
# LAYERS is the continuous growth each run is given; N_IN_PER_STEP (default: the
# example's 36) sets the probability per step P = N / SIDE^2.
set -euo pipefail
batch=$1 side=$2 layers=$3
sigmas=${4:-"1 3 4.5 6 7.5 9"}
supercoolings=${5:-"0.1 0.2 0.35 0.5 0.75 1 1.5 2 3 5"}
n_in=${6:-36}
here=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
right=0 runs=0
printf "sigma,dG,side,P,steps,regime,expected\n"
for s in $sigmas; do
  for g in $supercoolings; do
    read -r P steps expected < <(awk -v s="$s" -v g="$g" -v L="$side" -v n="$n_in" -v h="$layers" 'BEGIN {
      P = n / (L * L); steps = int(h / (P * (1 - exp(-g)))) + 1;
      e = (s < 4.84 || g >= s / 3) ? "continuous" : (g <= s / 6 ? "nucleation" : "intermediate");
      print P, steps, e }')
    "$batch" --quiet --data "$here/examples/growing.csv" --log "$work/log.csv" \
      --set Parts_of_surface_for_edges=0 --set Parts_of_surface_for_vertices=0 \
      --set N_field_W="$side" --set N_field_H="$side" --set N_in_per_step="$n_in" \
      --set Is_layers_limit=0 --set Is_time_simulattion_limit=0 \
      --set General_Surface_Energy="$s" --set General_Suupercooling="$g" \
      --steps "$steps" --record "$work/record.csv"
    regime=$(sed -n 's/^# growth_regime = //p' "$work/record.csv")
    runs=$((runs + 1))
    [ "$regime" = "$expected" ] && right=$((right + 1))
    printf "%s,%s,%s,%s,%s,%s,%s\n" "$s" "$g" "$side" "$P" "$steps" "$regime" "$expected"
  done
done
echo "# $right of $runs as expected"
