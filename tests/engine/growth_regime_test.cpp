#include "engine/growth_regime.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/growth_engine.h"
#include "engine/run_evaluation.h"
#include "record_builder.h"

namespace quorvane {
namespace {

using testing::ramp;
using testing::recordOf;

/// Unit cube molecules; P = 0.1 and dG' = ln 2, so continuous growth adds
/// 0.05 layers per step. sigma' sets the theory's critical radius sigma' / (6 dG').
EvaluationInputs inputsFor(double sigma, double dg = std::log(2.0), double P = 0.1) {
    EvaluationInputs in;
    in.probIn = P;
    in.generalSupercooling = dg;
    in.criticalRadius = sigma / (6 * dg);
    in.a = in.b = in.c = 1;
    in.fieldW = 64;
    return in;
}

/// Layer by layer: each layer fills in `fill` steps after a wait of `wait` steps.
std::vector<double> staircase(std::size_t count, int wait, int fill) {
    std::vector<double> heights(count);
    for (std::size_t i = 0; i < count; ++i) {
        const auto period = static_cast<std::size_t>(wait + fill);
        const double within = static_cast<double>(i % period) - wait;
        heights[i] = static_cast<double>(i / period) + std::max(0.0, within) / fill;
    }
    return heights;
}

TEST(GrowthRegime, SyntheticRecordsWithKnownAnswers) {
    // A rough face growing steadily at 0.9 of continuous growth.
    const GrowthRegimeAssessment rough =
        assessGrowthRegime(recordOf(ramp(600, 0.045)), inputsFor(9));
    EXPECT_EQ(rough.regime, GrowthRegime::Continuous);
    EXPECT_EQ(rough.reason, RegimeReason::RoughFace);
    EXPECT_NEAR(rough.rateParts, 0.9, 1e-12);
    EXPECT_NEAR(rough.judgedLayers, 399 * 0.05, 1e-9);

    // A staircase with long waits: one layer per 200 steps, 0.1 of continuous growth.
    const GrowthRecord stairs = recordOf(staircase(4000, 190, 10));
    const GrowthRegimeAssessment slow =
        assessGrowthRegime(stairs, inputsFor(6 * std::log(2.0) * 1.5));
    EXPECT_EQ(slow.regime, GrowthRegime::Nucleation);
    EXPECT_EQ(slow.reason, RegimeReason::LargeNucleus);
    EXPECT_NEAR(slow.nucleusRadius, 1.5, 1e-12);
    EXPECT_NEAR(slow.rateParts, 0.1, 0.01);

    // The same slow face with a small nucleus: intermediate, then continuous.
    EXPECT_EQ(assessGrowthRegime(stairs, inputsFor(6 * std::log(2.0) * 0.75)).regime,
              GrowthRegime::Intermediate);
    EXPECT_EQ(assessGrowthRegime(stairs, inputsFor(6 * std::log(2.0) * 0.4)).reason,
              RegimeReason::SingleSiteNucleus);

    // A few steps only, however fast they grew.
    const GrowthRegimeAssessment few = assessGrowthRegime(recordOf(ramp(50, 1.0)), inputsFor(1));
    EXPECT_EQ(few.regime, GrowthRegime::Undetermined);
    EXPECT_EQ(few.reason, RegimeReason::TooFewEntries);
}

TEST(GrowthRegime, ShortRunsAndNoDriveAreUndetermined) {
    // 90 judged steps x 0.05 = 4.5 layers is enough; 30 x 0.05 = 1.5 is not.
    EXPECT_EQ(assessGrowthRegime(recordOf(ramp(136, 0.045)), inputsFor(1)).regime,
              GrowthRegime::Continuous);
    const GrowthRegimeAssessment shortRun =
        assessGrowthRegime(recordOf(ramp(200, 0.0)), inputsFor(9, std::log(2.0), 0.02));
    EXPECT_EQ(shortRun.regime, GrowthRegime::Undetermined);
    EXPECT_EQ(shortRun.reason, RegimeReason::TooShort);
    EXPECT_NEAR(shortRun.judgedLayers, 133 * 0.01, 1e-12);
    // 60 judged steps must add at least kRegimeMinJudgedLayers = 3 continuous layers.
    EXPECT_EQ(
        assessGrowthRegime(recordOf(ramp(91, 0.0)), inputsFor(9, std::log(2.0), 0.101)).reason,
        RegimeReason::LargeNucleus);
    EXPECT_EQ(
        assessGrowthRegime(recordOf(ramp(91, 0.0)), inputsFor(9, std::log(2.0), 0.099)).reason,
        RegimeReason::TooShort);

    for (double dg : {0.0, -0.5, std::nan("")}) {
        EXPECT_EQ(assessGrowthRegime(recordOf(ramp(400, 0.01)), inputsFor(6, dg)).reason,
                  RegimeReason::NoDrivingForce)
            << dg;
    }
    EXPECT_EQ(assessGrowthRegime(recordOf(ramp(400, 0.01)), inputsFor(6, 1, 0)).reason,
              RegimeReason::NoDrivingForce);
    // A smooth face without a critical radius from the theory is not guessed.
    EvaluationInputs noTheory = inputsFor(6);
    noTheory.criticalRadius = 0;
    EXPECT_EQ(assessGrowthRegime(recordOf(ramp(400, 0.0)), noTheory).reason,
              RegimeReason::NoNucleusSize);
}

TEST(GrowthRegime, BoundariesOfTheRule) {
    const GrowthRecord slow = recordOf(ramp(900, 0.0001));  // smooth at every drive below
    auto regimeAt = [&](double radius, double dg) {
        EvaluationInputs in = inputsFor(1, dg);
        in.criticalRadius = radius;
        return assessGrowthRegime(slow, in).regime;
    };
    // sigma' = 6 dG' is a radius of one molecule: nucleation; sigma' = 3 dG' is half a
    // molecule: continuous. A radius computed through physical units lands on its side.
    for (double dg : {0.1, 0.35, 1.0, 7.0}) {
        for (double one : {1.0 - 1e-12, 1.0, 1.0 + 1e-12, 20.0})
            EXPECT_EQ(regimeAt(one, dg), GrowthRegime::Nucleation) << dg << " " << one;
        for (double half : {0.0001, 0.5 - 1e-12, 0.5, 0.5 + 1e-12})
            EXPECT_EQ(regimeAt(half, dg), GrowthRegime::Continuous) << dg << " " << half;
        for (double between : {0.501, 0.75, 0.999})
            EXPECT_EQ(regimeAt(between, dg), GrowthRegime::Intermediate) << dg << " " << between;
    }
    // A box molecule: the radius counts in sqrt(b c), the side of its cell in the face.
    EvaluationInputs box = inputsFor(6);
    box.b = 4;
    box.c = 1;
    box.criticalRadius = 1.9;
    EXPECT_EQ(assessGrowthRegime(slow, box).regime, GrowthRegime::Intermediate);

    // The rough-face rate: 0.29 at no drive, rising towards 1; reaching it counts as rough.
    EXPECT_NEAR(roughFaceRateParts(0), 0.29, 1e-12);
    EXPECT_NEAR(roughFaceRateParts(1), 0.5694, 1e-4);
    EXPECT_LT(roughFaceRateParts(2), roughFaceRateParts(3));
    const double g = std::log(2.0);
    const double atThreshold = roughFaceRateParts(g) * 0.05;
    EXPECT_EQ(
        assessGrowthRegime(recordOf(ramp(900, atThreshold * 1.0001)), inputsFor(60, g)).reason,
        RegimeReason::RoughFace);
    EXPECT_EQ(
        assessGrowthRegime(recordOf(ramp(900, atThreshold * 0.9999)), inputsFor(60, g)).reason,
        RegimeReason::LargeNucleus);
}

TEST(GrowthRegime, WordsAndTexts) {
    EXPECT_STREQ(growthRegimeWord(GrowthRegime::Continuous), "continuous");
    EXPECT_STREQ(growthRegimeWord(GrowthRegime::Intermediate), "intermediate");
    EXPECT_STREQ(growthRegimeWord(GrowthRegime::Nucleation), "nucleation");
    EXPECT_STREQ(growthRegimeWord(GrowthRegime::Undetermined), "undetermined");

    GrowthRegimeAssessment a;
    EXPECT_EQ(growthRegimeText(a), "undetermined (too few steps to judge)");
    a.reason = RegimeReason::TooShort;
    a.judgedLayers = 1.234;
    EXPECT_EQ(growthRegimeText(a),
              "undetermined (too short to judge: 1.23 of 3 layers of continuous growth)");
    a = {GrowthRegime::Continuous, RegimeReason::RoughFace, 20, 0.6126, 0.56941, 0.75};
    EXPECT_EQ(growthRegimeText(a),
              "continuous (rough face: rate 0.613 of continuous, rough from 0.569)");
    a = {GrowthRegime::Nucleation, RegimeReason::LargeNucleus, 20, 0.168, 0.665, 1.5};
    EXPECT_EQ(growthRegimeText(a),
              "nucleation (nucleus radius 1.50 molecules; rate 0.168 of continuous)");
    a = {GrowthRegime::Continuous, RegimeReason::SingleSiteNucleus, 20, 0.4968, 0.84, 0.5};
    EXPECT_EQ(growthRegimeText(a),
              "continuous (one-molecule nucleus, radius 0.50; rate 0.497 of continuous)");
}

TEST(GrowthRegime, EvaluationCarriesTheRegimeAndLeavesTheMechanismAlone) {
    const GrowthRecord record = recordOf(staircase(4000, 190, 10));
    const EvaluationInputs in = inputsFor(9);
    const RunEvaluation ev = Evaluate(record, in);
    EXPECT_EQ(ev.regime.regime, GrowthRegime::Nucleation);
    EXPECT_EQ(ev.regime.rateParts, assessGrowthRegime(record, in).rateParts);
    // The induction-ratio rule still names its own code from the same record.
    EXPECT_EQ(ev.mechanism, classifyMechanism(ev.inductionRatio));
    EXPECT_EQ(Evaluate(GrowthRecord{}, in).regime.regime, GrowthRegime::Undetermined);
    EXPECT_EQ(growthRegimeText(ev),
              "nucleation (nucleus radius 2.16 molecules; rate 0.104 of continuous)");
}

/// A plain run of the faces-only model on a 32 x 32 field until continuous growth
/// would have added `layers` layers (or `steps` steps when given).
GrowthRegimeAssessment simulate(double sigma, double dg, double P, double layers, long steps = 0) {
    Taus88 random;
    random.SeedForStart();
    GrowthEngine engine(random);
    const int side = 32;
    EXPECT_EQ(engine.InitRun(dg, sigma, static_cast<std::uint32_t>(P * 4294967295.0), 1, 1, 1, side,
                             side, 0, 0),
              InitStatus::Ok);
    if (steps == 0) steps = std::lround(layers / (P * (1 - std::exp(-dg))));
    GrowthRecord record;
    record.Reset(GrowthRecord::kGrowthIncrement,
                 RecordParameters::make(1, 1, side, side, P * side * side, 1));
    for (long s = 0; s < steps; ++s) {
        const StepResult r = engine.StepPlain();
        record.Append(1, r.meanHeight, r.roughness, 0, false);
    }
    return assessGrowthRegime(record, inputsFor(sigma, dg, P));
}

TEST(GrowthRegimeSlow, ThreeRealSimulations) {
    // Far above the roughening point: every arrival has a place to stay.
    const GrowthRegimeAssessment rough = simulate(1, 1, 0.05, 8);
    EXPECT_EQ(rough.regime, GrowthRegime::Continuous);
    EXPECT_EQ(rough.reason, RegimeReason::RoughFace);
    EXPECT_GT(rough.rateParts, 0.9);
    // Far below it with a nucleus of radius 1.5 molecules: a few per cent of continuous growth.
    const GrowthRegimeAssessment smooth = simulate(9, 1, 0.002, 5);
    EXPECT_EQ(smooth.regime, GrowthRegime::Nucleation);
    EXPECT_LT(smooth.rateParts, 0.2);
    // The fast face again, stopped after 80 steps: 53 judged steps are 1.7 layers.
    EXPECT_EQ(simulate(1, 1, 0.05, 0, 80).reason, RegimeReason::TooShort);
}

}  // namespace
}  // namespace quorvane
