#include "sheets/plan_marks.h"

#include <algorithm>

namespace quorvane {

std::vector<PlanMarkRow> planMarkRows(const ExperimentPlan& plan) {
    std::vector<PlanMarkRow> rows;
    for (const parameter& par : plan.parameters()) {
        PlanMarkRow row{planKindLabel(par.kind), plan.valuesOfKind(par.kind), par.current};
        std::sort(row.values.begin(), row.values.end());
        row.values.erase(std::unique(row.values.begin(), row.values.end()), row.values.end());
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace quorvane
