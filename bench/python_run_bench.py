"""quorvane.run against quorvane-batch for the same run, as a ratio measured in
one session:

    python3 bench/python_run_bench.py BUILD_DIR [STEPS] [REPETITIONS]

Both make the same single simulation of the example data (its 60 x 60 field, no
limit but STEPS steps, default 20000), one after the other, REPETITIONS times
each (default 7). The batch runner's time is that of its whole process (start,
reading the data file, the run, the log row); the module's that of reading the
data file, setting the key and the call. CPU time is compared (the machine is
shared, and wall time says more about the neighbours), the fastest of each;
wall times are shown beside. The fixed cost of each (a run of one step) shows
how little of the difference is the process's start.
"""
import pathlib
import resource
import subprocess
import sys
import tempfile
import time

build = pathlib.Path(sys.argv[1]).resolve()
steps = int(sys.argv[2]) if len(sys.argv) > 2 else 20000
repetitions = int(sys.argv[3]) if len(sys.argv) > 3 else 7
sys.path.insert(0, str(build / "python"))
import quorvane  # noqa: E402  (from the build given)

data_file = str(pathlib.Path(__file__).resolve().parents[1] / "examples" / "growing.csv")
log = str(pathlib.Path(tempfile.mkdtemp()) / "bench_log.csv")


def children_cpu():
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    return usage.ru_utime + usage.ru_stime


def batch(n):
    cpu, wall = children_cpu(), time.perf_counter()
    subprocess.run([str(build / "bin" / "quorvane-batch"), "--quiet", "--data", data_file,
                    "--set", "Is_any_limits=1", "--steps", str(n), "--log", log], check=True)
    return children_cpu() - cpu, time.perf_counter() - wall


def module(n):
    cpu, wall = time.process_time(), time.perf_counter()
    data = quorvane.Data.read(data_file)
    data["Is_any_limits"] = 1
    quorvane.run(data, steps=n, log=log)
    return time.process_time() - cpu, time.perf_counter() - wall


def fastest(measure, n):
    return tuple(min(column) for column in zip(*(measure(n) for _ in range(repetitions))))


def alternately(n):
    """Both, one after the other, so that a change of the machine's load falls on both."""
    b, m = [], []
    for _ in range(repetitions):
        b.append(batch(n))
        m.append(module(n))
    return tuple(min(c) for c in zip(*b)), tuple(min(c) for c in zip(*m))


(batch_cpu, batch_wall), (module_cpu, module_wall) = alternately(steps)
batch_fixed, module_fixed = fastest(batch, 1)[0], fastest(module, 1)[0]
print(f"{steps} steps, fastest of {repetitions}, CPU seconds (wall):")
print(f"  quorvane-batch  {batch_cpu:.3f} ({batch_wall:.3f}), of it fixed {batch_fixed:.3f}")
print(f"  quorvane.run    {module_cpu:.3f} ({module_wall:.3f}), of it fixed {module_fixed:.3f}")
print(f"  module / batch  {module_cpu / batch_cpu:.3f} CPU, {module_wall / batch_wall:.3f} wall; "
      f"without the fixed costs {(module_cpu - module_fixed) / (batch_cpu - batch_fixed):.3f}")
