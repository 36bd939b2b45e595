#pragma once
/// The value marks under the experiment plan: for each stepped kind, every
/// value it takes and the value the next run uses.

#include <string>
#include <vector>

#include "experiments/plan.h"

namespace quorvane {

struct PlanMarkRow {
    std::string label;           ///< the kind's name
    std::vector<double> values;  ///< sorted, each once
    double current = 0;          ///< the value the next run uses
};

/// One row per stepped kind of the plan, in the plan's order of kinds.
std::vector<PlanMarkRow> planMarkRows(const ExperimentPlan& plan);

}  // namespace quorvane
