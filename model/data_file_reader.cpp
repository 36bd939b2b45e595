// Reading the data file: line by line, key by key, the last occurrence of a
// key winning; then the refresh of what the panels derive from the data.

#include <algorithm>
#include <array>
#include <cmath>
#include <sstream>

#include "common/cformat.h"
#include "common/file_io.h"
#include "common/text.h"
#include "model/data_file.h"
#include "model/data_rules.h"
#include "model/theory.h"
#include "model/units.h"

namespace quorvane {
namespace {

constexpr std::string_view kRandomArgumentPrefix = "Random_argument_";
constexpr int kShortestLine = 4;
/// "%g" keeps six significant digits: each printed mass is within 5e-6 of
/// its own size, so the printed masses of a normalised distribution add up to
/// 1 within 5e-6.
constexpr double kPrintedMassTolerance = 1e-5;

/// Stores the number a text reads as (atof), unless it is NaN or infinite:
/// such a value would spread through every formula and every file.
void storeFinite(double& target, std::string_view text) {
    double value = cAtof(text);
    if (std::isfinite(value)) target = value;
}

bool isDataHeader(const std::string& line) {
    if (static_cast<int>(line.size()) < kShortestLine) return false;
    auto fields = splitFields(line, " ,\t\r\n");
    return fields.size() == 2 && fields[0] == "Content" && fields[1] == "Data";
}

/// Normalises a loaded distribution, unless its masses already add up to 1
/// as closely as six printed digits allow: dividing by such a total would
/// only move the last printed digit, and a file saved again would not be the
/// file that was read.
void normaliseLoaded(RandomArgument& argument) {
    double total = argument.below + argument.above;
    bool negative = argument.below < 0 || argument.above < 0;
    for (double bin : argument.bins) {
        total += bin;
        negative = negative || bin < 0;
    }
    if (!negative && std::abs(total - 1) <= kPrintedMassTolerance) {
        argument.valid = true;
        return;
    }
    normalise(argument);
}

/// One line of a random argument, overwriting the record as far as fields
/// are present; the key's last character is the index.
void readRandomArgument(const std::string& key, const std::vector<std::string>& fields,
                        std::vector<RandomArgument>& arguments) {
    if (key.size() <= kRandomArgumentPrefix.size() || !key.starts_with(kRandomArgumentPrefix))
        return;
    int index = key.back() - '0';
    if (index < 0 || index >= static_cast<int>(arguments.size())) return;

    RandomArgument argument = arguments[static_cast<size_t>(index)];
    size_t count = fields.size();
    // An empty name would write an empty field, which a later read drops,
    // shifting every field after it.
    if (count > 1 && !trimBlanks(fields[1]).empty()) argument.name = trimBlanks(fields[1]);
    if (count > 2) {
        int mode = cAtoi(fields[2]);
        if (mode >= 0 && mode < kEditModeCount) argument.editMode = mode;
    }
    std::array<double*, 4> parameters{&argument.min, &argument.max, &argument.below,
                                      &argument.above};
    for (size_t i = 0; i < parameters.size() && 3 + i < count; ++i)
        storeFinite(*parameters[i], fields[3 + i]);
    if (count > 7) {
        int n = cAtoi(fields[7]);
        if (n >= 0) {
            argument.bins.resize(static_cast<size_t>(std::min(n, kMaxBins)), 0.0);
            for (size_t i = 0; i < argument.bins.size() && 8 + i < count; ++i)
                storeFinite(argument.bins[i], fields[8 + i]);
        }
    }
    normaliseLoaded(argument);
    arguments[static_cast<size_t>(index)] = std::move(argument);
}

/// The list of values to try: each item is trimmed before the items are
/// joined again, so the text is the one the dialog would show for the same list.
std::string joinedList(const std::vector<std::string>& fields) {
    std::string list = trimBlanks(fields[1]);
    for (size_t i = 2; i < fields.size(); ++i) {
        list += ',';
        list += trimBlanks(fields[i]);
    }
    return list;
}

void readWhole(const QuantityRow& row, const std::string& value, int& target) {
    const int number = cAtoi(value);
    switch (row.readRule) {
        case ReadRule::Ignore:
            if (withinBounds(row, number)) target = number;
            break;
        case ReadRule::IgnoreBelow:
            if (number >= row.bounds.low) target = number;
            break;
        case ReadRule::Clamp:
            target = static_cast<int>(std::clamp<double>(number, row.bounds.low, row.bounds.high));
            break;
        case ReadRule::PositiveOne:
            target = number > 0 ? 1 : 0;
            break;
        default:
            target = number;
    }
}

void readReal(const QuantityRow& row, const std::string& value, double& target) {
    double number = cAtof(value);
    // NaN or infinity would spread through every formula and every file.
    if (!std::isfinite(number)) return;
    if (row.readRule == ReadRule::Clamp)
        number = std::clamp(number, row.bounds.low, row.bounds.high);
    target = number;
}

void readText(const QuantityRow& row, const std::string& value, DataDocument& doc) {
    if (row.readRule == ReadRule::NumberOnly) {
        const double number = cAtof(value);
        if (!std::isfinite(number)) return;
        doc.data.*row.parsed = number;
    }
    *textOf(row, doc) = value;
}

/// Stores one line's value in the quantity its key names.
void readRow(const QuantityRow& row, const std::vector<std::string>& fields,
             const std::string& value, DataDocument& doc) {
    switch (row.kind) {
        case QuantityKind::Real:
            return readReal(row, value, *realOf(row, doc));
        case QuantityKind::Whole:
        case QuantityKind::UnitIndex:
            return readWhole(row, value, *wholeOf(row, doc));
        case QuantityKind::Text:
            return readText(row, value, doc);
        case QuantityKind::ValueList:
            *textOf(row, doc) = joinedList(fields);
            return;
        case QuantityKind::Curves:
            for (size_t i = 0; i < doc.data.Chart_show_curves.size() && i + 1 < fields.size(); ++i)
                doc.data.Chart_show_curves[i] = cAtoi(fields[i + 1]);
            return;
        default:
            return;  // written for the reader of the file, never read back
    }
}

void readLineOfData(const std::string& line, DataDocument& doc) {
    if (static_cast<int>(line.size()) < kShortestLine) return;
    std::vector<std::string> fields = splitFields(line, ",\r\n");
    if (fields.size() < 2) return;  // a known key without a value changes nothing
    std::string key = trimBlanks(fields[0]);
    std::string value = trimBlanks(fields[1]);
    if (key.starts_with(kRandomArgumentPrefix))
        return readRandomArgument(key, fields, doc.randomArguments);
    if (const QuantityRow* row = findQuantity(key)) readRow(*row, fields, value, doc);
}

/// The refresh after reading, as far as the data go; the panels then show
/// the result.
void refreshAfterReading(DataDocument& doc, Platform& platform, DataFileReadResult& result) {
    PhysicalData& d = doc.data;
    d.adoptUnitsAsPrevious();  // the numbers are in the loaded units: convert nothing
    d.R = JoulesToEnergyUnit(kGasConstant, d.energy);
    repairSizes(d);
    computeJumpFrequencies(d);
    result.refusedTexts = applyUpdate(d, doc.run, requestFromData(d), platform);
    doc.research.values = reReadValues(doc.research);
    result.unitCombosEnabled = d.system == kSystemCustom;
    result.vibrationFieldEnabled = d.Is_Frequency_of_Vibrations_Set_Default == 0;
}

}  // namespace

DataFileReadResult readDataText(const std::string& text, DataDocument& document,
                                Platform& platform) {
    DataFileReadResult result;
    // Editors on some systems begin a UTF-8 file with a byte-order mark; it is
    // no part of the first line.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    std::istringstream in(text.starts_with(kByteOrderMark) ? text.substr(kByteOrderMark.size())
                                                           : text);
    std::string line;
    if (!readLine(in, line) || !isDataHeader(line)) {
        platform.message(kNotDataFileMessage);
        result.status = DataFileReadStatus::WrongHeader;
        return result;
    }
    while (readLine(in, line)) readLineOfData(line, document);
    refreshAfterReading(document, platform, result);
    result.status = DataFileReadStatus::Loaded;
    return result;
}

DataFileReadResult ReadDataFile(const std::string& path, DataDocument& document,
                                Platform& platform) {
    std::optional<std::string> text = readWholeFile(path);
    DataFileReadResult result;
    if (!text) {
        result.path = path;
        return result;  // NotOpened: silently nothing changes
    }
    result = readDataText(*text, document, platform);
    result.path = path;
    return result;
}

}  // namespace quorvane
