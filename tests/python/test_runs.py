"""quorvane.run and quorvane.full_run against the batch runner: the same rows,
the growth record and field as NumPy arrays, refusals with the runner's words."""
import threading

import numpy as np
import pytest

import quorvane
from conftest import batch, rows_of, without_dates


def growing(**sets):
    data = quorvane.Data.read("growing.csv")
    for key, value in sets.items():
        data[key] = value
    return data


def record_file(path):
    """The batch runner's growth record file: its columns by name."""
    lines = [line for line in open(path) if not line.startswith("#")]
    names = lines[0].strip().split(",")
    values = np.array([[float(cell) for cell in line.split(",")] for line in lines[1:]])
    return {name: values[:, i] for i, name in enumerate(names)}


def test_a_run_gives_the_batch_runners_row_and_record(work):
    # The supercooling scales the enthalpies from the value it had, as on the Data panel.
    batch(work, "--data", "growing.csv", "--set", "General_Surface_Energy=2.5", "--set",
          "General_Suupercooling=1.3", "--steps", "700", "--log", "batch.csv", "--record",
          "record.csv")
    run = quorvane.run(growing(General_Surface_Energy=2.5, General_Suupercooling=1.3), steps=700,
                       log="module.csv")
    assert without_dates(rows_of(work / "module.csv")) == without_dates(rows_of(work / "batch.csv"))
    assert run.row_text == rows_of(work / "module.csv")[-1]  # the date too
    assert run.event == 5 and run.row["Event"] == 5 and run.row["nRecords"] == 700
    assert run.row["Porosity"] is None and run.rows == [run.row]

    record = record_file(work / "record.csv")
    assert np.array_equal(run.step, record["step"])
    for name, column in [("time", "time_s"), ("distance", "height_layers"),
                         ("roughness", "roughness_layers"), ("rate", "rate_layers_per_s"),
                         ("porosity", "porosity")]:
        assert np.array_equal(getattr(run, name), record[column]), name
    evaluation = run.evaluation
    assert evaluation["steps"] == 700 and evaluation["mechanism_text"]
    # The log keeps six digits ("%g") of what the arrays hold whole.
    assert evaluation["final_height"] == run.distance[-1] == pytest.approx(run.row["distance"],
                                                                           rel=1e-5)
    regime = run.regime
    assert regime["regime"] in ("continuous", "intermediate", "nucleation", "undetermined")
    assert regime["text"].startswith(regime["regime"])
    assert (work / "record.csv").read_text().count(f"# growth_regime = {regime['regime']}\n") == 1


def test_record_arrays_are_views_and_thinned_as_the_record_file(work):
    batch(work, "--data", "growing.csv", "--plain", "--steps", "250", "--log", "batch.csv",
          "--record", "record.csv", "--record-every", "7")
    run = quorvane.run(growing(), steps=250, porous=False, record_every=7, log="module.csv")
    record = record_file(work / "record.csv")
    assert list(run.step) == list(range(7, 250, 7)) + [250]
    assert np.array_equal(run.step, record["step"])
    assert np.array_equal(run.distance, record["height_layers"])
    whole = quorvane.run(growing(), steps=250, porous=False, log="module.csv")
    # The whole record is the run's own storage: no copy was made for Python.
    assert not whole.time.flags.owndata and np.shares_memory(whole.time, whole.time)
    assert whole.time.base is not None and not whole.time.flags.writeable
    with pytest.raises(ValueError):
        whole.distance[0] = 1.0
    assert np.array_equal(whole.distance[6::7], run.distance[:-1])


def test_the_field_is_the_runs_final_heights(work):
    run = quorvane.run(growing(N_field_W=40, N_field_H=30, Is_includes_porosity=1), steps=300,
                       log="module.csv")
    assert run.heights.shape == (30, 40) and run.heights.dtype == np.int32
    # The mean height of the field is the distance the record ends with.
    assert run.heights.mean() == pytest.approx(run.distance[-1], abs=1e-12)
    assert run.porosity[-1] > 0 and run.porosity[-1] == pytest.approx(run.row["Porosity"], rel=1e-5)
    held = run.heights
    del run  # the arrays keep their run alive
    assert held.sum() > 0


def test_a_full_run_gives_the_batch_runners_rows(work):
    small = ["--set", "N_field_W=24", "--set", "N_field_H=24", "--set", "Layers_limit=3"]
    batch(work, "--data", "growing.csv", "--full", "--log", "batch.csv", *small)
    run = quorvane.full_run(growing(N_field_W=24, N_field_H=24, Layers_limit=3), log="module.csv")
    assert without_dates(rows_of(work / "module.csv")) == without_dates(rows_of(work / "batch.csv"))
    assert [row["Event"] for row in run.rows][-1] == 77 == run.event
    assert len(run.rows) == len(rows_of(work / "batch.csv")) >= 3


def test_runs_on_threads_give_the_rows_of_runs_one_after_the_other(work):
    quorvane.run(growing(General_Suupercooling=1.5), steps=400, log="one.csv")
    quorvane.run(growing(General_Suupercooling=0.7), steps=400, log="one.csv")
    results = {}
    ticks = []

    def run(name, supercooling):
        results[name] = quorvane.run(growing(General_Suupercooling=supercooling), steps=400,
                                     log=f"{name}.csv")

    threads = [threading.Thread(target=run, args=(name, g)) for name, g in (("a", 1.5), ("b", 0.7))]
    for thread in threads:
        thread.start()
    while any(thread.is_alive() for thread in threads):
        ticks.append(1)  # Python runs on while the runs hold no lock
        threading.Event().wait(0.001)
    for thread in threads:
        thread.join()
    assert without_dates(rows_of(work / "a.csv") + rows_of(work / "b.csv")) == \
        without_dates(rows_of(work / "one.csv"))
    assert len(ticks) > 10


def test_refusals_write_nothing(work):
    cases = [
        (dict(steps=0), "steps needs a number of steps 1..10000000"),
        (dict(steps=20_000_000), "steps needs a number of steps 1..10000000"),
        (dict(record_every=0), "record_every needs a number of steps (a whole number above 0)"),
        (dict(log="log.txt"), "Wrong file extention, must be csv: log.txt"),
        (dict(log="missing/log.csv"), "the log missing/log.csv: its folder does not exist"),
    ]
    for arguments, message in cases:
        with pytest.raises(ValueError, match=message.replace("(", r"\(").replace(")", r"\)")):
            quorvane.run(growing(), **{"steps": 10, **arguments})
    with pytest.raises(ValueError, match="the work ended early: refused at the first run"):
        quorvane.run(growing(Size_A=1e300), steps=10, log="huge.csv")
    batch(work, "--data", "growing.csv", "--set", "Size_A=1e300", "--steps", "10", check=False)
    assert sorted(p.name for p in work.iterdir()) == ["growing.csv", "small_plan.csv"]
    with pytest.raises(TypeError):
        quorvane.run(growing(), steps=1.5)
