#pragma once
/// The combinations of a plan by number: how many there are and where the
/// current values stand, counted by multiplication instead of walking them,
/// so that a plan of 10^12 combinations is numbered at once.

#include <optional>
#include <vector>

#include "experiments/plan.h"

namespace quorvane {

/// The values a parameter takes in the order the plan visits them: its start,
/// then every distinct value beyond it in its direction.
std::vector<double> visitedValues(const ExperimentPlan& plan, const parameter& p);

/// The number of combinations (1 for an empty plan); nullopt when it is too
/// large to be counted in a long long.
std::optional<long long> combinationCount(const ExperimentPlan& plan);

/// The position, counted from 0, of the plan's current values in its order of
/// combinations. A value between two of its kind's values stands in for the
/// lower one (in the walking direction): the next step goes to the upper one.
/// Saturates at the largest long long.
long long currentPosition(const ExperimentPlan& plan);

/// Sets the current values to the combination at `position`; false (the plan
/// unchanged) when there is none.
bool moveToPosition(ExperimentPlan& plan, long long position);

}  // namespace quorvane
