#pragma once
/// How a study was made, for its report: the plan whose runs fill the log
/// (named, or found beside the log), or a general experiment, and the command.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "experiments/study.h"

namespace quorvane {

/// The rows of a plan file and the log its third line names.
struct PlanFileRows {
    std::vector<task> rows;
    std::string results;
};

/// The rows of a plan file's text; nothing when it is no plan file.
std::optional<PlanFileRows> readPlanRows(std::string_view text);

/// The plan file in the log's folder whose third line names this log, when
/// exactly one does (a shard's own file is a copy of its plan and does not count).
std::optional<std::string> findPlanOfLog(const std::string& logPath);

/// The origin of the study in the log at `logPath`: the plan at `planPath` when
/// given (or found beside the log unless the study was a general experiment).
StudyOrigin studyOrigin(const std::string& logPath, const std::optional<std::string>& planPath,
                        bool general, const std::string& command);

/// A command line as a shell would take it back: arguments holding anything
/// but letters, digits and "-_./=:,+%@" are put in single quotes.
std::string shellCommand(const std::vector<std::string>& arguments);

}  // namespace quorvane
