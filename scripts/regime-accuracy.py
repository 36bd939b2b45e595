#!/usr/bin/env python3
"""How often the growth regime of one run is right, judged independently.

For every case (a molecule shape, a field side, sigma' and dG') the batch runner
makes three runs of the example data with those values: one at dG', whose
growth regime is the verdict under test, and two at dG'/1.25 and dG' x 1.25. The
side runs give the measured activation n = d ln R / d ln dG' of the rate part R
(height gained over the last two thirds of a run against continuous growth),
and n names the regime the verdict should have given:
    n < 0.5 continuous, 0.5 <= n < 1.5 intermediate, n >= 1.5 nucleation
(and nucleation when the face hardly grows even at dG' x 1.25: R < 0.01).

Cases lie "in the band" when sigma' is within 0.93..1.14 of the shape's own
roughening point (4.5..5.5 for cubes), else "off the band". A verdict is right
when it names the measured regime; "opposite" when one of the two says
continuous and the other nucleation.

Usage: scripts/regime-accuracy.py BATCH_BINARY [--quick] [--jobs N] [--csv FILE]
Faces-only molecules grow with P = min(0.01, 0.3 exp(dG' - (1 - 2 phi) sigma'))
(phi: contact of a lone molecule), so that the rates are those of small steps.
Runs end at 10 grown layers (side runs 15) or at a cap of steps.
"""
import argparse
import concurrent.futures
import math
import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.join(HERE, "..", "examples", "growing.csv")

# name, (a, b, c) in units of the example's 6 A, edge and vertex weights,
# roughening point, and the contact of a lone molecule on a flat face.
# The roughening points of other shapes scale the cube's 4.84 by the cube's
# lateral bond (1/3 of sigma') over the geometric mean of the shape's two
# lateral bonds, faces and edges of a level neighbour counted.
FAMILIES = {
    "cube": ((1, 1, 1), (0, 0), 4.84, 1 / 6),
    "box 1x1x2": ((1, 1, 2), (0, 0), 5.70, 0.200),
    "box 2x1x1": ((2, 1, 1), (0, 0), 4.03, 0.100),
    "plate 0.5x1x1": ((0.5, 1, 1), (0, 0), 6.45, 0.250),
    "cube, edges 0.25": ((1, 1, 1), (0.25, 0.05), 5.60, 0.212),
}

OFF_BAND = (0.45, 0.8, 1.3, 1.55, 1.85)
IN_BAND = (0.95, 1.04, 1.12)


def cases(quick):
    out = []
    drives = (0.15, 0.4, 0.8, 1.6, 3.5)
    for family in FAMILIES:
        sides = (40, 80) if family == "cube" else (40,)
        for side in sides:
            for f in OFF_BAND + IN_BAND:
                for g in drives if family == "cube" and side == 40 else drives[1:4]:
                    out.append((family, side, f, g))
    if quick:
        out = out[::3]
    return out


def probability(phi, sigma, g):
    return min(0.01, 0.3 * math.exp(g - (1 - 2 * phi) * sigma))


def run(batch, family, side, sigma, g, grown, cap_layers, max_steps, folder, tag):
    (a, b, c), (edges, vertices), _, phi = FAMILIES[family]
    p = probability(phi, sigma, g)
    steps = int(min(max_steps, cap_layers / (p * (1 - math.exp(-g)))))
    record = os.path.join(folder, tag + ".csv")
    settings = [
        "Size_A=%g" % (6 * a), "Size_B=%g" % (6 * b), "Size_C=%g" % (6 * c),
        "Parts_of_surface_for_edges=%g" % edges, "Parts_of_surface_for_vertices=%g" % vertices,
        "N_field_W=%d" % side, "N_field_H=%d" % side, "N_in_per_step=%.9g" % (p * side * side),
        "Is_layers_limit=1", "Layers_limit=%g" % grown, "Is_time_simulattion_limit=0",
        "Is_time_simulattion_limit_first_layer=0",
        "General_Surface_Energy=%.9g" % sigma, "General_Suupercooling=%.9g" % g,
    ]
    command = [batch, "--quiet", "--data", DATA, "--log", os.path.join(folder, tag + "_log.csv"),
               "--steps", str(max(steps, 60)), "--record", record, "--record-every", "10"]
    for s in settings:
        command += ["--set", s]
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL)
    return read_record(record)


def read_record(path):
    header, rows = {}, []
    with open(path) as f:
        for line in f:
            if line.startswith("# "):
                key, _, value = line[2:].partition(" = ")
                header[key] = value.strip()
            elif line[0].isdigit():
                cells = line.split(",")
                rows.append((int(cells[0]), float(cells[2])))
    p = int(header["Pint"]) / 4294967295.0
    per_step = p * (1 - math.exp(-float(header["E0"])))
    last_step, last_height = rows[-1]
    first = min(rows, key=lambda r: abs(r[0] - last_step // 3))
    rate = (last_height - first[1]) / ((last_step - first[0]) * per_step)
    return rate, header.get("growth_regime", "?"), header.get("growth_regime_evidence", "")


def measured_regime(low, high):
    if high < 0.01 or low <= 0:
        return "nucleation", float("inf")
    n = math.log(high / low) / math.log(1.5625)
    return ("continuous" if n < 0.5 else "nucleation" if n >= 1.5 else "intermediate"), n


def judge(batch, case, folder):
    family, side, f, g = case
    sigma = round(f * FAMILIES[family][2], 2)
    tag = "%s_%d_%g_%g" % (family.replace(" ", "").replace(",", ""), side, sigma, g)
    _, verdict, evidence = run(batch, family, side, sigma, g, 10, 100, 300000, folder, tag)
    low = run(batch, family, side, sigma, g / 1.25, 15, 400, 600000, folder, tag + "_low")[0]
    high = run(batch, family, side, sigma, g * 1.25, 15, 400, 600000, folder, tag + "_high")[0]
    truth, n = measured_regime(low, high)
    band = "in band" if f in IN_BAND else "off band"
    opposite = {verdict, truth} == {"continuous", "nucleation"}
    return dict(family=family, side=side, sigma=sigma, dg=g, band=band, verdict=verdict,
                truth=truth, n=n, low=low, high=high, right=verdict == truth,
                opposite=opposite, evidence=evidence)


def summary(results):
    lines = ["| Cases | Off the band: right | In the band: right | In the band: opposite |",
             "|---|---|---|---|"]
    for group in ("cubes", "other shapes", "all"):
        chosen = [r for r in results if group == "all" or (r["family"] == "cube") == (group == "cubes")]
        off = [r for r in chosen if r["band"] == "off band"]
        on = [r for r in chosen if r["band"] == "in band"]
        pct = lambda part, whole: "%d of %d (%.0f %%)" % (part, whole, 100.0 * part / whole) if whole else "-"
        lines.append("| %s | %s | %s | %d |" % (
            group, pct(sum(r["right"] for r in off), len(off)),
            pct(sum(r["right"] for r in on), len(on)), sum(r["opposite"] for r in on)))
    opposite_off = sum(r["opposite"] for r in results if r["band"] == "off band")
    lines.append("Opposite answers off the band: %d" % opposite_off)
    return "\n".join(lines)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("batch")
    parser.add_argument("--quick", action="store_true", help="every third case only")
    parser.add_argument("--jobs", type=int, default=1, help="cases judged at once")
    parser.add_argument("--csv", help="write one line per case to this file")
    args = parser.parse_args()
    todo = cases(args.quick)
    results = []
    with tempfile.TemporaryDirectory() as folder:
        with concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
            for r in pool.map(lambda c: judge(args.batch, c, folder), todo):
                results.append(r)
                print("%-17s %3d sigma'=%-5g dG'=%-4g %-8s %-12s measured %-12s n=%5.2f%s" % (
                    r["family"], r["side"], r["sigma"], r["dg"], r["band"], r["verdict"],
                    r["truth"], r["n"], "" if r["right"] else "  <- wrong"), file=sys.stderr)
    if args.csv:
        keys = ["family", "side", "sigma", "dg", "band", "verdict", "truth", "n", "low", "high",
                "right", "opposite", "evidence"]
        with open(args.csv, "w") as out:
            out.write(",".join(keys) + "\n")
            for r in results:
                out.write(",".join('"%s"' % r[k] if isinstance(r[k], str) else "%.6g" % r[k]
                                   for k in keys) + "\n")
    print(summary(results))


if __name__ == "__main__":
    main()
