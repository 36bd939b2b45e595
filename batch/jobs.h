#pragma once
/// --jobs N: a plan or a general experiment spread over N workers of this
/// process, each exactly the shard K/N a separate process would run, and their
/// rows put together in one log, in the order of the plan.

#include <functional>
#include <string>
#include <vector>

#include "batch/batch_options.h"
#include "common/platform.h"
#include "experiments/experiment_runner.h"

namespace quorvane::batch {

/// The number of workers the options ask for (--jobs 0: one per core).
long long workerCount(const BatchOptions& options);

/// The single runs of a full run's series over the workers: worker k makes the
/// runs at positions k, k + N, ... of the series, each worker from a state of
/// its own loaded as the options say (the fixed seeds of a process of its own);
/// their rows wait in the parts folder of `logPath` until the runner writes
/// them in the series' order.
std::function<std::vector<SeriesRun>(const std::vector<double>&, bool)> seriesOnWorkers(
    const BatchOptions& options, const std::string& logPath);

/// A full run whose series is spread over the workers; returns the exit status.
int runFullOnWorkers(const BatchOptions& options, Platform& platform);

/// Runs the study over the workers; returns the exit status.
int runJobs(const BatchOptions& options, Platform& platform);

}  // namespace quorvane::batch
