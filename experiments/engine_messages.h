#pragma once
/// The program's own words when the engine refuses the data of a run.

#include <string>

#include "engine/field_geometry.h"

namespace quorvane {

inline constexpr const char* kProbabilityNotANumber =
    "The probability to jump in is not a number. Check P on the Run panel.";

/// A message for a refused `InitRun` or `SetRates`.
std::string engineRefusalMessage(InitStatus status);

}  // namespace quorvane
