#include <gtest/gtest.h>

#include <cmath>

#include "engine/transition_rates.h"
#include "model/probabilities.h"
#include "model_fixtures.h"

namespace quorvane {
namespace {

using testing::ModelFixture;

TEST(Probabilities, FullAndEmptyIncorporation) {
    ModelFixture f;
    f.run.N_in_per_step = f.run.N_field_W * f.run.N_field_H;
    EXPECT_TRUE(recomputeProbabilityAndTimeStep(f.run, f.data));
    EXPECT_EQ(f.run.Prob_in_at_step, 1);
    EXPECT_EQ(makeEngineInputs(f.data, f.run)->Pint, 4294967295u);
    EXPECT_DOUBLE_EQ(f.run.Time_step, 1 / f.data.nu_s);

    f.run.N_in_per_step = 0;
    EXPECT_TRUE(recomputeProbabilityAndTimeStep(f.run, f.data));
    EXPECT_EQ(f.run.Prob_in_at_step, 0);
    EXPECT_EQ(f.run.Time_step, 0);
    EXPECT_EQ(makeEngineInputs(f.data, f.run)->Pint, 0u);
}

TEST(Probabilities, ThresholdIsClampedAndRefusesNaN) {
    EXPECT_EQ(probabilityThreshold(0.5), 2147483647u);
    EXPECT_EQ(probabilityThreshold(1.5), 4294967295u);
    EXPECT_EQ(probabilityThreshold(-0.1), 0u);
    EXPECT_EQ(probabilityThreshold(INFINITY), 4294967295u);
    EXPECT_FALSE(probabilityThreshold(NAN).has_value());
    ModelFixture f;
    f.run.Prob_in_at_step = NAN;
    EXPECT_FALSE(makeEngineInputs(f.data, f.run).has_value());
}

TEST(Probabilities, EngineInputsComeFromTheData) {
    ModelFixture f;
    f.data.Size_B = 7;
    EngineInputs in = *makeEngineInputs(f.data, f.run);
    EXPECT_EQ(in.E0, f.data.General_Suupercooling);
    EXPECT_EQ(in.E8, f.data.General_Surface_Energy);
    EXPECT_EQ(in.Pint, static_cast<std::uint32_t>(f.run.Prob_in_at_step * 4294967295.0));
    EXPECT_EQ(in.b, 7);
    EXPECT_EQ(in.W, 160);
    EXPECT_EQ(in.edgeWeight, 0.25);
    EXPECT_EQ(in.vertexWeight, 0.05);
}

TEST(Probabilities, NoFieldOrNoJumpsKeepsTheOldValues) {
    ModelFixture f;
    RunSettings before = f.run;
    f.run.N_field_W = 0;
    EXPECT_FALSE(recomputeProbabilityAndTimeStep(f.run, f.data));
    EXPECT_EQ(f.run.Prob_in_at_step, before.Prob_in_at_step);
    f.run.N_field_W = 160;
    f.data.nu_s = 0;
    EXPECT_FALSE(recomputeProbabilityAndTimeStep(f.run, f.data));
    EXPECT_EQ(f.run.Time_step, before.Time_step);
    EXPECT_FALSE(timeStepFor(0, f.data).has_value());
}

TEST(FrequencyChart, FlatWithoutDrivingForceOrSurfaceEnergy) {
    FrequencyChart chart = makeFrequencyChart(0, 0, 0.3, 0.7, 11);
    ASSERT_EQ(chart.frequency.size(), 11u);
    for (double value : chart.frequency) EXPECT_EQ(value, 1);
    EXPECT_EQ(chart.yMin, 0.9);
    EXPECT_EQ(chart.yMax, 1.1);
    EXPECT_EQ(chart.contactPercent.back(), 100);
    EXPECT_EQ(chart.lineAt, 1.0);
    EXPECT_EQ(chart.lineLabel, "Frequency to jump in");
    EXPECT_EQ(chart.soleMolecule.label, "Frequency out of sole molecule on flat surface = 1");
    EXPECT_EQ(chart.flatSurface.label, "Frequency out from flat surface = 1");
    EXPECT_DOUBLE_EQ(chart.flatSurface.x, 70);
    EXPECT_EQ(chart.xTitle, "Part of a molecule on surface in direct contact with crystal, (%)");
    ASSERT_EQ(chart.yTitleLines.size(), 3u);
    EXPECT_EQ(chart.yTitleLines[2], "(frequency to be in = 1.0)");
}

TEST(FrequencyChart, CurveCrossesOneWhereContactBalancesSupercooling) {
    double G = 0.5, s = 4;
    FrequencyChart chart = makeFrequencyChart(G, s, 0.25, 0.75, 101);
    EXPECT_DOUBLE_EQ(chart.yMin, std::exp(-s - G));
    EXPECT_DOUBLE_EQ(chart.yMax, std::exp(s - G));
    double crossing = 0.5 - G / (2 * s);  // 0.4375
    EXPECT_GT(chart.frequency[43], 1);
    EXPECT_LT(chart.frequency[44], 1);
    EXPECT_NEAR(std::exp((1 - 2 * crossing) * s - G), 1, 1e-15);
    EXPECT_DOUBLE_EQ(chart.soleMolecule.y, std::exp(0.5 * s - G));
    EXPECT_EQ(chart.soleMolecule.label, "Frequency out of sole molecule on flat surface = 4.48169");
}

TEST(ProbabilityChart, TheEnginesSharesAlongTheContactCount) {
    std::uint32_t Pint = 1000000;
    ProbabilityChart chart = makeProbabilityChart(0.1, 6, Pint, 8, 0.375, 0.125);
    ASSERT_EQ(chart.outProbability.size(), 8u);
    RateConstants k = RateConstants::make(0.1, 6, Pint);
    for (int count = 0; count < 8; ++count) {
        CellProbabilities p = CellProbabilities::make(k, count / 8.0, count / 8.0);
        EXPECT_EQ(chart.outProbability[count], p.leaveShare());
        EXPECT_EQ(chart.inProbability[count], p.growShare());
        EXPECT_GE(chart.outProbability[count], chart.yMin);
        EXPECT_LE(chart.inProbability[count], chart.yMax);
    }
    EXPECT_GT(chart.outProbability.front(), chart.outProbability.back());
    double flat = CellProbabilities::make(k, 0.375, 0.375).leaveShare();
    EXPECT_EQ(chart.flatSurface.y, flat);
    char expected[100];
    std::snprintf(expected, sizeof expected, "molecule on flat surface (%.4g)", flat);
    EXPECT_EQ(chart.flatSurface.label, expected);
    EXPECT_EQ(chart.topOfSingle.label.rfind("molecule on top of single molecule (", 0), 0u);
    EXPECT_EQ(chart.outTitle, "Probability out per step");
    EXPECT_EQ(chart.inTitle, "Probability in per step");
    EXPECT_TRUE(makeProbabilityChart(0.1, 6, Pint, 0, 0.3, 0.1).outProbability.empty());
}

}  // namespace
}  // namespace quorvane
