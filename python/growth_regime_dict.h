#pragma once
/// The growth regime of an evaluated run as Python gets it.

#include <pybind11/pybind11.h>

#include "engine/run_evaluation.h"

namespace quorvane::python {

namespace py = pybind11;

/// {"regime": word, "reason": what decided it, "text": the report's text, and
/// the numbers that decided it}.
py::dict growthRegimeDict(const RunEvaluation& evaluation);

}  // namespace quorvane::python
