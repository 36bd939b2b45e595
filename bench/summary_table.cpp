#include "summary_table.h"

#include <algorithm>

#include "common/cformat.h"

namespace quorvane::bench {

void SummaryTable::ReportRuns(const std::vector<Run>& runs) {
    for (const Run& run : runs) {
        if (run.error_occurred || run.run_type != Run::RT_Iteration || run.iterations == 0) {
            continue;
        }
        // Other processes only ever add time: the fastest repetition is the truest.
        const double seconds = run.real_accumulated_time / static_cast<double>(run.iterations);
        const auto [entry, added] =
            secondsPerIteration_.emplace(run.run_name.function_name, seconds);
        if (!added) entry->second = std::min(entry->second, seconds);
    }
}

std::vector<std::string> SummaryTable::Lines() const {
    std::vector<std::string> out;
    for (const SummaryLine& line : lines_) {
        const auto own = secondsPerIteration_.find(line.benchmark);
        if (own == secondsPerIteration_.end()) continue;
        const double seconds = own->second;
        if (line.form == LineForm::Milliseconds) {
            out.push_back(cformat("%s: %.0f ms", line.label.c_str(), seconds * 1e3));
            continue;
        }
        const auto base = secondsPerIteration_.find(line.baseline);
        const double ratio = base == secondsPerIteration_.end() ? 0 : seconds / base->second;
        if (line.form == LineForm::PercentOfRun) {
            out.push_back(cformat("%s: %.2g %% of %s", line.label.c_str(),
                                  100 * ratio / line.cellsPerIteration,
                                  line.baselineLabel.c_str()));
            continue;
        }
        if (line.form == LineForm::RatioOnly || line.form == LineForm::SpeedRatio) {
            const double shown = line.form == LineForm::RatioOnly ? ratio
                                 : ratio > 0                      ? 1 / ratio
                                                                  : 0;
            out.push_back(
                cformat("%s: %.2f x %s", line.label.c_str(), shown, line.baselineLabel.c_str()));
        } else {
            const double nsPerCell = seconds * 1e9 / line.cellsPerIteration;
            out.push_back(cformat("%s: %.2f ns/cell, %.2f x %s", line.label.c_str(), nsPerCell,
                                  ratio, line.baselineLabel.c_str()));
        }
    }
    return out;
}

}  // namespace quorvane::bench
