#pragma once
/// The program's long-lived objects, one of each, owned here and handed by
/// reference to whoever needs them. The desktop program, the batch runner and
/// every test build their own.

#include <string>

#include "engine/growth_engine.h"
#include "engine/taus88.h"
#include "experiments/plan.h"
#include "experiments/results.h"
#include "experiments/run_state.h"
#include "model/physical_data.h"
#include "model/run_settings.h"

namespace quorvane {

struct AppState {
    /// The process-wide random generator: seeded once at start-up, never reset.
    Taus88 random;
    GrowthEngine engine{random};
    PhysicalData data = makeStartData();
    RunSettings run = makeStartRunSettings(data);
    Results results;
    RunState runState;
    ExperimentPlan plan;
    /// The run log every ended run is appended to.
    std::string logPath = "_Quorvane_log.csv";
};

}  // namespace quorvane
