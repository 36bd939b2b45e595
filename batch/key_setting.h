#pragma once
/// `--set KEY=VALUE`: a data-file key set as if the user had typed the value
/// into its field on the Data or Run panel, or chosen it in its dialog.

#include <string>

#include "experiments/session.h"

namespace quorvane::batch {

/// The one number rule of the command line, for option values and --set values
/// alike: what the C library reads as a finite number (hex and exponents
/// included), here whole and within low..high.
bool parseWholeNumber(const std::string& text, long long low, long long high, long long& out);

/// Why a --set text cannot be taken whatever its key ("" when it can): a
/// control character (a line break above all) would start a line of its own
/// in the data file.
std::string checkSettingText(const std::string& key, const std::string& value);

/// Applies one setting through the panels' sheets; returns what is wrong with
/// it, or "" when it was taken.
std::string applyKeySetting(Session& session, const std::string& key, const std::string& value);

}  // namespace quorvane::batch
