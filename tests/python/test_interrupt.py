"""Ctrl-C stops a run as it stops the batch runner: the run is logged with
event 10, then KeyboardInterrupt; the next call runs as if nothing happened."""
import os
import signal
import subprocess
import threading

import pytest

import quorvane
from conftest import BATCH, rows_of

ENDLESS = dict(Is_any_limits=1, N_field_W=30, N_field_H=30)


def endless_data():
    data = quorvane.Data.read("growing.csv")
    for key, value in ENDLESS.items():
        data[key] = value
    return data


def ctrl_c_soon(started, seconds=1.0):
    """Ctrl-C to this process a while after the call on the main thread began."""
    def press():
        started.wait()
        threading.Event().wait(seconds)
        os.kill(os.getpid(), signal.SIGINT)
    thread = threading.Thread(target=press)
    thread.start()
    return thread


def test_ctrl_c_ends_a_run_as_in_the_batch_runner(work):
    process = subprocess.Popen([BATCH, "--quiet", "--data", "growing.csv", "--log", "batch.csv",
                                *[a for k, v in ENDLESS.items() for a in ("--set", f"{k}={v}")]],
                               cwd=work)
    threading.Event().wait(1.0)
    process.send_signal(signal.SIGINT)
    assert process.wait(timeout=120) == 130

    data = endless_data()
    started = threading.Event()
    presser = ctrl_c_soon(started)
    with pytest.raises(KeyboardInterrupt):
        started.set()
        quorvane.run(data, log="module.csv")
    presser.join()
    [batch_row], [module_row] = rows_of(work / "batch.csv"), rows_of(work / "module.csv")
    batch_cells, module_cells = batch_row.split('","'), module_row.split('","')
    assert module_cells[1] == batch_cells[1] == "10"
    # The same data and run parameters (up to "Vc"); only how far each got differs.
    assert module_cells[:27][1:] == batch_cells[:27][1:]

    after = quorvane.run(quorvane.Data.read("growing.csv"), steps=20, log="after.csv")
    assert after.event == 5


def test_ctrl_c_stops_every_worker_of_a_study(work):
    started = threading.Event()
    presser = ctrl_c_soon(started, seconds=2.0)  # both workers well into their first run
    with pytest.raises(KeyboardInterrupt):
        started.set()
        quorvane.general(endless_data(), 8, seed=3, jobs=2, log="study.csv")
    presser.join()
    events = [row.split('","')[1] for row in rows_of(work / "study.csv")]
    assert events.count("10") == 2  # one interrupted run per worker, joined into the log
    assert not (work / "study_Quorvane_parts").exists()
    assert quorvane.run(quorvane.Data.read("growing.csv"), steps=20, log="after.csv").event == 5
