#pragma once
/// The batch runner's work: load, set, check everything, then run and write.

#include "batch/batch_options.h"
#include "common/platform.h"

namespace quorvane::batch {

inline constexpr int kExitDone = 0;
inline constexpr int kExitLogFailed = 1;
inline constexpr int kExitBadInput = 2;

/// Runs what the options ask; returns the process's exit status.
int runBatch(const BatchOptions& options, Platform& platform);

/// Where a shard of a plan keeps its current values: beside the plan.
std::string shardPlanPath(const std::string& planPath, long long index, long long count);

}  // namespace quorvane::batch
