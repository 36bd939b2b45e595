"""quorvane.Data against the batch runner's --data, --set and --write-data:
the same files, the same rules, the same refusals."""
import pathlib

import numpy as np
import pytest

import quorvane
from conftest import batch


def written(data, path):
    data.write(str(path))
    return pathlib.Path(path).read_bytes()


def test_data_files_are_those_of_the_batch_runner(work):
    batch(work, "--no-run", "--write-data", "builtin_batch.csv")
    assert written(quorvane.Data(), work / "builtin.csv") == (work / "builtin_batch.csv").read_bytes()

    sets = [("General_Suupercooling", 1.2345678901), ("N_field_W", 48), ("system", 2),
            ("dimension", 1), ("Is_includes_porosity", True), ("List_of_values_to_try", "0.01,0.03")]
    batch(work, "--data", "growing.csv", "--no-run", "--write-data", "set_batch.csv",
          *[a for key, value in sets
            for a in ("--set", f"{key}={int(value) if isinstance(value, bool) else value}")])
    data = quorvane.Data.read("growing.csv")
    for key, value in sets:
        data[key] = value
    assert written(data, work / "set.csv") == (work / "set_batch.csv").read_bytes()
    # What was written reads back as the batch runner reads it.
    batch(work, "--data", "set.csv", "--no-run", "--write-data", "again_batch.csv")
    assert written(quorvane.Data.read("set.csv"), work / "again.csv") == \
        (work / "again_batch.csv").read_bytes()


def test_values_by_key_and_their_types(work):
    data = quorvane.Data.read("growing.csv")
    assert data["N_field_W"] == 60 and isinstance(data["N_field_W"], int)
    # The file's 1 as the theory has it from the enthalpy and the temperatures.
    assert data["General_Suupercooling"] == pytest.approx(1.0, abs=1e-5)
    assert isinstance(data["General_Suupercooling"], float)
    assert isinstance(data["Parts_of_surface_for_edges"], str)
    data["Layers_limit"] = 0.1 + 0.2  # no digit lost on the way through the text
    assert data["Layers_limit"] == 0.1 + 0.2
    keys = data.keys()
    assert keys[0] == "system" and "Random_argument__6" in keys and "Content,Data" not in keys
    assert len(data) == len(keys) and list(data) == keys and "Size_A" in data
    assert data["Random_argument__6"].count(",") > 5
    file_keys = [line.split(",")[0] for line in data.text().splitlines()]
    assert [k for k in file_keys if k in keys] == keys  # the file's own order
    assert data.unit("Size_A") == "A" and data.unit("Time_step") == "sec"
    with pytest.raises(KeyError, match="unknown key"):
        data["General_Supercooling"]


def test_refusals_say_why_and_change_nothing(work):
    data = quorvane.Data.read("growing.csv")
    before = data.text()
    cases = [
        ("No_such_key", 1, "No_such_key=1: unknown key (the keys are those of the data file)"),
        ("Size_A", "abc", "Size_A=abc: the value must be a number"),
        ("Is_any_limits", 2, "Is_any_limits=2: the value must be 0 or 1"),
        ("dimension", 1, "dimension=1: single units can be chosen only in the unit system Custom"),
        ("N_field_W", 0, "N_field_W=0: the value must be a whole number of molecules 1..1000000"),
        ("Prob_in_at_step", 1.5, "Prob_in_at_step=1.5: the value must be a probability 0..1"),
        ("Va_continues", 1, "Va_continues=1: a result written for the reader of the file"),
        ("Size_B", "1\n2", "Size_B: the key and the value must not hold control characters"),
    ]
    for key, value, message in cases:
        with pytest.raises(ValueError) as refused:
            data[key] = value
        assert str(refused.value).startswith(message), str(refused.value)
        # The same reason from the batch runner, after its own "--set KEY=VALUE: ".
        if "\n" not in str(value):
            done = batch(work, "--data", "growing.csv", "--no-run", "--set", f"{key}={value}",
                         check=False)
            assert done.returncode == 2 and message.split(": ", 1)[1] in done.stderr
    assert data.text() == before


def test_files_that_cannot_be_read_or_written(work):
    (work / "broken.csv").write_text("Not a data file\n")
    with pytest.raises(FileNotFoundError, match="cannot read the data file missing.csv"):
        quorvane.Data.read("missing.csv")
    with pytest.raises(ValueError, match="Wrong file extention, must be csv"):
        quorvane.Data.read("growing.txt")
    with pytest.raises(ValueError, match="It is not correct file for reading data"):
        quorvane.Data.read("broken.csv")
    data = quorvane.Data()
    with pytest.raises(ValueError, match="its folder does not exist"):
        data.write(str(work / "no" / "such.csv"))
    with pytest.raises(ValueError, match="is a folder"):
        (work / "folder.csv").mkdir()
        data.write(str(work / "folder.csv"))
    assert not (work / "no").exists()


def test_derived_values_follow_the_data(work):
    data = quorvane.Data.read("growing.csv")
    theory = data.theory()
    assert theory["Va_continues"] == data["Va_continues"] > 0
    assert theory["Vc_kes"] == data["Vc_kes"]
    p = data.probabilities()
    assert p["P"] == data["Prob_in_at_step"] and p["Pint"] == int(p["P"] * 4294967295)
    assert len(p["leave"]) == len(p["grow"]) == len(p["contact_fraction"]) >= 2
    assert np.all((p["leave"] >= 0) & (p["leave"] <= 1))
    colder = data.copy()
    assert colder.text() == data.text()
    colder["General_Suupercooling"] = 2.0
    assert colder.theory()["Va_continues"] != theory["Va_continues"]
    assert data.theory() == theory  # a copy is a data set of its own
    assert colder.probabilities()["leave"][0] != p["leave"][0]
