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
/// 0.05 layers per step. sigma' sets the theory's critical radius sigma' / (6 dG'),
/// which the regime no longer reads.
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

/// A smooth face's record: the heights with a small constant roughness.
GrowthRecord smooth(const std::vector<double>& heights, double roughness = 0.3) {
    return recordOf(heights, 1, std::vector<double>(heights.size(), roughness));
}

/// The same heights with the roughness of layers that fill one at a time: the
/// face is roughest when its top layer is half full.
GrowthRecord layered(const std::vector<double>& heights) {
    std::vector<double> roughness;
    for (double h : heights) {
        const double f = h - std::floor(h);
        roughness.push_back(std::sqrt(0.01 + f * (1 - f)));
    }
    return recordOf(heights, 1, roughness);
}

/// The rate part at which the estimated activation equals `activation` under dG' = g.
double rateAt(double activation, double g) {
    return roughFaceRateParts(g) / std::exp((activation - 0.31) / (0.74 + 0.23 * g));
}

TEST(GrowthRegime, SyntheticRecordsWithKnownAnswers) {
    // A rough face growing steadily at 0.9 of continuous growth.
    const GrowthRegimeAssessment rough = assessGrowthRegime(smooth(ramp(600, 0.045)), inputsFor(9));
    EXPECT_EQ(rough.regime, GrowthRegime::Continuous);
    EXPECT_EQ(rough.reason, RegimeReason::RoughFace);
    EXPECT_NEAR(rough.rateParts, 0.9, 1e-12);
    EXPECT_NEAR(rough.judgedLayers, 399 * 0.05, 1e-9);
    EXPECT_NEAR(rough.grownLayers, 399 * 0.045, 1e-9);
    EXPECT_EQ(rough.activation, 0);  // faster than a face at roughening: no activation
    EXPECT_NEAR(rough.roughness, 0.3, 1e-12);
    EXPECT_EQ(rough.layerOscillation, 0);

    // One layer per 200 steps, 0.1 of continuous growth: strongly activated...
    const std::vector<double> stairs = staircase(4000, 190, 10);
    const GrowthRegimeAssessment slow = assessGrowthRegime(smooth(stairs), inputsFor(9));
    EXPECT_EQ(slow.regime, GrowthRegime::Nucleation);
    EXPECT_EQ(slow.reason, RegimeReason::StrongActivation);
    EXPECT_NEAR(slow.rateParts, 0.1, 0.01);
    EXPECT_NEAR(slow.activation, rateActivation(slow.rateParts, std::log(2.0)), 1e-12);
    // ...and, with a roughness that rises and falls with each layer, seen to grow
    // layer by layer.
    const GrowthRegimeAssessment layers = assessGrowthRegime(layered(stairs), inputsFor(9));
    EXPECT_EQ(layers.reason, RegimeReason::LayerByLayer);
    EXPECT_GT(layers.layerOscillation, 0.95);

    // Layers filling one at a time decide even where the rate alone would say
    // intermediate; without them the rate decides.
    const std::vector<double> quicker = staircase(4000, 70, 10);  // rate 0.25
    EXPECT_EQ(assessGrowthRegime(layered(quicker), inputsFor(9)).reason,
              RegimeReason::LayerByLayer);
    EXPECT_EQ(assessGrowthRegime(smooth(quicker), inputsFor(9)).regime, GrowthRegime::Intermediate);

    // A slow face as rough as a face at its roughening point is not called nucleation.
    const GrowthRegimeAssessment roughSlow = assessGrowthRegime(smooth(stairs, 1.5), inputsFor(9));
    EXPECT_EQ(roughSlow.regime, GrowthRegime::Intermediate);
    EXPECT_EQ(roughSlow.reason, RegimeReason::RoughOnThisField);

    // A few steps only, however fast they grew.
    const GrowthRegimeAssessment few = assessGrowthRegime(recordOf(ramp(50, 1.0)), inputsFor(1));
    EXPECT_EQ(few.regime, GrowthRegime::Undetermined);
    EXPECT_EQ(few.reason, RegimeReason::TooFewEntries);
}

TEST(GrowthRegime, ShortRunsAndNoDriveAreUndetermined) {
    // 90 judged steps x 0.05 = 4.5 layers is enough; 30 x 0.05 = 1.5 is not.
    EXPECT_EQ(assessGrowthRegime(smooth(ramp(136, 0.045)), inputsFor(1)).regime,
              GrowthRegime::Continuous);
    const GrowthRegimeAssessment shortRun =
        assessGrowthRegime(smooth(ramp(200, 0.0)), inputsFor(9, std::log(2.0), 0.02));
    EXPECT_EQ(shortRun.regime, GrowthRegime::Undetermined);
    EXPECT_EQ(shortRun.reason, RegimeReason::TooShort);
    EXPECT_NEAR(shortRun.judgedLayers, 133 * 0.01, 1e-12);
    // 60 judged steps must add at least kRegimeMinJudgedLayers = 3 continuous layers;
    // a face that did not grow at all over them is as activated as can be.
    const GrowthRegimeAssessment still =
        assessGrowthRegime(smooth(ramp(91, 0.0)), inputsFor(9, std::log(2.0), 0.101));
    EXPECT_EQ(still.reason, RegimeReason::StrongActivation);
    EXPECT_EQ(still.activation, kMaxActivation);
    EXPECT_EQ(assessGrowthRegime(smooth(ramp(91, 0.0)), inputsFor(9, std::log(2.0), 0.099)).reason,
              RegimeReason::TooShort);

    for (double dg : {0.0, -0.5, std::nan("")}) {
        EXPECT_EQ(assessGrowthRegime(smooth(ramp(400, 0.01)), inputsFor(6, dg)).reason,
                  RegimeReason::NoDrivingForce)
            << dg;
    }
    EXPECT_EQ(assessGrowthRegime(smooth(ramp(400, 0.01)), inputsFor(6, 1, 0)).reason,
              RegimeReason::NoDrivingForce);
    // The theory's critical radius takes no part: the run's measurements decide.
    for (double radius : {0.0, 0.4, 0.75, 5.0}) {
        EvaluationInputs in = inputsFor(6);
        in.criticalRadius = radius;
        EXPECT_EQ(assessGrowthRegime(smooth(ramp(400, 0.0)), in).reason,
                  RegimeReason::StrongActivation)
            << radius;
    }
}

TEST(GrowthRegime, BoundariesOfTheRule) {
    // The estimated activation falls as the rate rises, from kMaxActivation for a
    // face that did not grow to 0 for one faster than a face at roughening.
    for (double g : {0.1, 0.35, 1.0, 3.0, 7.0}) {
        EXPECT_EQ(rateActivation(0, g), kMaxActivation);
        EXPECT_EQ(rateActivation(-0.1, g), kMaxActivation);
        EXPECT_NEAR(rateActivation(roughFaceRateParts(g), g), 0.31, 1e-12);
        EXPECT_LT(rateActivation(1.0, g), kContinuousActivation);
        EXPECT_EQ(rateActivation(2.0, g), 0);
        EXPECT_GT(rateActivation(0.1, g), rateActivation(0.2, g));
        EXPECT_EQ(rateActivation(1e-9, g), kMaxActivation);
    }
    // Activation 0.5 and 1.5 are the edges of the intermediate band, on any drive.
    const double layersPerStep = 0.05;  // continuous growth under inputsFor
    auto regimeAtRate = [&](double rate) {
        return assessGrowthRegime(smooth(ramp(900, rate * layersPerStep)), inputsFor(9)).regime;
    };
    const double g = std::log(2.0);
    EXPECT_EQ(regimeAtRate(rateAt(0.5, g) * 1.0001), GrowthRegime::Continuous);
    EXPECT_EQ(regimeAtRate(rateAt(0.5, g) * 0.9999), GrowthRegime::Intermediate);
    EXPECT_EQ(regimeAtRate(rateAt(1.5, g) * 1.0001), GrowthRegime::Intermediate);
    EXPECT_EQ(regimeAtRate(rateAt(1.5, g) * 0.9999), GrowthRegime::Nucleation);
    // Within the band the rate against a face at roughening names the reason.
    auto reasonAtRate = [&](double rate) {
        return assessGrowthRegime(smooth(ramp(900, rate * layersPerStep)), inputsFor(9)).reason;
    };
    EXPECT_EQ(reasonAtRate(0.61 * roughFaceRateParts(g)), RegimeReason::NearRoughening);
    EXPECT_EQ(reasonAtRate(0.59 * roughFaceRateParts(g)), RegimeReason::WeakActivation);

    // The rough-face rate: 0.29 at no drive, rising towards 1.
    EXPECT_NEAR(roughFaceRateParts(0), 0.29, 1e-12);
    EXPECT_NEAR(roughFaceRateParts(1), 0.5694, 1e-4);
    EXPECT_LT(roughFaceRateParts(2), roughFaceRateParts(3));
    // The rough-face roughness: the equilibrium width at roughening without drive,
    // wider on larger fields and under more drive, the drive counted up to 3.
    EXPECT_NEAR(roughFaceRoughness(64, 0), 0.788, 0.001);
    EXPECT_NEAR(roughFaceRoughness(64, 1), 1.09, 0.01);
    EXPECT_LT(roughFaceRoughness(32, 0.5), roughFaceRoughness(128, 0.5));
    EXPECT_LT(roughFaceRoughness(64, 2), roughFaceRoughness(64, 3));
    EXPECT_EQ(roughFaceRoughness(64, 3), roughFaceRoughness(64, 8));
    EXPECT_EQ(roughFaceRoughness(0, 0.5), roughFaceRoughness(2, 0.5));  // no field: no crash
}

TEST(GrowthRegime, ALongRecordIsReadAtAThousandEntries) {
    // 384150 entries, one read in each window of 250, 50 entries per layer of which
    // 10 fill it: every 250th entry would always meet a waiting layer and see no
    // oscillation, but the samples fall all over a layer's cycle.
    const std::vector<double> heights = staircase(384'150, 40, 10);
    const GrowthRegimeAssessment a = assessGrowthRegime(layered(heights), inputsFor(9));
    EXPECT_EQ(a.reason, RegimeReason::LayerByLayer);
    EXPECT_GT(a.layerOscillation, 0.9);
    EXPECT_NEAR(a.roughness, std::sqrt(0.01), 0.2);
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
    a = testing::stronglyActivatedNucleation();
    EXPECT_EQ(growthRegimeEvidence(a),
              "strongly activated: activation 1.90, rate 0.168 (0.665 at roughening), roughness "
              "0.59 (1.30 at roughening), layer oscillation 0.07, 3.4 layers grown");
    EXPECT_EQ(growthRegimeText(a), "nucleation (" + growthRegimeEvidence(a) + ")");
    a.regime = GrowthRegime::Intermediate;
    a.reason = RegimeReason::NearRoughening;
    EXPECT_EQ(growthRegimeText(a).substr(0, 40), "intermediate (near the roughening point:");
    EXPECT_STREQ(growthRegimeReason(RegimeReason::RoughOnThisField),
                 "activated yet rough on this field");
    EXPECT_STREQ(growthRegimeReason(RegimeReason::LayerByLayer), "layer by layer");
}

TEST(GrowthRegime, EvaluationCarriesTheRegimeAndLeavesTheMechanismAlone) {
    const GrowthRecord record = layered(staircase(4000, 190, 10));
    const EvaluationInputs in = inputsFor(9);
    const RunEvaluation ev = Evaluate(record, in);
    EXPECT_EQ(ev.regime.regime, GrowthRegime::Nucleation);
    EXPECT_EQ(ev.regime.rateParts, assessGrowthRegime(record, in).rateParts);
    // The induction-ratio rule still names its own code from the same record.
    EXPECT_EQ(ev.mechanism, classifyMechanism(ev.inductionRatio));
    EXPECT_EQ(Evaluate(GrowthRecord{}, in).regime.regime, GrowthRegime::Undetermined);
    EXPECT_EQ(growthRegimeText(ev).substr(0, 28), "nucleation (layer by layer: ");
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
    // Far below it: a few per cent of continuous growth, strongly activated.
    const GrowthRegimeAssessment smooth = simulate(9, 1, 0.002, 5);
    EXPECT_EQ(smooth.regime, GrowthRegime::Nucleation);
    EXPECT_LT(smooth.rateParts, 0.2);
    // Two units above it the step free energy is small: weakly activated growth
    // (a measured d ln R / d ln dG' of 1.1 on 64 x 64), whatever the bond energy says.
    const GrowthRegimeAssessment between = simulate(7, 1, 0.005, 10);
    EXPECT_EQ(between.regime, GrowthRegime::Intermediate);
    EXPECT_EQ(between.reason, RegimeReason::WeakActivation);
    // The fast face again, stopped after 80 steps: 53 judged steps are 1.7 layers.
    EXPECT_EQ(simulate(1, 1, 0.05, 0, 80).reason, RegimeReason::TooShort);
}

}  // namespace
}  // namespace quorvane
