#pragma once
/// The growth record of a run as CSV, with the engine parameters that
/// reproduce it, every real printed with "%.17g".

#include <string>

#include "experiments/app_state.h"

namespace quorvane::batch {

/// The text of the record file for the state's last run.
std::string formatGrowthRecordCsv(const AppState& state);

}  // namespace quorvane::batch
