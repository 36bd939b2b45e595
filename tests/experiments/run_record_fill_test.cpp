#include "experiments/run_record_fill.h"

#include <gtest/gtest.h>

#include "model/theory.h"
#include "model/unit_change.h"

namespace quorvane {
namespace {

ContactGeometry cube() {
    return *ContactGeometry::make(6, 6, 6, 0.25, 0.05);
}

TEST(FillRunRecord, ConvertsTheDataIntoTheLogUnits) {
    PhysicalData d = makeStartData();
    RunSettings run = makeStartRunSettings(d);
    Results results;
    FillRunRecord(results, d, run, cube());
    const RunRecord& r = results.current;
    EXPECT_DOUBLE_EQ(r.a, 0.6);  // 6 angstroms are 0.6 nm
    EXPECT_DOUBLE_EQ(r.T, 1600);
    EXPECT_DOUBLE_EQ(r.dHm, 20000);
    EXPECT_EQ(r.fieldW, 160);
    EXPECT_DOUBLE_EQ(r.probIn, run.Prob_in_at_step);
    // 1 ng/A^3 = 1e-9 g / 1e-24 cm^3 = 1e15 g/cm^3.
    EXPECT_NEAR(r.density / d.Density, 1e15, 1e3);
    // Enthalpy per cubic angstrom to per cubic nanometre: x 1000.
    EXPECT_NEAR(r.dH / d.Enthalpie, 1000, 1e-9);

    // Celsius and calories: the log still holds kelvin and joules.
    changeTemperatureScale(d, 1);
    changeEnergyUnit(d, 1);
    FillRunRecord(results, d, run, cube());
    EXPECT_NEAR(r.T, 1600, 1e-9);
    EXPECT_NEAR(r.To, 1700, 1e-9);
    EXPECT_NEAR(r.Ta, 1800, 1e-9);
    EXPECT_NEAR(r.dHm, 20000, 1e-9);
    EXPECT_NEAR(r.Ea, 340000, 1e-6);
    EXPECT_NEAR(r.surfaceEnergy, 1.2e-21 * 100, 1e-30);  // per nm^2
}

TEST(FillRunRecord, NucleusIncrementUsesTheFieldWidthTwice) {
    PhysicalData d = makeStartData();
    computeTheoryQuietly(d);
    RunSettings run = makeStartRunSettings(d);
    run.N_field_W = 10;
    run.N_field_H = 99;  // H does not enter
    Results results;
    FillRunRecord(results, d, run, cube());
    EXPECT_DOUBLE_EQ(results.nucleusArea, 3.14 * d.r_crit * d.r_crit);
    EXPECT_DOUBLE_EQ(results.nucleusIncrement, results.nucleusArea * 6 / ((10 * 6.0) * (10 * 6.0)));
    EXPECT_DOUBLE_EQ(results.current.Scbd, cube().adatomFraction);
    EXPECT_DOUBLE_EQ(results.current.Scbd1, cube().bottomFaceFraction);
}

TEST(FillRunRecord, EvaluationTimesUseTheRunsTimeFactor) {
    PhysicalData d = makeStartData();
    RunEvaluation e;
    e.steps = 10;
    e.fillMean = 120;  // seconds
    e.rateMean = 2;    // layers per second
    e.rateParts = 0.25;
    e.timeOfGrowth = 3e12;  // beyond an int: saturates
    RunRecord r;
    d.time = 3;  // minutes
    applyEvaluation(r, e, d, false);
    EXPECT_DOUBLE_EQ(r.timeToFillLayer, 2);
    EXPECT_DOUBLE_EQ(r.avRate, 2 * 6 * 0.1);  // layers/s x 0.6 nm
    EXPECT_DOUBLE_EQ(r.avRatePercent, 25);
    EXPECT_EQ(r.simTime, 2147483647);
    EXPECT_FALSE(r.porous);
}

}  // namespace
}  // namespace quorvane
