#include "sheets/results_sheet.h"

#include "experiments/run_record_fill.h"
#include "model/units.h"

namespace quorvane {

RunEvaluation currentEvaluation(const AppState& state, Platform& platform) {
    const RunState& rs = state.runState;
    const Results& results = state.results;
    const EvaluationInputs inputs =
        evaluationInputs(results.runData, results.runSettings, rs.runFlag, rs.startTime, rs.endTime,
                         platform.nowSeconds());
    return Evaluate(results.record, inputs);
}

StatusDisplay statusDisplay(const PhysicalData& d, const RunSettings& run) {
    StatusDisplay display;
    display.timeUnitsPerSecond = TimeUnitsPerSecond(d.time);
    display.secondsPerTimeUnit = SecondsPerTimeUnit(d.time);
    display.lengthUnit = unitShortName(UnitKind::Length, d.dimension);
    display.timeUnit = unitShortName(UnitKind::Time, d.time);
    display.rateLengthUnit = display.lengthUnit;
    display.sizeA = d.Size_A;
    // Ratios are shown as parts or as percentages, after the concentration unit.
    display.mode = d.concentration == 1 ? 1 : 0;
    display.porous = run.Is_includes_porosity != 0;
    return display;
}

bool ResultsSheet::dueForEvaluation() const {
    const AppState& state = session_.state;
    const std::size_t entries = state.results.record.count();
    if (!evaluated_ || !state.runState.runFlag || entries <= kEveryFrameEntries) return true;
    if (entries == evaluatedEntries_) return false;
    return std::chrono::steady_clock::now() - evaluatedAt_ >= std::chrono::milliseconds(500);
}

void ResultsSheet::refresh() {
    if (!dueForEvaluation()) return;
    const AppState& state = session_.state;
    evaluation_ = currentEvaluation(state, session_.platform);
    evaluated_ = true;
    evaluatedEntries_ = state.results.record.count();
    evaluatedAt_ = std::chrono::steady_clock::now();
    lines_ = statusBlockLines(evaluation_,
                              statusDisplay(state.results.runData, state.results.runSettings));
}

}  // namespace quorvane
