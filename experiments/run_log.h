#pragma once
/// The run log: a comma-separated file that grows for the life of a study, one
/// quoted row per finished, stopped or reduced run, under two header lines.

#include <array>
#include <ctime>
#include <string>
#include <string_view>

#include "common/platform.h"
#include "experiments/run_record.h"

namespace quorvane {

class LockedFile;

/// Event codes of the log's "Event" column.
enum RunLogEvent : int {
    kEventTimeLimit = 0,        ///< wall-clock time limit reached
    kEventFirstLayerLimit = 1,  ///< first layer not grown within its time limit
    kEventRateCheck = 2,        ///< rate check of a full single run failed
    kEventLayersLimit = 3,      ///< grown distance reached the layer limit
    kEventStepLimit = 5,        ///< the batch runner's own step limit
    kEventInterrupted = 10,     ///< stopped with messages pending, or the program closing
    kEventReduced = 77,         ///< reduced record of a full run, or its single-probability run
};

/// Name and unit of one log column.
struct RunLogColumn {
    const char* name;
    const char* unit;
};

constexpr int kRunLogColumnCount = 41;
extern const std::array<RunLogColumn, kRunLogColumnCount> kRunLogColumns;

/// The two header lines, each ended by a line feed.
std::string runLogHeader();

/// One data row for `record` written at local time `when`, ended by a line feed.
std::string runLogRow(int eventCode, const RunRecord& record, const std::tm& when);

/// True when `text` is whole rows of a run log (no header): lines of 41 quoted
/// cells, each ended by a line feed.
bool isRunLogRows(std::string_view text);

/// Appends one row to the log at `path`, writing the header first when the file
/// is missing or empty. A row goes in whole or not at all, under a lock on the
/// log, so that processes sharing one log take turns. When the file cannot
/// be opened the user may retry (at most four attempts). Returns false when the
/// row was not written.
bool appendRunRecord(const std::string& path, int eventCode, const RunRecord& record,
                     Platform& platform);

/// Appends rows already formatted (whole lines) under the same rules as
/// appendRunRecord: the header first for a missing or empty log, a torn last
/// line repaired, all rows in one write or none. No retry question.
bool appendRunLogRows(const std::string& path, const std::string& rows, Platform& platform);

/// With the log at `path` locked: makes sure the next row starts on a line of
/// its own. A last line torn by an earlier failure (a full disk, a process
/// killed while writing) is cut off, with a message; the rows before it stay.
void repairRunLogEnd(LockedFile& log, const std::string& path, Platform& platform);

}  // namespace quorvane
