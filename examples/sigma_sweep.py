"""How fast does the face grow as its specific surface energy sigma' rises?

A small sweep with the Python module: one run of the example data per sigma',
the growth rate of each run against time, and the mean rate against sigma'
as a part of continuous growth, saved as sigma_sweep.png.

Run it as a script (python3 sigma_sweep.py [OUTPUT_FOLDER]) or cell by cell in
a notebook (Jupyter, VS Code): every "# %%" begins a cell.
"""

# %% The example data of this folder, on a field small enough for seconds
import pathlib
import sys

import matplotlib

if "ipykernel" not in sys.modules:
    matplotlib.use("Agg")  # a script draws into the file only; a notebook also shows it
import matplotlib.pyplot as plt

import quorvane

here = pathlib.Path(__file__).resolve().parent
out = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 and __name__ == "__main__" else pathlib.Path.cwd()
out.mkdir(parents=True, exist_ok=True)

data = quorvane.Data.read(str(here / "growing.csv"))
data["N_field_W"] = 20  # the rate is measured over W x H steps: 400
data["N_field_H"] = 20
data["Layers_limit"] = 40

# %% The sweep: each run ends at 40 layers, or after 4000 steps
sigmas = [1.0, 2.0, 3.0, 4.0, 5.0]
runs = {}
for sigma in sigmas:
    data["General_Surface_Energy"] = sigma
    runs[sigma] = quorvane.run(data, steps=4000, log=str(out / "sigma_sweep_log.csv"))
    row = runs[sigma].row
    print(f"sigma' = {sigma:g}: {row['distance']:.2f} layers in {row['nRecords']} steps, "
          f"{row['Av.Rate as part cont.']:.3f} of continuous growth, "
          f"{runs[sigma].regime['regime']}")

# %% The rate against time, and the mean rate against sigma'
figure, (left, right) = plt.subplots(1, 2, figsize=(11, 4.2))
for sigma, run in runs.items():
    start = run.rate.nonzero()[0]  # the rate is 0 until its window has filled
    first = start[0] if len(start) else 0
    left.plot(run.time[first:] * 1e3, run.rate[first:] * 1e-3, label=f"σ′ = {sigma:g}")
left.set_xlabel("model time, ms")
left.set_ylabel("growth rate, layers per ms")
left.set_title("Moving-window rate of each run")
left.legend()
right.plot(sigmas, [run.row["Av.Rate as part cont."] for run in runs.values()], "o-")
right.set_xlabel("specific surface energy σ′")
right.set_ylabel("mean rate / continuous growth")
right.set_title("Mean rate against σ′")
figure.tight_layout()
figure.savefig(out / "sigma_sweep.png", dpi=90)
print(f"wrote {out / 'sigma_sweep.png'}")
