#include "experiments/experiment_runner.h"

#include <algorithm>
#include <cmath>

#include "common/cformat.h"
#include "engine/contact_geometry.h"
#include "experiments/reduction.h"
#include "experiments/regime_table.h"
#include "experiments/run_log.h"
#include "model/data_rules.h"
#include "model/probabilities.h"
#include "model/theory.h"
#include "model/units.h"

namespace quorvane {
namespace {

/// Probabilities a full run falls back to when its list is empty or implausible.
const std::vector<double> kFallbackProbabilities = {0.004, 0.002, 0.001};
/// The probabilities an optimised full run may choose from, ascending.
constexpr double kOptimisedProbabilities[] = {0.0005, 0.001, 0.002, 0.005, 0.01, 0.02, 0.03};

}  // namespace

double bottomFaceShare(const PhysicalData& d) {
    auto contact =
        ContactGeometry::make(d.Size_A, d.Size_B, d.Size_C, d.edgesRatio, d.verticesRatio);
    return contact ? contact->bottomFaceFraction : 0;
}

ExperimentRunner::ExperimentRunner(AppState& state, RunController& loop, PlanFile& planFile,
                                   Platform& platform)
    : state_(state),
      loop_(loop),
      planFile_(planFile),
      platform_(platform),
      standard_(static_cast<unsigned>(platform.nowSeconds())) {}

double ExperimentRunner::standardUniform() {
    const unsigned r = static_cast<unsigned>(standard_() >> 8) & 0x7FFF;  // 0..32767
    return r / 32767.0;
}

void ExperimentRunner::pumpBetweenRuns() {
    RunState& rs = state_.runState;
    const bool inSeries = rs.seriesFlag;
    platform_.handlePendingMessages();
    // The Pause button between two runs, or closing the program, ends the
    // experiment as it would during a run; otherwise the next run would set the
    // series flag again and the press would be lost.
    if (inSeries && !rs.seriesFlag) rs.experimentFlag = false;
    if (platform_.messagePending() && platform_.pendingMessageIsClose()) rs.experimentFlag = false;
}

void ExperimentRunner::refreshData() {
    computeTheory(state_.data, platform_);
    recomputeProbabilityAndTimeStep(state_.run, state_.data);
    if (hooks.refillPlanList) hooks.refillPlanList();
    if (hooks.repaint) hooks.repaint();
}

bool ExperimentRunner::setField(int field, double value) {
    // The panel shows the value with the data's accuracy, and the data take
    // what the panel shows.
    std::string text = cformat("%.*g", std::clamp(state_.data.accuracy, 1, 20), value);
    return enterFieldText(state_.data, state_.run, static_cast<DataField>(field), text, platform_)
        .refusedFields.empty();
}

bool ExperimentRunner::applyPlanValue(int kind, double v) {
    const PhysicalData& d = state_.data;
    // Axis ratios are kept in the concentration unit: percent means x 0.01.
    const double ratio = d.concentration == 1 ? v * 0.01 : v;
    switch (kind) {
        case 0:
            return setField(static_cast<int>(DataField::GeneralSupercooling), v);
        case 1:
            return setField(static_cast<int>(DataField::GeneralSurfaceEnergy), v);
        case 2:
            return setField(static_cast<int>(DataField::VolumeEnthalpy), v);
        case 3:
            return setField(static_cast<int>(DataField::SurfaceEnergy), v);
        case 4:
            return setField(static_cast<int>(DataField::Temperature), v);
        case 5:
            return setField(static_cast<int>(DataField::Concentration), v);
        case 6:
            return setField(static_cast<int>(DataField::Volume), v);
        case 7:
            return setField(static_cast<int>(DataField::SizeA), ratio * d.Size_B);
        case 8:
            return setField(static_cast<int>(DataField::SizeC), ratio * d.Size_B);
        case 9:
            return setField(static_cast<int>(DataField::EdgesRatio), v <= 0 ? 0 : v);
        case 10:
            return setField(static_cast<int>(DataField::VerticesRatio), v);
        default:
            return true;
    }
}

bool ExperimentRunner::singleRun(double probability, bool porous) {
    RunState& rs = state_.runState;
    RunSettings& run = state_.run;
    run.Is_includes_porosity = porous ? 1 : 0;
    run.Prob_in_at_step = probability;
    run.N_in_per_step = probability * run.N_field_W * run.N_field_H;
    if (auto step = timeStepFor(probability, state_.data)) run.Time_step = *step;
    rs.singleSimulation = false;
    rs.seriesFlag = true;
    if (!loop_.PrepareNewRun()) {
        rs.experimentFlag = false;  // the data cannot run: the whole experiment ends
        return false;
    }
    loop_.FillRunRecord();
    loop_.StartLoop();
    return rs.experimentFlag;
}

bool ExperimentRunner::logCurrent(int eventCode) {
    RunRecord& record = state_.results.current;
    record.logPath = state_.paths.logPath;
    if (appendRunRecord(record.logPath, eventCode, record, platform_)) {
        recordRegime(record.logPath, record.regime);
        ++state_.runState.rowsLogged;
        return true;
    }
    // A lost result ends the experiment where it stands (see RunController::writeLog).
    ++state_.runState.logFailures;
    state_.runState.experimentFlag = false;
    return false;
}

bool ExperimentRunner::SeriesSingleRun(double probability, bool porous) {
    singleRun(probability, porous);
    return state_.runState.experimentFlag && state_.runState.seriesFlag;
}

bool ExperimentRunner::seriesElsewhere(const std::vector<double>& values, bool porous) {
    const ResearchSettings& research = state_.research;
    RunState& rs = state_.runState;
    std::vector<SeriesRun> runs = hooks.runSeries(values, porous);
    for (const SeriesRun& run : runs) {
        // The rows go into the log in the series' order, as one process writes them.
        if (!run.rows.empty()) {
            if (!appendRunLogRows(state_.paths.logPath, run.rows, platform_)) {
                ++rs.logFailures;
                rs.experimentFlag = false;
                return false;
            }
            rs.rowsLogged += static_cast<int>(std::count(run.rows.begin(), run.rows.end(), '\n'));
            recordRegime(state_.paths.logPath, run.record.regime);
        }
        state_.results.current = run.record;
        if (run.end != SeriesEnd::Completed) {
            // A run elsewhere that was refused or lost its row ends the work as here.
            if (run.end == SeriesEnd::Refused) ++rs.refusedRuns;
            if (run.end == SeriesEnd::Lost) ++rs.logFailures;
            rs.experimentFlag = false;
            return false;
        }
        reports_.push_back(run.record);
        if (research.Do_exit_when_less_than_N_layers_filled &&
            run.record.curLayer < research.Theshold_of_layesr_to_fill)
            return false;
    }
    if (runs.size() == values.size()) return true;
    // Runs missing without a word: their results are lost.
    ++rs.logFailures;
    rs.experimentFlag = false;
    return false;
}

bool ExperimentRunner::series(const std::vector<double>& values, bool porous) {
    if (hooks.runSeries) return seriesElsewhere(values, porous);
    const ResearchSettings& research = state_.research;
    for (double p : values) {
        singleRun(p, porous);
        if (!state_.runState.experimentFlag) return false;
        reports_.push_back(state_.results.current);
        if (!state_.runState.seriesFlag) return false;
        if (research.Do_exit_when_less_than_N_layers_filled &&
            state_.results.current.curLayer < research.Theshold_of_layesr_to_fill)
            return false;
    }
    return true;
}

bool ExperimentRunner::reduceAndLog() {
    RunRecord reduced = Reduce(reports_);
    reports_.clear();
    state_.results.current = reduced;
    return logCurrent(kEventReduced);
}

bool ExperimentRunner::optimisedRun() {
    const PhysicalData& d = state_.data;
    const int scheme = state_.research.Sheme_for_running_with_porosity;
    // Growth at the slowest site: a molecule held by its bottom face alone.
    double x = (1 - 2 * bottomFaceShare(d)) * d.General_Surface_Energy - d.General_Suupercooling;
    x = std::min(x, 90.0);
    const double g = 0.5 / std::exp(x);
    if (!(g > 0.0005)) return false;
    double p = kOptimisedProbabilities[0];
    for (double candidate : kOptimisedProbabilities)
        if (candidate < g) p = candidate;
    auto completes = [&] { return state_.runState.experimentFlag && state_.runState.seriesFlag; };
    if (scheme != kAllWithPorosity) {
        singleRun(p, false);
        if (!completes() || !logCurrent(kEventReduced)) return true;
    }
    if (scheme != kNoPorosity) {
        singleRun(p, true);
        if (!completes()) return true;
        reports_.push_back(state_.results.current);
        logCurrent(kEventReduced);
    }
    return true;
}

bool ExperimentRunner::FullRun() {
    reports_.clear();
    if (state_.research.Do_optimize_run_probabilities && optimisedRun()) {
        return state_.runState.experimentFlag;
    }
    std::vector<double> values = state_.research.values;
    if (values.empty() ||
        std::any_of(values.begin(), values.end(), [](double v) { return !(v >= 1e-7); }))
        values = kFallbackProbabilities;
    switch (state_.research.Sheme_for_running_with_porosity) {
        case kNoPorosity:
            if (!series(values, false)) return false;
            if (!reduceAndLog()) return false;
            break;
        case kDuplicateWithPorosity: {
            if (!series(values, false) || !reduceAndLog()) return false;
            if (!series(values, true) || !reduceAndLog()) return false;
            break;
        }
        case kFirstAlsoWithPorosity: {
            if (!series(values, false)) return false;
            RunRecord reduced = Reduce(reports_);
            reports_.clear();
            state_.results.current = reduced;
            if (!logCurrent(kEventReduced)) return false;
            singleRun(values.front(), true);
            if (!state_.runState.experimentFlag || !state_.runState.seriesFlag) return false;
            if (!logCurrent(kEventReduced)) return false;
            state_.results.current = reduced;
            break;
        }
        case kAllWithPorosity:
        default:
            if (!series(values, true) || !reduceAndLog()) return false;
            break;
    }
    return true;
}

void ExperimentRunner::RunFullSingleRun() {
    RunState& rs = state_.runState;
    state_.research.values = reReadValues(state_.research);
    rs.experimentFlag = true;
    rs.rateCheckArmed = true;
    loop_.takeControls();
    FullRun();
    rs.rateCheckArmed = false;
    rs.experimentFlag = false;
    loop_.releaseControls();
}

void ExperimentRunner::runOrTestPause() {
    RunState& rs = state_.runState;
    if (!rs.testMode) {
        FullRun();
        return;
    }
    // The test pause stands in for a series: the Pause button ends it as it would
    // end a series, instead of starting a second experiment inside this one.
    rs.seriesFlag = true;
    platform_.sleepMilliseconds(500);
    // The desktop handles its events while it waits, so the press may land in
    // the pause itself; it ends the plan as a press between runs does.
    if (!rs.seriesFlag) rs.experimentFlag = false;
    pumpBetweenRuns();
}

bool ExperimentRunner::planStyleRun() {
    RunState& rs = state_.runState;
    refreshData();
    pumpBetweenRuns();
    runOrTestPause();
    pumpBetweenRuns();
    return rs.experimentFlag;
}

void ExperimentRunner::GeneralExperiment(long long maxDraws) {
    RunState& rs = state_.runState;
    std::vector<RandomArgument>& args = state_.randomArguments;
    state_.research.values = reReadValues(state_.research);
    rs.seriesFlag = true;
    rs.experimentFlag = true;
    loop_.takeControls();
    for (long long draw = 0;
         rs.seriesFlag && rs.experimentFlag && args.size() >= kRandomArgumentCount &&
         (maxDraws <= 0 || draw < maxDraws);
         ++draw) {
        // Axes in nanometres, at least 0.1 nm; surface weights at most 10000.
        const double a = std::max(0.1, Sample(args[kArgumentAxisA], standardUniform()));
        const double b = std::max(0.1, Sample(args[kArgumentAxisB], standardUniform()));
        const double c = std::max(0.1, Sample(args[kArgumentAxisC], standardUniform()));
        const double E = std::min(10000.0, Sample(args[kArgumentEdgesWeight], standardUniform()));
        const double V =
            std::min(10000.0, Sample(args[kArgumentVerticesWeight], standardUniform()));
        double delta = Sample(args[kArgumentSupercooling], standardUniform());
        if (delta < 0.00001) delta = 0.0001;
        const RandomArgument& energy = args[kArgumentSurfaceEnergy];
        double sigma;
        if (isAutoEnd(energy, energy.min) || isAutoEnd(energy, energy.max)) {
            // The share of the surface a lone molecule on a flat face touches.
            const double F =
                (b * c / 2 / (b * c + a * b + a * c) + (b + c) * E / (2 * (a + b + c)) + V / 2) /
                (V + E + 1);
            const double lo = isAutoEnd(energy, energy.min) ? delta / 2 : energy.min;
            double hi = energy.max;
            if (isAutoEnd(energy, energy.max)) hi = F > 0 ? std::sqrt(delta) * 7.27 / F : lo;
            sigma = Sample(energy, lo, hi, standardUniform());
        } else {
            sigma = Sample(energy, standardUniform());
        }
        // Drawn nanometres into the data's length unit.
        const double toLength =
            std::pow(10.0, -9 - unitExponent(UnitKind::Length, state_.data.dimension));
        enterFieldText(state_.data, state_.run, DataField::EdgesRatio, cformat("%.4g", E),
                       platform_);
        enterFieldText(state_.data, state_.run, DataField::VerticesRatio, cformat("%.4g", V),
                       platform_);
        setField(static_cast<int>(DataField::SizeA), a * toLength);
        setField(static_cast<int>(DataField::SizeB), b * toLength);
        setField(static_cast<int>(DataField::SizeC), c * toLength);
        setField(static_cast<int>(DataField::GeneralSupercooling), delta);
        setField(static_cast<int>(DataField::GeneralSurfaceEnergy), sigma);
        // A shard draws every value, so that its draws are those of the whole
        // experiment, and runs only its own; a stop is seen between the draws.
        if (!share.has(draw)) {
            if (platform_.messagePending() && platform_.pendingMessageIsClose()) break;
            continue;
        }
        if (hooks.drawStarted) hooks.drawStarted(draw, maxDraws);
        if (!planStyleRun()) break;
    }
    rs.experimentFlag = false;
    loop_.releaseControls();
}

}  // namespace quorvane
