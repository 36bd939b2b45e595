#pragma once
/// A data-file key set by hand (the batch runner's --set, the Python module):
/// the value goes through the panel's sheet as if the user had typed it into
/// its field on the Data or Run panel, or chosen it in its dialog, with the
/// same bounds and messages.

#include <string>
#include <string_view>

#include "experiments/session.h"

namespace quorvane {

/// Why a text cannot be set whatever its key ("" when it can): a control
/// character (a line break above all) would start a line of its own in the
/// data file.
std::string checkSettingText(std::string_view key, std::string_view value);

/// Sets one key: "" when taken, else why not ("the value must be ...",
/// "unknown key (the keys are those of the data file)"); a refused value
/// changes nothing.
std::string setQuantity(Session& session, std::string_view key, std::string_view value);

}  // namespace quorvane
