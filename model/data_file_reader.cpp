// Reading the data file: line by line, key by key, the last occurrence of a
// key winning; then the refresh of what the panels derive from the data.

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <sstream>

#include "common/cformat.h"
#include "common/file_io.h"
#include "common/text.h"
#include "model/data_file.h"
#include "model/data_rules.h"
#include "model/data_value_checks.h"
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

/// The problems of the lines read so far: a file with any is refused whole.
using Problems = std::vector<std::string>;

/// The number a text reads as, when it is one the rule takes; else the
/// problem is noted and nothing is stored.
bool readNumber(std::string_view key, std::string_view text, NumberRule rule, double& out,
                Problems& problems) {
    if (std::string problem = numberProblem(key, text, rule); !problem.empty()) {
        problems.push_back(std::move(problem));
        return false;
    }
    parseFiniteDouble(text, out);
    return true;
}

/// A whole number as the file's "%d" wrote it; a huge one saturates.
int saturated(double whole) {
    return static_cast<int>(std::clamp<double>(whole, std::numeric_limits<int>::min(),
                                               std::numeric_limits<int>::max()));
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
                        std::vector<RandomArgument>& arguments, Problems& problems) {
    if (key.size() <= kRandomArgumentPrefix.size() || !key.starts_with(kRandomArgumentPrefix))
        return;
    int index = key.back() - '0';
    if (index < 0 || index >= static_cast<int>(arguments.size())) return;

    RandomArgument argument = arguments[static_cast<size_t>(index)];
    const size_t count = fields.size();
    // Field i of the line as a number, when it is there and is one.
    auto number = [&](size_t i, NumberRule rule, double& out) {
        return i < count && readNumber(key, trimBlanks(fields[i]), rule, out, problems);
    };
    // An empty name would write an empty field, which a later read drops,
    // shifting every field after it.
    if (count > 1 && !trimBlanks(fields[1]).empty()) argument.name = trimBlanks(fields[1]);
    if (double mode = 0; number(2, NumberRule::Whole, mode) && mode >= 0 && mode < kEditModeCount)
        argument.editMode = static_cast<int>(mode);
    std::array<double*, 4> parameters{&argument.min, &argument.max, &argument.below,
                                      &argument.above};
    for (size_t i = 0; i < parameters.size(); ++i) number(3 + i, NumberRule::Any, *parameters[i]);
    if (double n = 0; number(7, NumberRule::Whole, n) && n >= 0) {
        argument.bins.resize(static_cast<size_t>(std::min(n, double{kMaxBins})), 0.0);
        for (size_t i = 0; i < argument.bins.size(); ++i)
            number(8 + i, NumberRule::Any, argument.bins[i]);
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

void readWhole(const QuantityRow& row, const std::string& value, int& target, Problems& problems) {
    double whole = 0;
    if (!readNumber(row.key, value, NumberRule::Whole, whole, problems)) return;
    const int number = saturated(whole);
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

void readReal(const QuantityRow& row, const std::string& value, double& target,
              Problems& problems) {
    double number = 0;
    if (!readNumber(row.key, value, NumberRule::Any, number, problems)) return;
    if (row.readRule == ReadRule::Clamp)
        number = std::clamp(number, row.bounds.low, row.bounds.high);
    target = number;
}

/// A shape text (the edges, the vertices, the bond length) is kept as text,
/// but only when it is a number: a report shows the text, and the next Update
/// parses it again.
void readText(const QuantityRow& row, const std::string& value, DataDocument& doc,
              Problems& problems) {
    if (row.parsed) {
        double number = 0;
        if (!readNumber(row.key, value, NumberRule::NotNegative, number, problems)) return;
        doc.data.*row.parsed = number;
    }
    *textOf(row, doc) = value;
}

void readCurves(const std::vector<std::string>& fields, PhysicalData& d, Problems& problems) {
    for (size_t i = 0; i < d.Chart_show_curves.size() && i + 1 < fields.size(); ++i) {
        double flag = 0;
        if (readNumber("Chart_show_curves", trimBlanks(fields[i + 1]), NumberRule::Whole, flag,
                       problems))
            d.Chart_show_curves[i] = saturated(flag);
    }
}

/// Stores one line's value in the quantity its key names.
void readRow(const QuantityRow& row, const std::vector<std::string>& fields,
             const std::string& value, DataDocument& doc, Problems& problems) {
    switch (row.kind) {
        case QuantityKind::Real:
            return readReal(row, value, *realOf(row, doc), problems);
        case QuantityKind::Whole:
        case QuantityKind::UnitIndex:
            return readWhole(row, value, *wholeOf(row, doc), problems);
        case QuantityKind::Text:
            return readText(row, value, doc, problems);
        case QuantityKind::ValueList:
            *textOf(row, doc) = joinedList(fields);
            return;
        case QuantityKind::Curves:
            return readCurves(fields, doc.data, problems);
        default:
            return;  // written for the reader of the file, never read back
    }
}

void readLineOfData(const std::string& line, DataDocument& doc, Problems& problems) {
    if (static_cast<int>(line.size()) < kShortestLine) return;
    std::vector<std::string> fields = splitFields(line, ",\r\n");
    if (fields.size() < 2) return;  // a known key without a value changes nothing
    std::string key = trimBlanks(fields[0]);
    std::string value = trimBlanks(fields[1]);
    if (key.starts_with(kRandomArgumentPrefix))
        return readRandomArgument(key, fields, doc.randomArguments, problems);
    if (const QuantityRow* row = findQuantity(key)) readRow(*row, fields, value, doc, problems);
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
    // Read into a copy: a file refused for one of its values changes nothing.
    PhysicalData data = document.data;
    RunSettings run = document.run;
    ResearchSettings research = document.research;
    std::vector<RandomArgument> arguments = document.randomArguments;
    DataDocument copy{data, run, research, arguments};
    Problems problems;
    while (readLine(in, line)) readLineOfData(line, copy, problems);
    temperatureProblems(data, problems);
    if (!problems.empty()) {
        platform.message(refusedDataMessage(problems));
        result.status = DataFileReadStatus::BadValue;
        result.problems = std::move(problems);
        return result;
    }
    document.data = std::move(data);
    document.run = run;
    document.research = std::move(research);
    document.randomArguments = std::move(arguments);
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
