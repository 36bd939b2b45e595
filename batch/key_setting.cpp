#include "batch/key_setting.h"

#include <cmath>

#include "common/cformat.h"
#include "sheets/key_setting.h"

namespace quorvane::batch {

bool parseWholeNumber(const std::string& text, long long low, long long high, long long& out) {
    double value = 0;
    if (!parseFiniteDouble(text, value) || value != std::floor(value) ||
        value < static_cast<double>(low) || value > static_cast<double>(high))
        return false;
    out = static_cast<long long>(value);
    return true;
}

std::string checkSettingText(const std::string& key, const std::string& value) {
    const std::string error = quorvane::checkSettingText(key, value);
    return error.empty() ? error : "--set " + key + ": " + error;
}

std::string applyKeySetting(Session& s, const std::string& key, const std::string& value) {
    if (auto error = checkSettingText(key, value); !error.empty()) return error;
    const std::string error = setQuantity(s, key, value);
    return error.empty() ? error : "--set " + key + "=" + value + ": " + error;
}

}  // namespace quorvane::batch
