#pragma once
/// Joining run logs of several processes under one header.

#include <string>
#include <vector>

namespace quorvane::batch {

/// Writes OUT with the header of the run log once and the rows of every input
/// in order. Returns "" on success, else what is wrong (and writes nothing).
std::string mergeRunLogs(const std::string& output, const std::vector<std::string>& inputs);

}  // namespace quorvane::batch
