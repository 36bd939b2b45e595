#include "model/research_settings.h"

#include <cmath>

#include "common/cformat.h"
#include "common/text.h"

namespace quorvane {
namespace {

constexpr std::string_view kNumberCharacters = "0123456789eE.";
constexpr std::string_view kListDelimiters = ",;\t\n";

// A probability per step must leave room for many steps per layer and stay
// far from certainty, or the extrapolation to zero probability means nothing.
constexpr double kSmallestProbability = 1e-10;
constexpr double kLargestTypedProbability = 0.5;
/// A loop keeps only probabilities this small: the extrapolation to zero
/// works from the low end.
constexpr double kLargestLoopProbability = 0.1;
constexpr int kLoopCountLimit = 100;
constexpr int kTooManyLoopValues = 99;

bool onlyNumberCharacters(std::string_view text) {
    return text.find_first_not_of(kNumberCharacters) == std::string_view::npos;
}

bool inLoopWindow(double v) {
    return kSmallestProbability <= v && v <= kLargestLoopProbability;
}

std::vector<double> loopValues(double start, double step, int count) {
    std::vector<double> values;
    if (count < 1) return values;
    if (count > kMaxValuesToTry) count = kMaxValuesToTry;
    for (int i = 0; i < count; ++i) {
        double v = start + i * step;
        if (inLoopWindow(v)) values.push_back(v);
    }
    return values;
}

ResearchUpdateOutcome refuse(Platform& platform, const char* message, int focus) {
    platform.message(message);
    return {false, focus};
}

ResearchUpdateOutcome updateLoop(ResearchSettings& settings, Platform& platform) {
    double start = 0;
    double step = 0;
    if (!isValidProbabilityText(settings.Start_loop_from, start))
        return refuse(platform, kCheckLoopStartMessage, kLoopStartEdit);
    if (!isValidProbabilityText(settings.Step_in_loop, step))
        return refuse(platform, kCheckLoopStepMessage, kLoopStepEdit);
    if (!isValidCountText(settings.N_steps_in_loop))
        return refuse(platform, kCheckLoopCountMessage, kLoopCountEdit);

    settings.values = loopValues(start, step, cAtoi(settings.N_steps_in_loop));
    ResearchUpdateOutcome outcome;
    // Both are warnings only: the values stay.
    if (settings.values.empty()) outcome = refuse(platform, kNoLoopValuesMessage, 0);
    if (static_cast<int>(settings.values.size()) > kTooManyLoopValues)
        outcome = refuse(platform, kTooManyValuesMessage, 0);
    return outcome;
}

ResearchUpdateOutcome updateList(ResearchSettings& settings, Platform& platform) {
    settings.values.clear();
    for (const std::string& item : listItems(settings.List_of_values_to_try)) {
        double value = 0;
        if (!isValidProbabilityText(item, value))
            return refuse(platform, kCheckListMessage, kListEdit);
        settings.values.push_back(value);
    }
    if (settings.values.empty()) return refuse(platform, kCheckListMessage, kListEdit);
    return {};
}

}  // namespace

void setValueSource(ResearchSettings& settings, bool loop) {
    settings.Values_to_try_as_loop_or_list = loop ? 1 : 0;
}

bool isValidProbabilityText(std::string_view text, double& value) {
    value = cAtof(text);
    return onlyNumberCharacters(text) && kSmallestProbability <= value &&
           value < kLargestTypedProbability;
}

bool isValidCountText(std::string_view text) {
    return onlyNumberCharacters(text) && cAtoi(text) < kLoopCountLimit;
}

std::vector<std::string> listItems(std::string_view list) {
    std::vector<std::string> items;
    for (const std::string& piece : splitFields(list, kListDelimiters)) {
        if (static_cast<int>(items.size()) == kMaxValuesToTry) break;
        // "0.001, 0.002" is how people type a list; a blank is never part of a number.
        items.push_back(trimBlanks(piece));
    }
    return items;
}

std::vector<double> reReadValues(const ResearchSettings& settings) {
    if (settings.loopMode()) {
        return loopValues(cAtof(settings.Start_loop_from), cAtof(settings.Step_in_loop),
                          cAtoi(settings.N_steps_in_loop));
    }
    std::vector<double> values;
    for (const std::string& item : listItems(settings.List_of_values_to_try)) {
        double v = cAtof(item);
        if (std::isfinite(v)) values.push_back(v);
    }
    return values;
}

ResearchUpdateOutcome updateResearchSettings(ResearchSettings& settings, Platform& platform) {
    ResearchUpdateOutcome outcome =
        settings.loopMode() ? updateLoop(settings, platform) : updateList(settings, platform);
    if (outcome.focus != 0) return outcome;  // a text to fix: stop there

    settings.values = reReadValues(settings);
    if (settings.values.empty() || static_cast<int>(settings.values.size()) > kMaxValuesInSeries)
        outcome = refuse(platform, kWrongSettingsMessage, 0);
    return outcome;
}

}  // namespace quorvane
