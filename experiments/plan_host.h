#pragma once
/// What the plan and its file need from the rest of the program: the data
/// file, the run log path, the current physical values and the runner's test
/// mode. The Run panel wires these to the Data panel, the Help panel and the
/// runner; a callback left empty is simply not called.

#include <functional>
#include <string>

#include "experiments/plan.h"

namespace quorvane {

struct PlanHost {
    /// Loads a data file into the Data panel (the data file of an opened plan).
    std::function<void(const std::string& path)> loadDataFile;
    /// Writes the current data to a data file; reports its own failures.
    std::function<bool(const std::string& path)> writeDataFile;
    /// Makes a path the run log path and shows it on the Help panel.
    std::function<void(const std::string& path)> setLogPath;
    /// The Data panel's own data-file path, kept across "Save as".
    std::function<std::string()> currentDataPath;
    std::function<void(const std::string& path)> setCurrentDataPath;
    /// The current values a new row's proposed range is built around.
    std::function<PlanQuantities()> currentQuantities;
    /// Opening a plan means it is meant to be run for real.
    std::function<void()> switchOffTestMode;
};

}  // namespace quorvane
