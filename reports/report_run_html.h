#pragma once
/// The text of the HTML run report: its head, the table of the input data,
/// the blocks of its four pictures and the table of the run's results. The
/// report is kept in windows-1251, so its plus-minus sign is the byte 0xB1.

#include <optional>
#include <string>

#include "engine/run_evaluation.h"
#include "model/physical_data.h"
#include "model/run_settings.h"

namespace quorvane {

/// The four pictures of the run report, in the order they are made.
enum class RunPicture { Probabilities, Theoretical, Surface, GrowthChart };

struct RunPictureInfo {
    const char* fileName;
    const char* imageOpening;  ///< the image line up to its relative path
    const char* caption;       ///< the caption row that closes the block
};
const RunPictureInfo& runPictureInfo(RunPicture picture);

/// Title, character set, the report's heading and the opening of the input
/// table. `runName` is the path of the current data file.
std::string runReportHead(const std::string& runName);

/// The rows of the input table and its end.
std::string runReportInputTable(const PhysicalData& data, const RunSettings& run);

/// The block of one picture that has been saved under `relativePath`.
std::string runReportPictureBlock(RunPicture picture, const std::string& relativePath);

/// What the result part reads besides the data.
struct RunResultInputs {
    const PhysicalData& data;
    const RunEvaluation& evaluation;
    bool porous = false;  ///< hole-like defects are taken into account in this run
    /// The calibrated growth regime of the run, when the core names one; it is
    /// the row right after the mechanism under "Final analysis:".
    std::optional<std::string> growthRegime;
};

/// The result table, or the line that says no step has been made yet; both
/// end with "</table>\n".
std::string runReportResults(const RunResultInputs& inputs);

/// The report's last line.
inline constexpr const char* kRunReportEnd = "</body></html>\n";

}  // namespace quorvane
