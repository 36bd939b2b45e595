#include "engine/run_evaluation.h"

#include <cmath>

#include "engine/line_fit.h"

namespace quorvane {
namespace {

// Stable growth needs this many layers grown since the candidate entry, and more
// than this many times the final roughness: the surface must have renewed itself.
constexpr double kStableMinGrowth = 5.0;
constexpr double kStableGrowthOverRoughness = 5.0;
// ...and the roughness may drift by less than this part of itself since then.
constexpr double kStableMaxTrend = 0.1;
// Trend values that mark a candidate which cannot be judged.
constexpr double kTrendFlatSurface = 1000;
constexpr double kTrendNoStretch = 10000;
// Averages need this many entries beyond which the layer statistics mean something.
constexpr std::size_t kMinEntriesForAverages = 50;

/// Each whole layer passed up or down, one per entry at most.
void findCrossings(const GrowthRecord& record, RunEvaluation& ev) {
    ev.crossings.assign(1, 0);
    int level = 0;
    for (std::size_t i = 0; i < record.count(); ++i) {
        const double h = record.height(i);
        if (h > level + 1) {
            ev.crossings.push_back(i);
            ++level;
        }
        if (h < level - 1) {
            ev.crossings.push_back(i);
            --level;
        }
    }
    ev.layersReached = level;
}

/// A layer starts at the last entry before its completion at which the height was
/// still less than one critical nucleus above the previous completion.
void findStarts(const GrowthRecord& record, double delta, RunEvaluation& ev) {
    ev.starts.clear();
    for (std::size_t j = 0; j + 1 < ev.crossings.size(); ++j) {
        const std::size_t o = ev.crossings[j];
        const std::size_t k = ev.crossings[j + 1];
        const double threshold = record.height(o) + delta;
        std::size_t start = o;
        for (std::size_t i = k; i > o; --i) {
            if (record.height(i) < threshold) {
                start = i;
                break;
            }
        }
        ev.starts.push_back(start);
    }
}

/// Mean and spread of the layer filling and waiting times over the crossing pairs.
void layerTimes(const GrowthRecord& record, RunEvaluation& ev) {
    const std::size_t pairs = ev.crossings.size() - 1;
    std::vector<double> fill(pairs), wait(pairs);
    double fillSum = 0, waitSum = 0;
    for (std::size_t j = 0; j < pairs; ++j) {
        const double completed = record.time(ev.crossings[j]);
        fill[j] = std::fabs(record.time(ev.crossings[j + 1]) - completed);
        wait[j] = std::fabs(record.time(ev.starts[j]) - completed);
        fillSum += fill[j];
        waitSum += wait[j];
    }
    ev.fillMean = fillSum / pairs;
    ev.startMean = waitSum / pairs;
    if (ev.crossings.size() >= 4) {
        double fillSquares = 0, waitSquares = 0;
        for (std::size_t j = 0; j < pairs; ++j) {
            fillSquares += (fill[j] - ev.fillMean) * (fill[j] - ev.fillMean);
            waitSquares += (wait[j] - ev.startMean) * (wait[j] - ev.startMean);
        }
        ev.fillStd = std::sqrt(fillSquares / pairs);
        ev.startStd = std::sqrt(waitSquares / pairs);
    }
    ev.inductionRatio = ev.fillMean != 0 ? ev.startMean / ev.fillMean : 0.0;
}

void computeAverages(const GrowthRecord& record, const EvaluationInputs& in, RunEvaluation& ev) {
    const std::size_t count = record.count();
    if (ev.crossings.size() < 2 || count <= kMinEntriesForAverages) return;
    const double lastTime = record.time(count - 1);
    // A zero step duration leaves no time to divide by.
    ev.rateMean = lastTime != 0 ? record.height(count - 1) / lastTime : 0.0;
    // Continuous growth: every jump-in sticks unless it leaves again at once.
    const double expectation =
        static_cast<double>(count) * in.probIn * (1 - std::exp(-in.generalSupercooling));
    if (expectation != 0) {
        ev.rateParts = ev.finalHeight / expectation;
    } else if (in.vaContinues != 0) {
        // `Va_continues` is a length per current time unit: compare like with like.
        ev.rateParts = ev.rateMean * in.a * in.secondsPerTimeUnit / in.vaContinues;
    }
    layerTimes(record, ev);
}

double roughnessTrend(const GrowthRecord& record, std::size_t s) {
    const std::size_t last = record.count() - 1;
    if (s >= last) return kTrendNoStretch;
    const double finalRoughness = record.roughness(last);
    if (finalRoughness == 0) return kTrendFlatSurface;
    const auto first = static_cast<std::int64_t>(s);
    const auto end = static_cast<std::int64_t>(last);
    const LineFit fit =
        fitStraightLine(record, RecordSeries::Roughness, first, end, (end - first) / 100 + 1);
    return std::fabs((record.time(last) - record.time(s)) * fit.slope / finalRoughness);
}

/// Only the first candidate that has grown enough is judged: a later, steadier
/// stretch does not rescue a run whose roughness still drifts there.
std::int64_t findStableStart(const GrowthRecord& record) {
    const std::size_t n = record.count();
    const std::size_t last = n - 1;
    const std::size_t step = n / 1000 + 1;
    const double finalRoughness = record.roughness(last);
    const double finalHeight = record.height(last);
    for (std::size_t s = step; s < last; s += step) {
        const double grown = finalHeight - record.height(s);
        if (!(grown >= kStableMinGrowth && grown > kStableGrowthOverRoughness * finalRoughness)) {
            continue;
        }
        if (roughnessTrend(record, s) < kStableMaxTrend) return static_cast<std::int64_t>(s);
        return -1;
    }
    return -1;
}

void computeStableAverages(const GrowthRecord& record, const EvaluationInputs& in,
                           RunEvaluation& ev) {
    const std::int64_t start = ev.stableStart;
    const auto last = static_cast<std::int64_t>(record.count()) - 1;
    const LineFit heightFit = fitStraightLine(record, RecordSeries::Height, start, last, 10);
    ev.stableRate = heightFit.slope * in.a * in.secondsPerTimeUnit;
    ev.stableRateParts = in.vaContinues != 0 ? ev.stableRate / in.vaContinues : 0.0;
    ev.stableRoughness = averagingFit(record, RecordSeries::Roughness, start, last, 10);
    ev.stableRoughnessLength = ev.stableRoughness * in.a;
    if (in.porous)
        ev.stablePorosity = averagingFit(record, RecordSeries::Porosity, start, last, 10);
}

}  // namespace

double nucleusIncrement(const EvaluationInputs& in) {
    const double nucleusArea = 3.14 * in.criticalRadius * in.criticalRadius;
    return nucleusArea / ((in.fieldW * in.c) * (in.fieldW * in.b));
}

RunEvaluation Evaluate(const GrowthRecord& record, const EvaluationInputs& in) {
    RunEvaluation ev;
    if (record.empty()) return ev;
    const std::size_t last = record.count() - 1;
    ev.steps = static_cast<int>(record.count());
    ev.timeOfGrowth = record.time(last);
    ev.finalHeight = record.height(last);
    ev.finalRoughness = record.roughness(last);
    ev.finalPorosity = in.porous ? record.porosity(last) : 0.0;
    ev.simulationSeconds = in.running ? in.now - in.startTime : in.endTime - in.startTime;
    ev.simulationMinutes = ev.simulationSeconds / 60;
    findCrossings(record, ev);
    findStarts(record, nucleusIncrement(in), ev);
    computeAverages(record, in, ev);
    ev.mechanism = classifyMechanism(ev.inductionRatio);
    ev.regime = assessGrowthRegime(record, in);
    ev.stableStart = findStableStart(record);
    if (ev.stableGrowthFound()) computeStableAverages(record, in, ev);
    return ev;
}

}  // namespace quorvane
