// The Python module `quorvane`: the core of the program and its batch runner,
// for notebooks and scripts.

#include <pybind11/pybind11.h>

#include "common/version/version.h"
#include "python/bindings.h"
#include "python/python_platform.h"

PYBIND11_MODULE(quorvane, m) {
    m.doc() =
        "Quorvane: Monte Carlo growth of a crystal face, from Python. Data (a data file), "
        "run (a single simulation), full_run, plan and general (the batch runner's studies), "
        "read_log and merge_logs. The same call gives the same log rows as the same command of "
        "quorvane-batch.";
    quorvane::python::noteMainThread();
    quorvane::python::registerWarningCategory(m);
    quorvane::python::bindData(m);
    quorvane::python::bindRuns(m);
    quorvane::python::bindStudies(m);
    m.attr("__version__") = quorvane::versionText();
}
