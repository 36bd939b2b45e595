#pragma once
/// --jobs N: a plan or a general experiment spread over N workers of this
/// process, each exactly the shard K/N a separate process would run, and their
/// rows put together in one log, in the order of the plan.

#include <string>

#include "batch/batch_options.h"
#include "common/platform.h"

namespace quorvane::batch {

/// The number of workers the options ask for (--jobs 0: one per core).
long long workerCount(const BatchOptions& options);

/// The folder where the workers keep the rows of each combination until they
/// are joined into the log: beside the log, named after it.
std::string partsFolder(const std::string& logPath);

/// Appends the rows kept in the parts folder to the log, in order of position,
/// and removes what was joined. "" on success, else what went wrong (the
/// parts then stay for the next run to join).
std::string joinParts(const std::string& logPath, Platform& platform);

/// Runs the study over the workers; returns the exit status.
int runJobs(const BatchOptions& options, Platform& platform);

}  // namespace quorvane::batch
