#pragma once
/// The Data panel's report menu: "Save report chart" (32850), the velocity
/// curves of the data as one JPEG picture, and "Save full report" (32851), the
/// user's HTML template filled with the data, the theory and seven pictures.

#include <string>

#include "common/platform.h"
#include "experiments/app_state.h"
#include "reports/report_fields.h"

namespace quorvane {

inline constexpr int kSaveReportChartCommand = 32850;
inline constexpr int kSaveFullReportCommand = 32851;

inline constexpr const char* kIsTemplateMessage =
    "It is template file. It should be other html file.";
inline constexpr const char* kNoTemplateMessage =
    "There must be template file unstalled correctly.\nCheck working brelwick folder for "
    "pathToTemlateOfFullReport.html file.";
inline constexpr const char* kOverwriteReportQuestion =
    "It's look like you are overwriting existing report.\n If OK - click Yes. if not - click No";
inline constexpr const char* kImageFolderMessage =
    "Mistake in creating images directory. Try againg.";

/// Where the template comes from: a file (the working folder's, or one the
/// batch runner is given), or, with an empty path, the shipped template.
struct ReportTemplate {
    std::string path;
};

/// Asks for the report file ("Select html file to save full report") and
/// writes it; nothing happens when the dialog is cancelled. `fields` is the
/// Data panel's table: it keeps its keys from one report to the next.
bool saveFullReport(AppState& state, Platform& platform, ReportFields& fields,
                    const ReportTemplate& source);

/// What becomes of an earlier report of the same name (its picture folder is
/// there): the desktop program asks, and "No" keeps it; the batch runner,
/// which asks nothing, replaces it whole, as it does a run report.
enum class EarlierReport { Ask, Replace };

/// Writes the full report to `path` and opens it in the default program.
/// Every failure ends with its message; the user's files stay as they were.
/// A symbolic link is followed: the pictures go beside the page it names.
bool writeFullReport(AppState& state, Platform& platform, ReportFields& fields,
                     const std::string& path, const ReportTemplate& source,
                     EarlierReport earlier = EarlierReport::Ask);

/// Asks for a ".jpg" file ("Select file to save report chart"), saves the
/// velocity curves there and opens the picture.
bool saveReportChart(AppState& state, Platform& platform);

/// The same without the dialog.
bool writeReportChart(AppState& state, Platform& platform, const std::string& path);

}  // namespace quorvane
