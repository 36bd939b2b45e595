#pragma once
/// The parts of the module `quorvane`, each adding its classes and functions.

#include <pybind11/pybind11.h>

namespace quorvane::python {

namespace py = pybind11;

/// quorvane.Data: read, write, keys, derived values.
void bindData(py::module_& module);
/// quorvane.Run, quorvane.run and quorvane.full_run.
void bindRuns(py::module_& module);
/// quorvane.Study, quorvane.plan, quorvane.general and the log helpers.
void bindStudies(py::module_& module);

}  // namespace quorvane::python
