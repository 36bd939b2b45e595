#pragma once
/// The growth record of a run as CSV, with the engine parameters that
/// reproduce it, every real printed with "%.17g".

#include <string>

#include "experiments/app_state.h"

namespace quorvane::batch {

/// How lean the record file is: every `every`-th step (and always the last),
/// and never more than `maxBytes` (the stride doubles until the file fits).
struct RecordFileLimits {
    long long every = 1;
    double maxBytes = 200e6;
};

/// The text of the record file for the state's last run. The file says which
/// steps it kept ("# record_every = K"); the record in memory is not touched.
std::string formatGrowthRecordCsv(const AppState& state, const RecordFileLimits& limits = {});

}  // namespace quorvane::batch
