#pragma once
/// The files of a plan run in shards (--shard K/N by hand or --jobs N): each
/// shard keeps its place in PLAN_shardKofN.csv beside the plan, and says there
/// when every combination of its share has run. A plan with such files belongs
/// to its shards: only a run with the same number of shards goes on with it.

#include <string>
#include <vector>

namespace quorvane::batch {

/// Where a shard of a plan keeps its current values: beside the plan.
std::string shardPlanPath(const std::string& planPath, long long index, long long count);

/// The shard files of one number of shards found beside a plan.
struct ShardFiles {
    long long count = 0;     ///< N of PLAN_shardKofN.csv
    long long present = 0;   ///< files found
    long long finished = 0;  ///< of them, those whose share has run
    bool allFinished() const { return present == count && finished == count; }
};

/// Every number of shards with files beside the plan, in ascending order.
std::vector<ShardFiles> shardFilesOf(const std::string& planPath);

/// The files of `count` shards beside the plan (none found: present 0).
ShardFiles shardFilesOf(const std::string& planPath, long long count);

/// Why the plan cannot be run in `count` shards (0: in one process, no
/// shards) while files of another number of shards lie beside it: "" when it
/// can. The text says what to run instead.
std::string checkShardFiles(const std::string& planPath, long long count);

}  // namespace quorvane::batch
