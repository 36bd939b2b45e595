#include "engine/run_evaluation.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/line_fit.h"
#include "record_builder.h"

namespace quorvane {
namespace {

using testing::ramp;
using testing::recordOf;
using Indices = std::vector<std::size_t>;

/// A 1 x 1 field of unit cells: a nucleus of radius r adds 3.14 r^2 layers.
EvaluationInputs inputsWithNucleus(double delta) {
    EvaluationInputs in;
    in.probIn = 0.5;
    in.generalSupercooling = std::log(2.0);  // half the jumps stay: expectation count / 4
    in.criticalRadius = std::sqrt(delta / 3.14);
    in.a = 6;
    in.b = 1;
    in.c = 1;
    in.fieldW = 1;
    in.vaContinues = 90;
    in.secondsPerTimeUnit = 60;
    return in;
}

TEST(RunEvaluation, EmptyAndFlatRecordsGiveNoAverages) {
    RunEvaluation empty = Evaluate(GrowthRecord{}, inputsWithNucleus(0.5));
    EXPECT_EQ(empty.steps, 0);
    EXPECT_TRUE(empty.crossings.empty());
    EXPECT_EQ(empty.mechanism, kNotEnoughData);
    EXPECT_EQ(empty.stableStart, -1);

    RunEvaluation flat = Evaluate(recordOf(std::vector<double>(100, 0.0)), inputsWithNucleus(0.5));
    EXPECT_EQ(flat.steps, 100);
    EXPECT_EQ(flat.crossings, Indices{0});
    EXPECT_TRUE(flat.starts.empty());
    EXPECT_EQ(flat.rateMean, 0);
    EXPECT_EQ(flat.fillMean, 0);
    EXPECT_EQ(flat.inductionRatio, 0);
    EXPECT_EQ(flat.mechanism, kNotEnoughData);
}

TEST(RunEvaluation, LayerTimesOfASteadyRampAfterMoreThanFiftyEntries) {
    // One layer every 8 steps of 1 s; a nucleus adds half a layer.
    const EvaluationInputs in = inputsWithNucleus(0.5);
    RunEvaluation fifty = Evaluate(recordOf(ramp(50, 0.125)), in);
    EXPECT_EQ(fifty.crossings, (Indices{0, 9, 17, 25, 33, 41, 49}));
    EXPECT_EQ(fifty.fillMean, 0);
    EXPECT_EQ(fifty.rateMean, 0);
    EXPECT_EQ(fifty.mechanism, kNotEnoughData);

    RunEvaluation ev = Evaluate(recordOf(ramp(51, 0.125)), in);
    EXPECT_EQ(ev.crossings, (Indices{0, 9, 17, 25, 33, 41, 49}));
    EXPECT_EQ(ev.starts, (Indices{3, 12, 20, 28, 36, 44}));
    EXPECT_EQ(ev.layersReached, 6);
    EXPECT_EQ(ev.timeOfGrowth, 50);
    EXPECT_EQ(ev.finalHeight, 6.25);
    EXPECT_DOUBLE_EQ(ev.rateMean, 0.125);
    EXPECT_DOUBLE_EQ(ev.rateParts, 6.25 / 12.75);
    EXPECT_DOUBLE_EQ(ev.fillMean, 49.0 / 6);
    EXPECT_NEAR(ev.fillStd, std::sqrt(5.0 / 36), 1e-12);
    EXPECT_DOUBLE_EQ(ev.startMean, 3);
    EXPECT_EQ(ev.startStd, 0);
    EXPECT_DOUBLE_EQ(ev.inductionRatio, 18.0 / 49);
    EXPECT_EQ(ev.mechanism, kIntermediateMechanism);
}

TEST(RunEvaluation, SpreadsNeedThreeLayerPairs) {
    std::vector<double> heights(60, 0.0);
    for (std::size_t i = 20; i < 60; ++i) heights[i] = i < 40 ? 1.5 : 2.5;
    RunEvaluation three = Evaluate(recordOf(heights), inputsWithNucleus(0));
    EXPECT_EQ(three.crossings, (Indices{0, 20, 40}));
    EXPECT_EQ(three.fillMean, 20);
    EXPECT_EQ(three.fillStd, 0);

    for (std::size_t i = 55; i < 60; ++i) heights[i] = 3.5;
    RunEvaluation four = Evaluate(recordOf(heights), inputsWithNucleus(0));
    EXPECT_EQ(four.crossings, (Indices{0, 20, 40, 55}));
    EXPECT_DOUBLE_EQ(four.fillMean, 55.0 / 3);
    EXPECT_NEAR(four.fillStd, std::sqrt(150.0 / 27), 1e-12);
}

TEST(RunEvaluation, CrossingsGoDownAsWellAndOneLayerPerEntry) {
    std::vector<double> heights(30, 0.0);
    for (std::size_t i = 10; i < 30; ++i) heights[i] = i < 20 ? 1.5 : (i < 25 ? -0.5 : -1.5);
    RunEvaluation ev = Evaluate(recordOf(heights), inputsWithNucleus(0.5));
    EXPECT_EQ(ev.crossings, (Indices{0, 10, 20, 25}));
    EXPECT_EQ(ev.layersReached, -1);

    RunEvaluation jump = Evaluate(recordOf({0, 2.5, 2.5, 2.5}), inputsWithNucleus(0.5));
    EXPECT_EQ(jump.crossings, (Indices{0, 1, 2}));
    EXPECT_EQ(jump.layersReached, 2);
}

TEST(RunEvaluation, StableGrowthIsJudgedOnTheFirstCandidateOnly) {
    EvaluationInputs in = inputsWithNucleus(0.5);
    in.porous = true;
    RunEvaluation steady =
        Evaluate(recordOf(ramp(200, 0.125), 1, std::vector<double>(200, 2.0), true, 0.25), in);
    EXPECT_EQ(steady.stableStart, 1);
    EXPECT_NEAR(steady.stableRate, 0.125 * 6 * 60, 1e-9);  // layers/s x a x seconds per minute
    EXPECT_NEAR(steady.stableRateParts, 0.5, 1e-12);
    EXPECT_NEAR(steady.stableRoughness, 2, 1e-12);
    EXPECT_NEAR(steady.stableRoughnessLength, 12, 1e-11);
    EXPECT_NEAR(steady.stablePorosity, 0.25, 1e-12);

    EXPECT_EQ(Evaluate(recordOf(ramp(5000, 0.125)), in).stableStart, 6);  // candidates step 6
    EXPECT_EQ(Evaluate(recordOf(ramp(40, 0.125)), in).stableStart, -1);   // under 5 layers

    // Roughness settles only after entry 50: the first candidate (1) sees the
    // drift, a later one (60) would not, and the answer stays "not established".
    std::vector<double> roughness(200, 1.0);
    for (std::size_t i = 0; i < 50; ++i) roughness[i] = 1 + (50.0 - i) * 0.1;
    GrowthRecord settling = recordOf(ramp(200, 0.125), 1, roughness);
    EXPECT_EQ(fitStraightLine(settling, RecordSeries::Roughness, 60, 199, 2).slope, 0);
    EXPECT_EQ(Evaluate(settling, in).stableStart, -1);
}

TEST(LineFit, RecoversExactLinesAndExtrapolatesToInfiniteTime) {
    GrowthRecord record;
    record.Reset(100, testing::parameters(0.25));
    for (int i = 0; i < 30; ++i) {
        const double t = i * 0.25;
        // Roughness follows 5 + 7/t only where the averaging fit looks (entry 9 on).
        record.Append(0.25, 3 + 2 * t, i < 9 ? 1000 : 5 + 7 / t, 0, false);
    }
    LineFit line = fitStraightLine(record, RecordSeries::Height, -5, 1000, 1);
    EXPECT_NEAR(line.intercept, 3, 1e-12);
    EXPECT_NEAR(line.slope, 2, 1e-12);
    line = fitStraightLine(record, RecordSeries::Height, 0, 20, 10);  // three samples
    EXPECT_EQ(line.intercept, 0);
    EXPECT_EQ(line.slope, 0);
    EXPECT_NEAR(averagingFit(record, RecordSeries::Roughness, 0, 29, 1), 5, 1e-9);
    EXPECT_EQ(averagingFit(recordOf(ramp(10, 1)), RecordSeries::Height, 0, 9, 1), 0);
}

TEST(RunEvaluation, GuardsDivisionsThatWouldReachTheLog) {
    EvaluationInputs in = inputsWithNucleus(0.5);
    RunEvaluation frozen = Evaluate(recordOf(ramp(60, 0.125), 0), in);  // zero step duration
    for (double v : {frozen.rateMean, frozen.rateParts, frozen.fillMean, frozen.inductionRatio,
                     frozen.stableRate, frozen.stableRoughness}) {
        EXPECT_TRUE(std::isfinite(v));
    }
    EXPECT_EQ(frozen.rateMean, 0);
    EXPECT_EQ(frozen.mechanism, kNotEnoughData);

    in.probIn = 0;  // no continuous-growth expectation: compare with `Va_continues`
    in.vaContinues = 3;
    EXPECT_DOUBLE_EQ(Evaluate(recordOf(ramp(51, 0.125)), in).rateParts, 0.125 * 6 * 60 / 3);
    in.vaContinues = 0;
    RunEvaluation noTheory = Evaluate(recordOf(ramp(200, 0.125)), in);
    EXPECT_EQ(noTheory.rateParts, 0);
    EXPECT_EQ(noTheory.stableRateParts, 0);
    EXPECT_GT(noTheory.stableRate, 0);
}

TEST(RunEvaluation, WallClockFollowsTheRunFlagAndTheRestIsRepeatable) {
    EvaluationInputs in = inputsWithNucleus(0.5);
    in.startTime = 1000;
    in.endTime = 1061;
    in.now = 1125;
    const GrowthRecord record = recordOf(ramp(300, 0.125));
    RunEvaluation halted = Evaluate(record, in);
    EXPECT_EQ(halted.simulationSeconds, 61);
    EXPECT_EQ(halted.simulationMinutes, 1);
    in.running = true;
    RunEvaluation running = Evaluate(record, in);
    EXPECT_EQ(running.simulationSeconds, 125);
    EXPECT_EQ(running.simulationMinutes, 2);
    EXPECT_EQ(running.crossings, halted.crossings);
    EXPECT_EQ(running.starts, halted.starts);
    EXPECT_EQ(running.fillStd, halted.fillStd);
    EXPECT_EQ(running.stableRate, halted.stableRate);
}

}  // namespace
}  // namespace quorvane
