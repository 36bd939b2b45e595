#include "sheets/key_setting.h"

#include <algorithm>

#include "common/cformat.h"
#include "model/data_file.h"
#include "model/quantity_schema.h"
#include "model/unit_change.h"
#include "sheets/data_sheet.h"
#include "sheets/run_sheet.h"

namespace quorvane {
namespace {

constexpr const char* kUnknownKey = "unknown key (the keys are those of the data file)";
constexpr const char* kRefusedValue = "the value was refused (see above)";

std::string setDataField(Session& s, const QuantityRow& row, std::string_view value) {
    double number = 0;
    if (!parseFiniteDouble(value, number)) return refusalReason(row);
    DataSheet sheet(s);
    return sheet.edit(*row.field, value).empty() ? "" : kRefusedValue;
}

std::string setUnit(Session& s, const QuantityRow& row, std::string_view value) {
    const std::optional<double> index = parseBounded(row, value);
    if (!index) return refusalReason(row);
    const std::string_view key = row.key;
    if (key != "system" && !unitCombosEnabled(s.state.data))
        return "single units can be chosen only in the unit system Custom (--set system=2 "
               "first)";
    const auto& keys = DataSheet::kComboKeys;
    const auto combo = std::find(keys.begin(), keys.end(), key) - keys.begin();
    DataSheet(s).changeUnit(static_cast<int>(combo), static_cast<int>(*index));
    return {};
}

/// The settings of a full run, validated as the dialog's Update does.
std::string setResearch(Session& s, const QuantityRow& row, std::string_view value) {
    ResearchSettings& r = s.state.research;
    DataDocument doc = s.document();
    if (row.kind == QuantityKind::Whole) {
        const std::optional<double> number = parseBounded(row, value);
        if (!number) return refusalReason(row);
        if (std::string_view(row.key) == "Values_to_try_as_loop_or_list")
            setValueSource(r, *number == 1);
        else
            *wholeOf(row, doc) = static_cast<int>(*number);
    } else {
        *textOf(row, doc) = std::string(value);
    }
    if (!updateResearchSettings(r, s.platform).accepted)
        return "the research settings were refused (see above)";
    return {};
}

/// Keys whose lines only the data reader understands (curves, zoom, random
/// arguments): set as one line of a data file.
std::string setThroughReader(Session& s, std::string_view key, std::string_view value) {
    DataDocument doc = s.document();
    const std::string line = std::string(key) + "," + std::string(value);
    if (!readDataText("Content,Data\n" + line + "\n", doc, s.platform).loaded()) return "not taken";
    return {};
}

bool researchKey(const QuantityRow& row) {
    return std::holds_alternative<int ResearchSettings::*>(row.member) ||
           std::holds_alternative<std::string ResearchSettings::*>(row.member);
}

}  // namespace

std::string checkSettingText(std::string_view key, std::string_view value) {
    auto control = [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u < 0x20 || u == 0x7f;
    };
    if (std::any_of(key.begin(), key.end(), control) ||
        std::any_of(value.begin(), value.end(), control))
        return "the key and the value must not hold control characters (a line break, a tab...)";
    return {};
}

std::string setQuantity(Session& s, std::string_view key, std::string_view value) {
    if (auto error = checkSettingText(key, value); !error.empty()) return error;
    if (key.starts_with("Random_argument_") && key.size() > 16)
        return setThroughReader(s, key, value);
    const QuantityRow* row = findQuantity(key);
    if (!row || row->kind == QuantityKind::Heading) return kUnknownKey;
    if (row->field) return setDataField(s, *row, value);
    if (row->kind == QuantityKind::UnitIndex) return setUnit(s, *row, value);
    if (RunSheet::owns(key)) return RunSheet(s).set(key, value);
    if (researchKey(*row)) return setResearch(s, *row, value);
    if (row->kind == QuantityKind::Derived || row->kind == QuantityKind::ValueCount)
        return "a result written for the reader of the file, not an input";
    if (key == "accuracy" || key == "Is_Frequency_of_Vibrations_Set_Default") {
        const std::optional<double> number = parseBounded(*row, value);
        if (!number) return refusalReason(*row);
        DataSheet sheet(s);
        if (key == "accuracy")
            sheet.setAccuracy(static_cast<int>(*number));
        else
            sheet.setDefaultFrequency(*number == 1);
        return {};
    }
    return setThroughReader(s, key, value);
}

}  // namespace quorvane
