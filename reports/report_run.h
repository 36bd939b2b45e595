#pragma once
/// "Save run as HTML report" (command 32845 of the Run panel): the current
/// data and the state of the current run as one HTML page with its pictures
/// in a folder beside it.

#include <optional>
#include <string>

#include "common/platform.h"
#include "experiments/app_state.h"
#include "reports/report_pictures.h"

namespace quorvane {

inline constexpr int kSaveRunReportCommand = 32845;

struct RunReportOptions {
    RunReportView view;
    /// The growth regime of the current run, when the core names one.
    std::optional<std::string> growthRegime;
};

/// What a written report left behind.
struct RunReportResult {
    bool written = false;
    int picturesMissing = 0;  ///< pictures that could not be drawn or saved
};

/// Asks for the file ("Select html file to save report") and writes the
/// report there; nothing happens when the dialog is cancelled.
RunReportResult saveRunReport(const AppState& state, Platform& platform,
                              const RunReportOptions& options = {});

/// Writes the report to `path` and opens it in the default program. Failures
/// end with their message and leave an earlier report of that name as it was.
RunReportResult writeRunReport(const AppState& state, Platform& platform, const std::string& path,
                               const RunReportOptions& options = {});

}  // namespace quorvane
