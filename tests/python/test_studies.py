"""quorvane.plan and quorvane.general against the batch runner: the same rows in
the same logs, one worker or several."""
import os
import pathlib
import shutil

import pytest

import quorvane
from conftest import SOURCE, batch, rows_of, without_dates

QUICK = dict(N_field_W=16, N_field_H=16, Layers_limit=2)


def quick_data():
    data = quorvane.Data.read(str(SOURCE / "examples" / "growing.csv"))
    for key, value in QUICK.items():
        data[key] = value
    return data


def study_folder(root, name):
    """A folder with the example plan over quick data (the plan file is rewritten
    while its experiment runs, so every study gets a copy of its own)."""
    folder = root / name
    folder.mkdir()
    shutil.copy(SOURCE / "examples" / "small_plan.csv", folder / "small_plan.csv")
    quick_data().write(str(folder / "growing.csv"))
    return folder


@pytest.mark.parametrize("jobs", [1, 2])
def test_a_plan_gives_the_batch_runners_rows(work, monkeypatch, jobs):
    batch(study_folder(work, "batch"), "--plan", "small_plan.csv", "--jobs", str(jobs))
    folder = study_folder(work, "module")
    monkeypatch.chdir(folder)
    study = quorvane.plan("small_plan.csv", jobs=jobs)
    assert study.log == "small_plan_results.csv"
    made = rows_of(folder / study.log)
    assert without_dates(made) == without_dates(rows_of(work / "batch" / study.log))
    assert study.rows_text == made and [row["Event"] for row in study.rows].count(77) == 4
    assert not (folder / "small_plan_results_Quorvane_parts").exists()
    # The same call again: in one process the plan is back at its start and runs
    # again; spread over workers, its shards say they have run, and nothing runs twice.
    again = quorvane.plan("small_plan.csv", log="again.csv", jobs=jobs)
    if jobs == 1:
        assert without_dates(again.rows_text) == without_dates(made)
    else:
        assert again.rows == []


def test_a_general_experiment_gives_the_batch_runners_rows(work):
    # Draws that grow within a few steps: supercooling and surface energy 1..2.
    sets = {"Random_argument__5": "Specific supercooling,0,1,2,0,0,1,1",
            "Random_argument__6": "Specific surface energy,0,1,2,0,0,1,1", **QUICK}
    arguments = [a for key, value in sets.items() for a in ("--set", f"{key}={value}")]
    batch(work, "--data", "growing.csv", "--general", "3", "--general-seed", "11", "--jobs", "2",
          "--log", "batch.csv", *arguments)
    data = quorvane.Data.read("growing.csv")
    for key, value in sets.items():
        data[key] = value
    study = quorvane.general(data, 3, seed=11, jobs=2, log="module.csv")
    assert without_dates(rows_of(work / "module.csv")) == without_dates(rows_of(work / "batch.csv"))
    assert study.seed == 11 and [row["Event"] for row in study.rows].count(77) == 3
    chosen = quorvane.general(data, 1, log="chosen.csv")
    assert chosen.seed is not None and len(chosen.rows) >= 1


def test_studies_refuse_as_the_batch_runner(work):
    cases = [
        (lambda: quorvane.plan("missing.csv"), ValueError, "cannot read the plan file missing.csv"),
        (lambda: quorvane.plan("small_plan.csv", jobs=-1), ValueError,
         "jobs needs a number of workers 0..1024"),
        (lambda: quorvane.general(quick_data(), 0), ValueError, "n needs a number of draws"),
        (lambda: quorvane.general(quick_data(), 2, seed=-1), ValueError,
         "seed needs a whole number 0..4294967295"),
        (lambda: quorvane.general(quick_data(), 2, log="x.txt"), ValueError,
         "Wrong file extention, must be csv"),
    ]
    for call, error, message in cases:
        with pytest.raises(error, match=message):
            call()
    assert sorted(os.listdir(work)) == ["growing.csv", "small_plan.csv"]


def test_logs_are_read_and_merged(work):
    first = quorvane.run(quick_data(), steps=50, log="first.csv")
    second = quorvane.full_run(quick_data(), log="second.csv")
    quorvane.merge_logs("merged.csv", ["first.csv", "second.csv"])
    assert quorvane.read_log("merged.csv") == [first.row] + second.rows
    assert pathlib.Path("merged.csv").read_text().count('"Date"') == 1
    with pytest.raises(OSError):
        quorvane.merge_logs("merged2.csv", ["first.csv", "missing.csv"])
    with pytest.raises(FileNotFoundError):
        quorvane.read_log("missing.csv")
