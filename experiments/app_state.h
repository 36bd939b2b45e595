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
#include "model/random_argument.h"
#include "model/research_settings.h"
#include "model/run_settings.h"
#include "model/working_folder.h"

namespace quorvane {

struct AppState {
    /// The process-wide random generator: seeded once at start-up, never reset.
    Taus88 random;
    GrowthEngine engine{random};
    PhysicalData data = makeStartData();
    RunSettings run = makeStartRunSettings(data);
    Results results;
    RunState runState;
    ResearchSettings research;
    std::vector<RandomArgument> randomArguments = makeDefaultRandomArguments();
    ExperimentPlan plan;
    /// The program's files; relative until the working folder is known.
    AppPaths paths = relativeAppPaths();

    /// The paths of a program that has not located its working folder: the
    /// default data file and the run log in the current directory.
    static AppPaths relativeAppPaths() {
        AppPaths p;
        p.currentDataPath = kDefaultDataFileName;
        p.logPath = kDefaultLogFileName;
        return p;
    }
};

}  // namespace quorvane
