#pragma once
/// What a growth record says about its run: when each layer was completed and
/// started, layer filling and waiting times, the induction ratio and the growth
/// mechanism, the overall rate against continuous growth, and, once growth is
/// stable, the fitted rate, roughness and porosity.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/growth_record.h"
#include "engine/growth_regime.h"
#include "engine/mechanism.h"

namespace quorvane {

/// Everything the evaluation needs from the physical data, the run settings and
/// the run state, as plain values in the units the data currently hold.
struct EvaluationInputs {
    double probIn = 0;               ///< `Prob_in_at_step`, P
    double generalSupercooling = 0;  ///< `General_Suupercooling`, E0
    double criticalRadius = 0;       ///< critical nucleus size r, current length unit
    double a = 0;                    ///< `Size_A`, current length unit
    double b = 0;                    ///< `Size_B`
    double c = 0;                    ///< `Size_C`
    int fieldW = 0;                  ///< `N_field_W`
    double vaContinues = 0;          ///< `Va_continues`, length per current time unit
    double secondsPerTimeUnit = 1;   ///< seconds of one current time unit
    bool porous = false;             ///< the run takes hole defects into account
    bool running = false;            ///< the run flag
    std::int64_t startTime = 0;      ///< wall clock, seconds, at the run's start
    std::int64_t endTime = 0;        ///< wall clock, seconds, at the last halt
    std::int64_t now = 0;            ///< wall clock, seconds
};

/// The evaluation of a growth record. Times are in seconds, heights and roughness
/// in layers, porosity in parts, unless a field says otherwise.
struct RunEvaluation {
    int steps = 0;  ///< entries of the record
    double timeOfGrowth = 0;
    double finalHeight = 0;
    int layersReached = 0;  ///< layer level at the end of the crossing scan
    double finalRoughness = 0;
    double finalPorosity = 0;            ///< 0 without hole defects
    std::int64_t simulationSeconds = 0;  ///< wall-clock duration
    std::int64_t simulationMinutes = 0;  ///< simulationSeconds / 60
    /// Entry 0, then each entry at which the height passed the next whole layer
    /// (up or down).
    std::vector<std::size_t> crossings;
    /// For each pair of consecutive crossings, the entry at which the new layer started.
    std::vector<std::size_t> starts;
    double rateMean = 0;   ///< layers per second
    double rateParts = 0;  ///< grown height as a part of the continuous-growth expectation
    double fillMean = 0;
    double fillStd = 0;
    double startMean = 0;
    double startStd = 0;
    double inductionRatio = 0;  ///< startMean / fillMean
    int mechanism = kNotEnoughData;
    /// The calibrated growth regime, beside the induction-ratio mechanism.
    GrowthRegimeAssessment regime;
    std::int64_t stableStart = -1;  ///< first entry of stable growth, -1 for none
    double stableRate = 0;          ///< length per current time unit
    double stableRateParts = 0;     ///< stableRate / `Va_continues`
    double stableRoughness = 0;
    double stableRoughnessLength = 0;  ///< stableRoughness x `Size_A`, current length unit
    double stablePorosity = 0;

    bool stableGrowthFound() const { return stableStart >= 0; }
};

/// Mean-height increase, in layers, that one critical two-dimensional nucleus of
/// area 3.14 r^2 adds to a field of W x W cells of area c x b.
double nucleusIncrement(const EvaluationInputs& inputs);

/// The growth regime of an evaluated run as a report prints it: the word, then
/// the reason in brackets (see `growthRegimeText` of a `GrowthRegimeAssessment`).
std::string growthRegimeText(const RunEvaluation& evaluation);

/// Evaluates the whole record. The result depends only on the record and the
/// inputs; an empty record gives the empty evaluation (no wall-clock time either).
RunEvaluation Evaluate(const GrowthRecord& record, const EvaluationInputs& inputs);

}  // namespace quorvane
