#include "experiments/reduction.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quorvane {
namespace {

/// A series at the probabilities `x` whose every reduced quantity follows `f`.
std::vector<report> series(const std::vector<double>& x, double (*f)(double)) {
    std::vector<report> runs;
    for (double p : x) {
        report r;
        r.probIn = p;
        r.timeStep = 0.5;
        r.nRecords = 100;
        r.curLayer = 12;
        r.simTime = 7;
        r.time = 7.5;
        r.distance = 12.5;
        r.a = 0.6;
        r.dG = 1.5;
        r.porous = true;
        r.mechanism = 1;
        r.avRate = f(p);
        r.avRatePercent = 2 * f(p);
        r.timeToFillLayer = 3 * f(p);
        r.timeToBeginFill = 4 * f(p);
        r.partTimeToStart = 5 * f(p);
        r.roughness = 6 * f(p);
        r.porosity = 7 * f(p);
        runs.push_back(r);
    }
    return runs;
}

void expectQuantities(const RunRecord& r, double c0) {
    const double tolerance = 1e-9;
    EXPECT_NEAR(r.avRate, c0, tolerance);
    EXPECT_NEAR(r.avRatePercent, 2 * c0, tolerance);
    EXPECT_NEAR(r.timeToFillLayer, 3 * c0, tolerance);
    EXPECT_NEAR(r.timeToBeginFill, 4 * c0, tolerance);
    EXPECT_NEAR(r.partTimeToStart, 5 * c0, tolerance);
    EXPECT_NEAR(r.roughness, 6 * c0, tolerance);
    EXPECT_NEAR(r.porosity, 7 * c0, tolerance);
}

const std::vector<double> kProbabilities{0.004, 0.002, 0.001, 0.0015};

TEST(Reduce, RecoversTheZeroProbabilityValueOfEachModel) {
    expectQuantities(Reduce(series(kProbabilities, [](double x) { return 0.8 - 40 * x; })), 0.8);
    expectQuantities(Reduce(series(kProbabilities, [](double x) { return 0.8 + 9000 * x * x; })),
                     0.8);
    expectQuantities(
        Reduce(series(kProbabilities, [](double x) { return 0.8 - 3 * std::sqrt(x); })), 0.8);
}

TEST(Reduce, ClearsPerRunValuesAndKeepsThePhysicalData) {
    RunRecord r = Reduce(series(kProbabilities, [](double x) { return 1 + x; }));
    EXPECT_EQ(r.probIn, 0);
    EXPECT_EQ(r.timeStep, 0);
    EXPECT_EQ(r.nRecords, 0);
    EXPECT_EQ(r.curLayer, 0);
    EXPECT_EQ(r.simTime, 0);
    EXPECT_EQ(r.time, 0);
    EXPECT_EQ(r.distance, 0);
    EXPECT_EQ(r.a, 0.6);
    EXPECT_EQ(r.dG, 1.5);
    EXPECT_TRUE(r.porous);
    EXPECT_EQ(r.mechanism, 1);
}

TEST(Reduce, NegativeRoughnessAndPorosityMeanNone) {
    RunRecord r = Reduce(series(kProbabilities, [](double x) { return -0.1 + 100 * x; }));
    EXPECT_NEAR(r.avRate, -0.1, 1e-12);  // a rate may extrapolate below zero
    EXPECT_EQ(r.roughness, 0);
    EXPECT_EQ(r.porosity, 0);
}

TEST(Reduce, OneRecordOrOneProbabilityGivesTheMeasuredValues) {
    RunRecord single = Reduce(series({0.002}, [](double x) { return 0.5 + x; }));
    expectQuantities(single, 0.502);
    EXPECT_FALSE(std::isnan(single.avRate));

    std::vector<report> same = series({0.002, 0.002, 0.002}, [](double) { return 0.0; });
    same[0].avRate = 1;
    same[1].avRate = 2;
    same[2].avRate = 6;
    RunRecord r = Reduce(same);
    EXPECT_DOUBLE_EQ(r.avRate, 3);

    EXPECT_EQ(Reduce({}).probIn, 0);
    TwoTermFit none = fitTwoTerms({}, {}, [](double v) { return v; });
    EXPECT_EQ(none.c0, 0);
    EXPECT_EQ(none.residual, 0);
}

TEST(Reduce, BestFitWinsByResidual) {
    std::vector<double> x{0.001, 0.002, 0.003};
    std::vector<double> y{1, 2, 3.5};
    TwoTermFit line = fitTwoTerms(x, y, [](double v) { return v; });
    EXPECT_NEAR(line.c1, 1250, 1e-9);
    EXPECT_NEAR(line.residual, 1.0 / 24, 1e-12);
    TwoTermFit square = fitTwoTerms(x, y, [](double v) { return v * v; });
    EXPECT_LT(square.residual, line.residual);
    EXPECT_DOUBLE_EQ(extrapolateToZero(x, y), square.c0);
}

TEST(Reduce, TwoProbabilitiesKeepTheStraightLine) {
    // Every two-term model passes through two points; which residual is the
    // smallest is rounding noise and must not choose the extrapolation.
    std::vector<double> x{0.01, 0.02};
    std::vector<double> y{0.0134, 0.0847};
    TwoTermFit line = fitTwoTerms(x, y, [](double v) { return v; });
    EXPECT_NEAR(line.c0, -0.0579, 1e-12);
    EXPECT_EQ(extrapolateToZero(x, y), line.c0);
    EXPECT_EQ(extrapolateToZero({0.001, 0.002}, {0.0764, 0.0255}),
              fitTwoTerms({0.001, 0.002}, {0.0764, 0.0255}, [](double v) { return v; }).c0);
}

}  // namespace
}  // namespace quorvane
