#pragma once
/// `--set KEY=VALUE`: a data-file key set as if the user had typed the value
/// into its field on the Data or Run panel, or chosen it in its dialog.

#include <string>

#include "experiments/session.h"

namespace quorvane::batch {

/// Applies one setting; returns what is wrong with it, or "" when it was taken.
std::string applyKeySetting(Session& session, const std::string& key, const std::string& value);

}  // namespace quorvane::batch
