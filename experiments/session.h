#pragma once
/// The program's commands over one application state: the run loop, the
/// experiment runner, the plan with its file, the data file and the unit
/// changes, wired together once, the same way for the desktop program and the
/// batch runner.

#include <functional>
#include <string>

#include "common/platform.h"
#include "experiments/app_state.h"
#include "experiments/experiment_runner.h"
#include "experiments/plan_file.h"
#include "experiments/plan_host.h"
#include "experiments/run_controller.h"
#include "model/data_file.h"
#include "model/unit_change.h"

namespace quorvane {

class Session {
  public:
    Session(AppState& state, Platform& platform);
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    AppState& state;
    Platform& platform;
    PlanHost planHost;
    PlanFile planFile;
    RunController loop;
    ExperimentRunner runner;

    /// The log path changed (a plan was opened or saved); the Help panel shows it.
    std::function<void()> logPathChanged;
    /// A line for the main window's status: a run ended, a summary was written.
    std::function<void(const std::string&)> saidStatus;
    /// A unit change emptied the cached labels of the theoretical curves.
    std::function<void()> chartLabelsInvalidated;

    /// The data file's view of the state.
    DataDocument document();
    /// Reads a data file into the state; the current data path follows a loaded file.
    DataFileReadResult readDataFile(const std::string& path);
    /// Writes the state's data file, whole or not at all.
    DataFileWriteResult writeDataFile(const std::string& path);
    /// Carries a unit change over to the plan's ranges and the chart labels.
    void applyUnitChange(const UnitChangeEffect& effect);
    /// "Create summary report" over the current run log.
    /// Both summaries of the log; says where they went when they were written.
    bool createSummaryReports();
};

}  // namespace quorvane
