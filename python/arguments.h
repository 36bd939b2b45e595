#pragma once
/// A call of the module as the batch runner's command line it stands for:
/// parsed by the runner's own parser, so that a call takes exactly the values
/// the command takes, refused with the same words (the option named as the
/// call's keyword).

#include <string>
#include <vector>

#include "batch/batch_options.h"
#include "python/data_object.h"

namespace quorvane::python {

/// The options of `arguments` ("--steps=500", ...); ValueError when refused.
batch::BatchOptions batchOptions(const std::vector<std::string>& arguments);

/// The data of a Data object as they are now, for every session of the call.
void giveData(batch::BatchOptions& options, const DataObject& data);

/// A keyword argument that counts steps: ValueError unless whole and above 0.
void checkStepCount(const char* keyword, long long value);

}  // namespace quorvane::python
