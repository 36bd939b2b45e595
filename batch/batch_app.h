#pragma once
/// The batch runner's work: load, set, check everything, then run and write.

#include <functional>
#include <string>
#include "batch/batch_options.h"

#include "common/platform.h"
#include "experiments/session.h"

namespace quorvane::batch {

inline constexpr int kExitDone = 0;
inline constexpr int kExitLogFailed = 1;
inline constexpr int kExitBadInput = 2;

/// What the runner's own complaints begin with (messages of its platform).
inline constexpr const char* kComplaintPrefix = "quorvane-batch: ";

/// Runs what the options ask; returns the process's exit status.
int runBatch(const BatchOptions& options, Platform& platform);

/// What a worker of --jobs is told and tells.
struct WorkerLink {
    std::string name;  ///< before its messages, e.g. "worker 2 of 4: "
    /// The log of one combination (or draw) of the study.
    std::function<std::string(long long position)> partLog;
    /// The worker is about to run the combination (or draw) at this position.
    std::function<void(long long position)> started;
    /// The worker has loaded and checked everything and is about to run.
    std::function<void(Session& session)> prepared;
};

/// Loads, plans and sets the session as the options say; every refusal is
/// said here, before anything is written. Returns the exit status so far.
int prepareSession(const BatchOptions& options, Session& session);

/// Loads and checks everything as a run would, and runs nothing; on success
/// `logPath` is the log the run would write.
int prepareOnly(const BatchOptions& options, Platform& platform, std::string& logPath);

/// The study report the options ask for, of the log at `logPath`.
StudyReportJob studyReportJob(const BatchOptions& options, const std::string& logPath);

/// One whole batch job over a state of its own: load, set, check, run, write.
/// `link` is given to a worker of --jobs, null otherwise.
int runSession(const BatchOptions& options, Platform& platform, WorkerLink* link);

/// The same over the caller's session, whose state the caller keeps (the
/// Python module hands back its record and field); its generator is seeded as
/// the caller chose.
int runSession(const BatchOptions& options, Session& session, WorkerLink* link);

/// Why a file the runner will write cannot be written there ("" when it can):
/// it must name a csv file (when `needCsv`) in an existing folder.
std::string checkOutputFile(const std::string& what, const std::string& path, bool needCsv);
/// Why a csv file the runner reads cannot be read ("" when it can).
std::string checkInputFile(const std::string& what, const std::string& path);

/// The data file of --data into the session: "" when loaded, else why not.
std::string loadDataFile(Session& session, const std::string& path);
/// The built-in data a run without --data starts from, with the run settings
/// "Set default" proposes.
void loadBuiltInData(Session& session);

}  // namespace quorvane::batch
