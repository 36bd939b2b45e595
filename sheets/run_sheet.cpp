#include "sheets/run_sheet.h"

#include "common/cformat.h"
#include "experiments/run_log.h"
#include "model/probabilities.h"
#include "model/quantity_schema.h"

namespace quorvane {
namespace {

constexpr std::string_view kRunKeys[] = {"N_field_W",
                                         "N_field_H",
                                         "N_in_per_step",
                                         "Prob_in_at_step",
                                         "Time_step",
                                         "Layers_limit",
                                         "Time_simulattion_limit",
                                         "Time_simulattion_limit_first_layer",
                                         "Is_layers_limit",
                                         "Is_time_simulattion_limit",
                                         "Is_time_simulattion_limit_first_layer",
                                         "Is_any_limits",
                                         "Is_includes_porosity"};

}  // namespace

bool RunSheet::owns(std::string_view key) {
    for (std::string_view k : kRunKeys)
        if (k == key) return true;
    return false;
}

std::string RunSheet::set(std::string_view key, std::string_view text) {
    const QuantityRow* row = owns(key) ? findQuantity(key) : nullptr;
    if (!row) return "unknown key";
    const std::optional<double> value = parseBounded(*row, text);
    if (!value) return refusalReason(*row);
    AppState& s = session_.state;
    DataDocument doc = session_.document();
    if (key == "Prob_in_at_step") {
        // P is what follows from N; a P set by hand sets N for the field.
        s.run.N_in_per_step = *value * s.run.N_field_W * s.run.N_field_H;
    } else if (double* real = realOf(*row, doc)) {
        *real = *value;
    } else if (int* whole = wholeOf(*row, doc)) {
        *whole = static_cast<int>(*value);
    }
    // N, the field and P decide P and the time step; a time step set by hand,
    // a limit or a flag leaves them as they are.
    const bool rate = key == "N_field_W" || key == "N_field_H" || key == "N_in_per_step" ||
                      key == "Prob_in_at_step";
    if (rate) recomputeProbabilityAndTimeStep(s.run, s.data);
    return {};
}

void RunSheet::setFlag(std::string_view key, bool on) {
    set(key, on ? "1" : "0");
}

std::string RunSheet::take(const std::vector<Typed>& typed) {
    std::string message;
    for (const Typed& t : typed) {
        const std::string reason = set(t.key, t.text);
        if (reason.empty()) continue;
        message += t.label + ": " + reason + ".\n";
    }
    if (message.empty()) return {};
    return message + "The value typed is not used.";
}

std::string RunSheet::fieldText(std::string_view key) const {
    const RunSettings& run = session_.state.run;
    if (key == "N_field_W") return cformat("%d", run.N_field_W);
    if (key == "N_field_H") return cformat("%d", run.N_field_H);
    const QuantityRow* row = findQuantity(key);
    if (!row) return {};
    const std::optional<double> value = quantityNumber(*row, session_.document());
    return value ? cformat("%.4g", *value) : std::string();
}

void RunSheet::refreshDerived() {
    AppState& s = session_.state;
    if (s.runState.controlsEnabled) recomputeProbabilityAndTimeStep(s.run, s.data);
}

std::string RunSheet::timeUnit() const {
    return unitShortName(UnitKind::Time, session_.state.data.time);
}

std::string runEndedText(const AppState& state, int code) {
    const GrowthRecord& record = state.results.record;
    const double layers = record.count() > 0 ? record.height(record.count() - 1) : 0.0;
    const char* why = "";
    switch (code) {
        case -1:
            return cformat("Run stopped: %.1f layers grown; Resume goes on", layers);
        case kEventTimeLimit:
            why = "the time limit";
            break;
        case kEventFirstLayerLimit:
            why = "the first layer took too long";
            break;
        case kEventRateCheck:
            why = "the rate check";
            break;
        case kEventLayersLimit:
            why = "the layer limit";
            break;
        case kEventStepLimit:
            why = "the step limit";
            break;
        default:
            return cformat("Run ended: %.1f layers grown, interrupted", layers);
    }
    return cformat("Run ended: %.1f layers grown, stopped by %s", layers, why);
}

std::string resumeExperimentText(const RunState& state) {
    return state.testMode ? "Resuming the test of the plan: its combinations are walked, "
                            "nothing is simulated or logged"
                          : "Resuming the experiment plan: every run is logged";
}

const char* pauseButtonCaption(const RunState& state) {
    return state.pauseButton == PauseButton::Stop ? "Stop" : "Resume";
}

}  // namespace quorvane
