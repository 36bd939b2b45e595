#pragma once
/// The command line of the batch runner.

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "batch/batch_reports.h"

namespace quorvane {
class Session;
}

namespace quorvane::batch {

enum class RunMode { Single, Full, Plan, General, Research, None };

/// The largest --record-max-mb: a million megabytes, a terabyte.
inline constexpr double kMaxRecordMb = 1e6;

struct BatchOptions {
    bool help = false;
    /// Print the version and the commit of the build, and stop.
    bool version = false;
    bool quiet = false;
    std::optional<std::string> dataFile;
    /// Data held in memory instead (the Python module's Data): puts them into a
    /// session's state, where --data would read its file. Every worker calls it.
    std::function<void(Session&)> data;
    std::vector<std::pair<std::string, std::string>> sets;  ///< KEY, VALUE in order
    std::optional<std::string> logFile;
    RunMode mode = RunMode::Single;
    std::string planFile;
    bool planTest = false;
    bool planResume = false;
    long long generalDraws = 0;
    std::optional<unsigned> generalSeed;
    bool summary = false;
    long long steps = 0;
    std::optional<bool> porous;
    std::optional<std::string> recordFile;
    std::optional<std::string> writeDataFile;
    /// --jobs N: workers on this machine (0: one per core).
    long long jobs = 1;
    /// --record-every K and --record-max-mb M (0.01 .. kMaxRecordMb) of the growth record file.
    long long recordEvery = 1;
    double recordMaxMb = 200;
    bool sharded = false;
    long long shardIndex = 0;
    long long shardCount = 1;
    /// A worker of --jobs: its shard goes on from its own file, as --resume does.
    bool shardContinues = false;
    ReportRequest reports;
    /// The command line as typed, for the study report.
    std::string commandLine;

    // "merge OUT IN...": join several logs under one header.
    bool merge = false;
    std::string mergeOutput;
    std::vector<std::string> mergeInputs;
};

struct ParsedOptions {
    bool ok = false;
    std::string error;  ///< what is wrong, for standard error
    BatchOptions options;
};

/// Parses the arguments after the program name.
ParsedOptions parseBatchOptions(const std::vector<std::string>& arguments);

/// The text of --help.
std::string batchHelpText();

}  // namespace quorvane::batch
