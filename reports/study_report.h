#pragma once
/// The study report: a run log, the table of regimes beside it and the plan or
/// command that made them, as one HTML page with its pictures (PNG and SVG,
/// each with the CSV of its numbers) in a folder named after the page. The
/// page and the folder are written whole or not at all.

#include <optional>
#include <string>
#include <vector>

#include "common/platform.h"
#include "experiments/app_state.h"
#include "experiments/plan_file.h"

namespace quorvane {

/// "Study report…" in the Tools menu of the Run panel's Action button.
inline constexpr int kSaveStudyReportCommand = 32852;

struct StudyReportRequest {
    std::string path;     ///< FILE.html
    std::string logPath;  ///< the run log of the study
    std::optional<std::string>
        planPath;  ///< the plan that made it (else looked for beside the log)
    std::optional<std::vector<task>> planRows;  ///< or its rows, as the Run panel holds them
    bool general = false;                       ///< made by a general experiment
    std::string command;                        ///< the command that made it, when known
};

/// Writes the report and opens it in the default program. Every failure ends
/// with its message and leaves an earlier report of that name as it was.
bool writeStudyReport(const StudyReportRequest& request, Platform& platform);

/// Asks for the file ("Select html file to save study report") and writes the
/// report of the current log there; the plan in the Run panel counts as the
/// study's when its results go to that log.
bool saveStudyReport(const AppState& state, const PlanPaths& plan, Platform& platform);

}  // namespace quorvane
