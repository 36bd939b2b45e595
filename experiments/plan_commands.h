#pragma once
/// The plan commands of the Run panel's "Edit" and "File" menus, bound to
/// their command identifiers.

#include "experiments/plan.h"
#include "experiments/plan_file.h"
#include "experiments/plan_host.h"

namespace quorvane {

/// Runs a plan command on the selected row (-1 for none). True when the
/// command is one of the plan's: the caller then refills the list and
/// repaints the panel.
bool runPlanCommand(int commandId, int selectedRow, ExperimentPlan& plan, PlanFile& file,
                    const PlanHost& host);

}  // namespace quorvane
