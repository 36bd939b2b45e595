#include "batch/key_setting.h"

#include <array>
#include <cmath>

#include "common/cformat.h"
#include "model/data_rules.h"
#include "model/probabilities.h"
#include "model/research_settings.h"
#include "model/theory.h"
#include "model/unit_change.h"
#include "model/units.h"

namespace quorvane::batch {
namespace {

bool wholeNumber(const std::string& text, int low, int high, int& out) {
    long long value = 0;
    if (!parseWholeNumber(text, low, high, value)) return false;
    out = static_cast<int>(value);
    return true;
}

std::string badValue(const std::string& key, const std::string& value, const std::string& want) {
    return "--set " + key + "=" + value + ": the value must be " + want;
}

/// The unit selections: a change converts the data in place, as the combo does.
std::string setUnit(Session& s, const std::string& key, const std::string& value) {
    PhysicalData& d = s.state.data;
    RunSettings& run = s.state.run;
    struct UnitKey {
        const char* key;
        int count;
    };
    static const std::array<UnitKey, 7> keys{
        {{"system", 3},
         {"dimension", unitCount(UnitKind::Length)},
         {"weight", unitCount(UnitKind::Weight)},
         {"energy", unitCount(UnitKind::Energy)},
         {"temperature", unitCount(UnitKind::Temperature)},
         {"time", unitCount(UnitKind::Time)},
         {"concentration", unitCount(UnitKind::Concentration)}}};
    for (const UnitKey& k : keys) {
        if (key != k.key) continue;
        int index = 0;
        if (!wholeNumber(value, 0, k.count - 1, index))
            return badValue(key, value, "a unit index 0.." + std::to_string(k.count - 1));
        if (key == "system") {
            s.applyUnitChange(changeUnitSystem(d, run, index));
            return {};
        }
        if (d.system != kSystemCustom)
            return "--set " + key + "=" + value +
                   ": single units can be chosen only in the unit system Custom (--set system=2 "
                   "first)";
        UnitChangeEffect effect;
        if (key == "dimension") effect = changeLengthUnit(d, index);
        if (key == "weight") effect = changeWeightUnit(d, index);
        if (key == "energy") effect = changeEnergyUnit(d, index);
        if (key == "temperature") effect = changeTemperatureScale(d, index);
        if (key == "time") effect = changeTimeUnit(d, run, index);
        if (key == "concentration") effect = changeConcentrationUnit(d, index);
        s.applyUnitChange(effect);
        return {};
    }
    return "?";
}

/// The Run panel's values.
std::string setRunValue(Session& s, const std::string& key, const std::string& value) {
    RunSettings& run = s.state.run;
    const PhysicalData& d = s.state.data;
    int whole = 0;
    double number = 0;
    const bool finite = parseFiniteDouble(value, number);
    if (key == "N_field_W" || key == "N_field_H") {
        if (!wholeNumber(value, 1, 1'000'000, whole))
            return badValue(key, value, "a whole number of molecules 1..1000000");
        (key == "N_field_W" ? run.N_field_W : run.N_field_H) = whole;
        recomputeProbabilityAndTimeStep(run, d);  // N stays, P follows the area
    } else if (key == "N_in_per_step") {
        if (!finite || number < 0) return badValue(key, value, "a number of molecules >= 0");
        run.N_in_per_step = number;
        recomputeProbabilityAndTimeStep(run, d);
    } else if (key == "Prob_in_at_step") {
        if (!finite || number < 0 || number > 1) return badValue(key, value, "a probability 0..1");
        run.N_in_per_step = number * run.N_field_W * run.N_field_H;
        recomputeProbabilityAndTimeStep(run, d);
    } else if (key == "Time_step") {
        if (!finite || number <= 0) return badValue(key, value, "a duration above 0");
        run.Time_step = number;
    } else if (key == "Layers_limit" || key == "Time_simulattion_limit" ||
               key == "Time_simulattion_limit_first_layer") {
        if (!finite || number < 0) return badValue(key, value, "a number >= 0");
        (key == "Layers_limit"             ? run.Layers_limit
         : key == "Time_simulattion_limit" ? run.Time_simulattion_limit
                                           : run.Time_simulattion_limit_first_layer) = number;
    } else if (key == "Is_layers_limit" || key == "Is_time_simulattion_limit" ||
               key == "Is_time_simulattion_limit_first_layer" || key == "Is_any_limits" ||
               key == "Is_includes_porosity") {
        if (!wholeNumber(value, 0, 1, whole)) return badValue(key, value, "0 or 1");
        (key == "Is_layers_limit"             ? run.Is_layers_limit
         : key == "Is_time_simulattion_limit" ? run.Is_time_simulattion_limit
         : key == "Is_time_simulattion_limit_first_layer"
             ? run.Is_time_simulattion_limit_first_layer
         : key == "Is_any_limits" ? run.Is_any_limits
                                  : run.Is_includes_porosity) = whole;
    } else {
        return "?";
    }
    return {};
}

/// The settings of a full run, validated as the dialog's Update does.
std::string setResearchValue(Session& s, const std::string& key, const std::string& value) {
    ResearchSettings& r = s.state.research;
    int whole = 0;
    if (key == "Start_loop_from") {
        r.Start_loop_from = value;
    } else if (key == "Step_in_loop") {
        r.Step_in_loop = value;
    } else if (key == "N_steps_in_loop") {
        r.N_steps_in_loop = value;
    } else if (key == "List_of_values_to_try") {
        r.List_of_values_to_try = value;
    } else if (key == "Values_to_try_as_loop_or_list") {
        if (!wholeNumber(value, 0, 1, whole)) return badValue(key, value, "1 (loop) or 0 (list)");
        setValueSource(r, whole == 1);
    } else if (key == "Do_optimize_run_probabilities" ||
               key == "Do_exit_when_less_than_N_layers_filled") {
        if (!wholeNumber(value, 0, 1, whole)) return badValue(key, value, "0 or 1");
        (key == "Do_optimize_run_probabilities" ? r.Do_optimize_run_probabilities
                                                : r.Do_exit_when_less_than_N_layers_filled) = whole;
    } else if (key == "Sheme_for_running_with_porosity") {
        if (!wholeNumber(value, 0, 3, whole)) return badValue(key, value, "a scheme 0..3");
        r.Sheme_for_running_with_porosity = whole;
    } else if (key == "Theshold_of_layesr_to_fill") {
        if (!wholeNumber(value, 0, 1'000'000, whole)) return badValue(key, value, "layers >= 0");
        r.Theshold_of_layesr_to_fill = whole;
    } else if (key == "N_terms_inInterpolation") {
        if (!wholeNumber(value, 0, 10, whole)) return badValue(key, value, "a number 0..10");
        r.N_terms_inInterpolation = whole;
    } else {
        return "?";
    }
    if (!updateResearchSettings(r, s.platform).accepted)
        return "--set " + key + "=" + value + ": the research settings were refused (see above)";
    return {};
}

/// Keys the data reader handles on its own (curves, zoom, random arguments).
bool readerKey(const std::string& key) {
    return key == "Chart_show_curves" || key == "Paint_temp_curve_with_zoom" ||
           (key.rfind("Random_argument_", 0) == 0 && key.size() > 16);
}

}  // namespace

bool parseWholeNumber(const std::string& text, long long low, long long high, long long& out) {
    double value = 0;
    if (!parseFiniteDouble(text, value) || value != std::floor(value) ||
        value < static_cast<double>(low) || value > static_cast<double>(high))
        return false;
    out = static_cast<long long>(value);
    return true;
}

std::string checkSettingText(const std::string& key, const std::string& value) {
    auto control = [](unsigned char c) { return c < 0x20 || c == 0x7f; };
    for (const std::string* text : {&key, &value})
        for (char c : *text)
            if (control(static_cast<unsigned char>(c)))
                return "--set " + key +
                       ": the key and the value must not hold control "
                       "characters (a line break, a tab...)";
    return {};
}

std::string applyKeySetting(Session& s, const std::string& key, const std::string& value) {
    if (auto error = checkSettingText(key, value); !error.empty()) return error;
    PhysicalData& d = s.state.data;
    if (auto field = fieldForDataKey(key)) {
        double number = 0;
        if (!parseFiniteDouble(value, number)) return badValue(key, value, "a number");
        auto outcome = enterDataKeyValue(d, s.state.run, key, value, s.platform);
        if (!outcome || !outcome->refusedFields.empty())
            return "--set " + key + "=" + value + ": the value was refused (see above)";
        return {};
    }
    for (auto setter : {setUnit, setRunValue, setResearchValue}) {
        std::string error = setter(s, key, value);
        if (error != "?") return error;
    }
    int whole = 0;
    if (key == "accuracy") {
        if (!wholeNumber(value, 1, 20, whole)) return badValue(key, value, "digits 1..20");
        d.accuracy = whole;
        return {};
    }
    if (key == "Is_Frequency_of_Vibrations_Set_Default") {
        if (!wholeNumber(value, 0, 1, whole)) return badValue(key, value, "0 or 1");
        setDefaultFrequency(d, whole == 1);
        return {};
    }
    if (readerKey(key)) {
        DataDocument doc = s.document();
        auto result = readDataText("Content,Data\n" + key + "," + value + "\n", doc, s.platform);
        if (!result.loaded()) return "--set " + key + "=" + value + ": not taken";
        return {};
    }
    return "--set " + key + "=" + value + ": unknown key (the keys are those of the data file)";
}

}  // namespace quorvane::batch
