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

}  // namespace quorvane::batch
