#pragma once
/// The range a new plan row starts with: it continues the rows of its kind
/// already in the plan, or spans a sensible share of the current value.

#include <vector>

#include "experiments/plan.h"

namespace quorvane {

/// The proposed row of `kind`, given the rows already in the plan.
task proposeRow(int kind, const std::vector<task>& rows, const PlanQuantities& quantities);

}  // namespace quorvane
