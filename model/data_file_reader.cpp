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

struct DataDoubleKey {
    const char* key;
    double PhysicalData::*member;
};
/// The quantities of the data read as they stand (lines 12 to 31); the
/// bond length is a text and comes separately.
constexpr std::array<DataDoubleKey, 19> kDataDoubles{{
    {"Size_A", &PhysicalData::Size_A},
    {"Size_B", &PhysicalData::Size_B},
    {"Size_C", &PhysicalData::Size_C},
    {"Enthalpie", &PhysicalData::Enthalpie},
    {"Molecular_Weight", &PhysicalData::Molecular_Weight},
    {"Surface_Energy", &PhysicalData::Surface_Energy},
    {"Temperature_of_Liquidus", &PhysicalData::Temperature_of_Liquidus},
    {"Temperature_of_Melt", &PhysicalData::Temperature_of_Melt},
    {"Temperature", &PhysicalData::Temperature},
    {"Frequency_of_Vibrations", &PhysicalData::Frequency_of_Vibrations},
    {"Activation_Energy", &PhysicalData::Activation_Energy},
    {"Density", &PhysicalData::Density},
    {"Molecular_Enthaphie", &PhysicalData::Molecular_Enthaphie},
    {"Concentration", &PhysicalData::Concentration},
    {"General_Suupercooling", &PhysicalData::General_Suupercooling},
    {"General_Surface_Energy", &PhysicalData::General_Surface_Energy},
    {"Frequency_of_Jumps", &PhysicalData::Frequency_of_Jumps},
    {"Surface", &PhysicalData::Surface},
    {"Volume", &PhysicalData::Volume},
}};

struct UnitKey {
    const char* key;
    int PhysicalData::*member;
    int count;  ///< indices 0..count-1 name a unit
};
const std::array<UnitKey, 7> kUnitKeys{{
    {"system", &PhysicalData::system, static_cast<int>(kUnitSystemNames.size())},
    {"dimension", &PhysicalData::dimension, unitCount(UnitKind::Length)},
    {"weight", &PhysicalData::weight, unitCount(UnitKind::Weight)},
    {"energy", &PhysicalData::energy, unitCount(UnitKind::Energy)},
    {"temperature", &PhysicalData::temperature, unitCount(UnitKind::Temperature)},
    {"time", &PhysicalData::time, unitCount(UnitKind::Time)},
    {"concentration", &PhysicalData::concentration, unitCount(UnitKind::Concentration)},
}};

struct RunDoubleKey {
    const char* key;
    double RunSettings::*member;
};
constexpr std::array<RunDoubleKey, 6> kRunDoubles{{
    {"N_in_per_step", &RunSettings::N_in_per_step},
    {"Prob_in_at_step", &RunSettings::Prob_in_at_step},
    {"Time_step", &RunSettings::Time_step},
    {"Layers_limit", &RunSettings::Layers_limit},
    {"Time_simulattion_limit", &RunSettings::Time_simulattion_limit},
    {"Time_simulattion_limit_first_layer", &RunSettings::Time_simulattion_limit_first_layer},
}};

struct RunIntKey {
    const char* key;
    int RunSettings::*member;
};
constexpr std::array<RunIntKey, 4> kRunInts{{
    {"Is_layers_limit", &RunSettings::Is_layers_limit},
    {"Is_time_simulattion_limit", &RunSettings::Is_time_simulattion_limit},
    {"Is_time_simulattion_limit_first_layer", &RunSettings::Is_time_simulattion_limit_first_layer},
    {"Is_any_limits", &RunSettings::Is_any_limits},
}};

struct ResearchIntKey {
    const char* key;
    int ResearchSettings::*member;
};
constexpr std::array<ResearchIntKey, 4> kResearchInts{{
    {"Do_optimize_run_probabilities", &ResearchSettings::Do_optimize_run_probabilities},
    {"Do_exit_when_less_than_N_layers_filled",
     &ResearchSettings::Do_exit_when_less_than_N_layers_filled},
    {"Theshold_of_layesr_to_fill", &ResearchSettings::Theshold_of_layesr_to_fill},
    {"Values_to_try_as_loop_or_list", &ResearchSettings::Values_to_try_as_loop_or_list},
}};

struct ResearchTextKey {
    const char* key;
    std::string ResearchSettings::*member;
};
constexpr std::array<ResearchTextKey, 3> kResearchTexts{{
    {"Start_loop_from", &ResearchSettings::Start_loop_from},
    {"Step_in_loop", &ResearchSettings::Step_in_loop},
    {"N_steps_in_loop", &ResearchSettings::N_steps_in_loop},
}};

template <typename Table>
auto findKey(const Table& table, std::string_view key) -> decltype(&table[0]) {
    for (const auto& entry : table) {
        if (key == entry.key) return &entry;
    }
    return nullptr;
}

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

/// The keys that need more than storing one value.
bool readSpecialKey(const std::string& key, const std::vector<std::string>& fields,
                    const std::string& value, DataDocument& doc) {
    PhysicalData& d = doc.data;
    if (key == "accuracy") {
        d.accuracy = std::clamp(cAtoi(value), 1, 20);
    } else if (key == "Characterictic_length_of_bond") {
        double length = cAtof(value);
        if (!std::isfinite(length)) return true;
        d.Characterictic_length_of_bond = value;
        d.bondLength = length;
    } else if (key == "Is_includes_porosity") {
        doc.run.Is_includes_porosity = cAtoi(value) > 0 ? 1 : 0;
    } else if (key == "Chart_show_curves") {
        for (size_t i = 0; i < d.Chart_show_curves.size() && i + 1 < fields.size(); ++i)
            d.Chart_show_curves[i] = cAtoi(fields[i + 1]);
    } else if (key == "Paint_temp_curve_with_zoom") {
        double zoom = cAtof(value);
        if (std::isfinite(zoom)) d.Paint_temp_curve_with_zoom = std::clamp(zoom, 0.01, 0.999);
    } else if (key == "N_field_W" || key == "N_field_H") {
        int size = cAtoi(value);  // a field needs at least one column each way
        if (size >= 1) (key == "N_field_W" ? doc.run.N_field_W : doc.run.N_field_H) = size;
    } else if (key == "List_of_values_to_try") {
        // Each item is trimmed before the items are joined again, so the text
        // is the one the dialog would show for the same list.
        std::string list = trimBlanks(fields[1]);
        for (size_t i = 2; i < fields.size(); ++i) list += "," + trimBlanks(fields[i]);
        doc.research.List_of_values_to_try = list;
    } else if (key.starts_with(kRandomArgumentPrefix)) {
        readRandomArgument(key, fields, doc.randomArguments);
    } else {
        return false;
    }
    return true;
}

/// Stores the value of a key found in one of the tables.
void readTableKey(const std::string& key, const std::string& value, DataDocument& doc) {
    if (auto* entry = findKey(kDataDoubles, key)) {
        storeFinite(doc.data.*(entry->member), value);
    } else if (auto* unit = findKey(kUnitKeys, key)) {
        int index = cAtoi(value);  // an index outside the table would name no unit
        if (index >= 0 && index < unit->count) doc.data.*(unit->member) = index;
    } else if (auto* runDouble = findKey(kRunDoubles, key)) {
        storeFinite(doc.run.*(runDouble->member), value);
    } else if (auto* runInt = findKey(kRunInts, key)) {
        doc.run.*(runInt->member) = cAtoi(value);
    } else if (auto* researchInt = findKey(kResearchInts, key)) {
        doc.research.*(researchInt->member) = cAtoi(value);
    } else if (auto* text = findKey(kResearchTexts, key)) {
        doc.research.*(text->member) = value;
    } else if (key == "Is_Frequency_of_Vibrations_Set_Default") {
        doc.data.Is_Frequency_of_Vibrations_Set_Default = cAtoi(value);
    } else if (key == "Parts_of_surface_for_edges") {
        doc.data.Parts_of_surface_for_edges = value;
    } else if (key == "Parts_of_surface_for_vertices") {
        doc.data.Parts_of_surface_for_vertices = value;
    } else if (key == "N_terms_inInterpolation") {
        int terms = cAtoi(value);
        if (terms >= 0 && terms <= 10) doc.research.N_terms_inInterpolation = terms;
    } else if (key == "Sheme_for_running_with_porosity") {
        int scheme = cAtoi(value);  // names a combo entry
        if (scheme >= 0 && scheme < static_cast<int>(kPorositySchemeNames.size()))
            doc.research.Sheme_for_running_with_porosity = scheme;
    }
}

void readLineOfData(const std::string& line, DataDocument& doc) {
    if (static_cast<int>(line.size()) < kShortestLine) return;
    std::vector<std::string> fields = splitFields(line, ",\r\n");
    if (fields.size() < 2) return;  // a known key without a value changes nothing
    std::string key = trimBlanks(fields[0]);
    std::string value = trimBlanks(fields[1]);
    if (!readSpecialKey(key, fields, value, doc)) readTableKey(key, value, doc);
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
