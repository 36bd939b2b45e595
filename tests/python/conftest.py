"""The Python module's tests: the module from the build tree, the batch runner
beside it, and a folder of their own with the shipped examples in it."""
import os
import pathlib
import shutil
import subprocess

import pytest

SOURCE = pathlib.Path(os.environ.get("QUORVANE_SOURCE_DIR", pathlib.Path(__file__).parents[2]))
BATCH = os.environ.get("QUORVANE_BATCH", str(SOURCE / "build" / "bin" / "quorvane-batch"))


@pytest.fixture
def work(tmp_path, monkeypatch):
    """A folder holding the example data and plan, made the current one (the
    default log lands there)."""
    for name in ("growing.csv", "small_plan.csv"):
        shutil.copy(SOURCE / "examples" / name, tmp_path / name)
    monkeypatch.chdir(tmp_path)
    return tmp_path


def batch(folder, *arguments, check=True):
    """quorvane-batch run in `folder`; its completed process."""
    done = subprocess.run([BATCH, "--quiet", *arguments], cwd=folder, capture_output=True,
                          text=True, timeout=600)
    if check:
        assert done.returncode == 0, done.stderr
    return done


def rows_of(path):
    """The log's data rows as the file holds them."""
    return [line for line in pathlib.Path(path).read_text().splitlines()
            if line.startswith('"') and not line.startswith('"Date"') and not line.startswith('" "')]


def without_dates(rows):
    """Rows without their date cell, the one cell that differs from run to run."""
    return [row[row.index('","') + 3:] for row in rows]
