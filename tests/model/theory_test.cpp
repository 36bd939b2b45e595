#include <gtest/gtest.h>

#include <cmath>

#include "model/temperature_sweep.h"
#include "model/theory.h"
#include "model_fixtures.h"

namespace quorvane {
namespace {

using testing::ModelFixture;

TEST(StartData, DerivedFromTheDefaults) {
    PhysicalData d = makeStartData();
    EXPECT_EQ(d.Volume, 216);
    EXPECT_EQ(d.Surface, 216);
    EXPECT_EQ(d.Enthalpie, 20000 / (216 * kAvogadro));
    EXPECT_EQ(d.Density, 300 * 1e9 / (216 * kAvogadro));
    EXPECT_DOUBLE_EQ(d.Concentration, std::exp(-(20000 / kGasConstant) * 100 / (1700.0 * 1800)));
    EXPECT_DOUBLE_EQ(d.Frequency_of_Jumps, 2.099e14 * std::exp(-340000 / (kGasConstant * 1600)));
    EXPECT_DOUBLE_EQ(d.General_Surface_Energy, 216 * 1.2e-21 / (1600 * kBoltzmann));
    EXPECT_GT(d.General_Suupercooling, 0);
    EXPECT_EQ(d.defined, 1);
    EXPECT_EQ(d.Va_continues, 1);
    EXPECT_EQ(d.V_cont_c, 1);
    EXPECT_EQ(d.nu0_b, 2.099e14);
    EXPECT_DOUBLE_EQ(d.nu_s, d.Frequency_of_Jumps);
    // The shape numbers are their texts' from the start: a first run before any
    // Update or file uses the "1 : 0.25 : 0.05" the panel shows, as every later run does.
    EXPECT_EQ(d.edgesRatio, 0.25);
    EXPECT_EQ(d.verticesRatio, 0.05);
    EXPECT_EQ(d.bondLength, 1.0);
    EXPECT_EQ(d.Characterictic_length_of_bond, "1.0");
    EXPECT_EQ(d.units(), d.previous);
    EXPECT_EQ(d.Chart_show_curves, (std::array<int, 3>{1, 0, 1}));
    EXPECT_EQ(d.accuracy, 4);

    RunSettings run = makeStartRunSettings(d);
    EXPECT_EQ(run.N_field_W, 160);
    EXPECT_DOUBLE_EQ(run.N_in_per_step, 0.000217 * 160 * 160);
    EXPECT_DOUBLE_EQ(run.Time_step, 0.000217 / d.nu_s);
}

TEST(Theory, LiquidusTemperatureGivesNoGrowth) {
    ModelFixture f;
    f.data.Temperature = f.data.Temperature_of_Liquidus;
    ASSERT_TRUE(computeTheory(f.data, f.platform));
    EXPECT_EQ(f.data.General_Suupercooling, 0);
    EXPECT_EQ(f.data.F, 0);
    EXPECT_EQ(f.data.Va_continues, 0);
    EXPECT_EQ(f.data.V_cont_b, 0);
    EXPECT_EQ(f.data.Va_spiral, 0);
    EXPECT_EQ(f.data.Va_nuclei, 0);
    EXPECT_DOUBLE_EQ(f.data.r_crit, 1 / (1 + 0.25 + 0.05) * 1e-60);
    EXPECT_TRUE(f.platform.messages.empty());
}

TEST(Theory, AboveTheLiquidusDissolves) {
    ModelFixture f;
    f.data.Temperature = 1750;
    ASSERT_TRUE(computeTheory(f.data, f.platform));
    EXPECT_LT(f.data.General_Suupercooling, 0);
    EXPECT_LT(f.data.Va_continues, 0);
    EXPECT_EQ(f.data.Va_spiral, f.data.Va_continues);
    EXPECT_TRUE(std::isfinite(f.data.Va_nuclei));
    // Just above the liquidus the nucleation factor overflows; the rate stays a number.
    f.data.Temperature = 1700.000001;
    ASSERT_TRUE(computeTheory(f.data, f.platform));
    EXPECT_EQ(f.data.Va_nuclei, f.data.Va_continues);
    EXPECT_LT(f.data.Va_continues, 0);
}

TEST(Theory, GrowthBelowTheLiquidus) {
    ModelFixture f;
    ASSERT_TRUE(computeTheory(f.data, f.platform));
    PhysicalData& d = f.data;
    EXPECT_GT(d.Va_continues, 0);
    EXPECT_DOUBLE_EQ(d.Va_continues, d.nu_a * d.Size_A * (1 - std::exp(-d.General_Suupercooling)));
    EXPECT_LE(d.Va_spiral, d.Va_continues);
    EXPECT_LE(d.Va_nuclei, d.Va_continues);
    EXPECT_GT(d.r_crit, 0);
    // A cube grows alike in all three directions.
    EXPECT_EQ(d.Va_kes, d.Vb_kes);
    EXPECT_EQ(d.Vb_kes, d.Vc_kes);
    EXPECT_EQ(d.ratio_ab, 1);
    EXPECT_EQ(d.V_max, d.Va_kes);
    EXPECT_EQ(d.T_at_V_max, 1600);
    // A cooler run does not lower the maximum already seen.
    double vMax = d.V_max;
    d.Temperature = 1690;
    ASSERT_TRUE(computeTheory(d, f.platform));
    if (d.Va_kes < vMax) {
        EXPECT_EQ(d.V_max, vMax);
    }
}

TEST(Theory, TooCloseToAbsoluteZeroChangesNothing) {
    ModelFixture f;
    for (double T : {0.0, 1e-10, -5.0}) {
        f.data.Temperature = T;
        PhysicalData before = f.data;
        EXPECT_FALSE(computeTheory(f.data, f.platform));
        EXPECT_EQ(f.data, before);
    }
    f.data.Temperature = 1600;
    f.data.Temperature_of_Liquidus = 0;  // a liquidus at 0 K would divide by zero just the same
    PhysicalData before = f.data;
    EXPECT_FALSE(computeTheory(f.data, f.platform));
    EXPECT_EQ(f.data, before);
    ASSERT_EQ(f.platform.messages.size(), 4u);
    EXPECT_EQ(f.platform.messages[0], "Temperatura is too close to absolute zerro.");
}

TEST(JumpFrequencies, CubeWithDefaultFrequency) {
    ModelFixture f;
    f.data.Is_Frequency_of_Vibrations_Set_Default = 1;
    computeJumpFrequencies(f.data);
    double C = 1 * (1000 / (2 * kPi)) / 1e-10;
    EXPECT_DOUBLE_EQ(f.data.nu0_a, C / 6);
    EXPECT_EQ(f.data.nu0_a, f.data.nu0_b);
    EXPECT_EQ(f.data.nu0_a, f.data.nu0_c);
    EXPECT_EQ(f.data.Frequency_of_Vibrations, f.data.nu0_a);
    EXPECT_EQ(f.data.Frequency_of_Jumps, f.data.B * f.data.nu0_a);

    // Without the flag every direction takes the user's nu0.
    f.data.Is_Frequency_of_Vibrations_Set_Default = 0;
    f.data.Frequency_of_Vibrations = 5e13;
    f.data.Size_B = 12;
    computeJumpFrequencies(f.data);
    EXPECT_EQ(f.data.nu0_b, 5e13);
    EXPECT_DOUBLE_EQ(f.data.k_a, 6 / std::sqrt(72.0));
    EXPECT_EQ(f.data.nu_b, f.data.B * 5e13);

    // Sizes at the edge of nothing fall back to unit shape factors.
    f.data.Size_C = 1e-21;
    computeJumpFrequencies(f.data);
    EXPECT_EQ(f.data.k_c, 1);
}

TEST(Concentration, LiquidusAtOrAboveMeltIsSaturated) {
    ModelFixture f;
    f.data.Temperature_of_Melt = 1700;
    concentrationFromLiquidus(f.data);
    EXPECT_EQ(f.data.Concentration, 1);
    f.data.concentration = f.data.previous.concentration = 1;
    f.data.Temperature_of_Melt = 1650;
    concentrationFromLiquidus(f.data);
    EXPECT_EQ(f.data.Concentration, 100);
    // And back: the liquidus of a given concentration, in the current scale.
    f.data.Temperature_of_Melt = 1800;
    concentrationFromLiquidus(f.data);
    EXPECT_NEAR(liquidusFromConcentration(f.data, concentrationFraction(f.data)), 1700, 1e-9);
    f.data.Molecular_Enthaphie = 0;
    EXPECT_EQ(liquidusFromConcentration(f.data, 1.0), 1800);
    f.data.Temperature_of_Melt = 0;
    EXPECT_EQ(liquidusFromConcentration(f.data, 0.5), 0);
}

TEST(Halvik, LateralSharesOfACube) {
    LateralShareResult plain = LateralShares(1, 1, 1, 0, 0);
    EXPECT_DOUBLE_EQ(plain.lambda2, 2.0 / 3);
    EXPECT_DOUBLE_EQ(plain.lambda1, 2.0 / 3);
    LateralShareResult weighted = LateralShares(6, 6, 6, 0.25, 0.05);
    double D = 1.3;
    EXPECT_DOUBLE_EQ(weighted.lambda2, 1 - 1 / D / 3);
    EXPECT_DOUBLE_EQ(weighted.lambda1, 1 - 1 / D / 3 - 0.25 / D * 2 / 3 - 0.05 / D);
}

TEST(Halvik, UndefinedPredictionsKeepRoughnessAndPorosity) {
    // Dissolution far faster than any growth.
    HalvikResult fast = HalvikPrediction(-30, 1, 0.6, 0.7, 7, 0.3);
    EXPECT_FALSE(fast.defined);
    EXPECT_EQ(fast.K, 0);
    EXPECT_EQ(fast.roughness, 7);
    EXPECT_EQ(fast.porosity, 0.3);
    // No surface energy and dissolution: the fit gives no number.
    HalvikResult flat = HalvikPrediction(-0.5, 0, 0.6, 0.7, 1, 0);
    EXPECT_FALSE(flat.defined);
    EXPECT_EQ(flat.K, 0);
    // Dissolution inside the nucleation regime.
    HalvikResult nucleation = HalvikPrediction(-0.01, 8, 0.6, 0.7);
    EXPECT_FALSE(nucleation.defined);
    EXPECT_TRUE(std::isfinite(nucleation.roughness));
    // Growth with no surface energy is plain kinetic growth.
    HalvikResult kinetic = HalvikPrediction(2, 0, 0.6, 0.7);
    EXPECT_TRUE(kinetic.defined);
    EXPECT_EQ(kinetic.K, 1);
}

TEST(Halvik, RegimesOfTheRateFactor) {
    // sigma' = 8: Gc is about 1.76 and Gk about 7.29.
    double s2 = 8 * 0.7;
    HalvikResult low = HalvikPrediction(0.5, 8, 0.6, 0.7);
    HalvikResult mid = HalvikPrediction(4, 8, 0.6, 0.7);
    HalvikResult high = HalvikPrediction(50, 8, 0.6, 0.7);
    ASSERT_TRUE(low.defined && mid.defined && high.defined);
    EXPECT_LT(low.K, mid.K);
    EXPECT_LT(mid.K, 1);
    EXPECT_EQ(high.K, 1);
    double Gk = kGoldenRatio * std::sqrt(s2) + s2 / kGoldenRatio;
    EXPECT_EQ(HalvikPrediction(Gk, 8, 0.6, 0.7).K, 1);
    for (const HalvikResult& r : {low, mid, high}) {
        EXPECT_GT(r.roughness, 0);
        EXPECT_GE(r.porosity, 0);
        EXPECT_LE(r.porosity, 1);
    }
}

TEST(Theory, PorosityInPercentAndRatioGuards) {
    ModelFixture f;
    computeTheory(f.data, f.platform);
    double porosity = f.data.Pf_a_kes;
    f.data.concentration = 1;
    computeTheory(f.data, f.platform);
    EXPECT_DOUBLE_EQ(f.data.Pf_a_kes, 100 * porosity);

    // A direction without growth leaves its ratios at 1.
    f.data.General_Surface_Energy = 1e3;
    computeTheory(f.data, f.platform);
    EXPECT_EQ(f.data.Vb_kes, 0);
    EXPECT_EQ(f.data.ratio_ab, 1);
    EXPECT_EQ(f.data.ratio_cb, 1);
    EXPECT_EQ(f.data.defined, 0);
    EXPECT_EQ(f.data.definedDirections, (std::array<int, 3>{0, 0, 0}));
}

TEST(Theory, ZeroSurfaceEnergyStaysFinite) {
    ModelFixture f;
    f.data.Surface_Energy = 0;
    for (double T : {1600.0, 1700.0, 1750.0}) {
        f.data.Temperature = T;
        ASSERT_TRUE(computeTheory(f.data, f.platform));
        EXPECT_TRUE(std::isfinite(f.data.Va_spiral)) << T;
        EXPECT_TRUE(std::isfinite(f.data.Va_nuclei)) << T;
        EXPECT_EQ(f.data.Va_spiral, f.data.Va_continues) << T;
    }
}

TEST(TemperatureSweep, FromTheLiquidusDownOnACopy) {
    ModelFixture f;
    computeTheory(f.data, f.platform);
    const PhysicalData before = f.data;
    TemperatureSweep sweep = sweepTemperatures(f.data, 10);
    EXPECT_EQ(f.data, before);
    ASSERT_EQ(sweep.temperature.size(), 11u);
    EXPECT_EQ(sweep.temperature.front(), 1700);
    EXPECT_DOUBLE_EQ(sweep.temperature.back(), 1700 * 0.7);
    EXPECT_DOUBLE_EQ(sweep.temperature[5], 1700 - 5 * (1700 - 1190) / 10.0);
    for (const HalvikCurve& curve : sweep.curves) {
        EXPECT_LE(curve.definedCount(), 11);
        EXPECT_EQ(curve.roughness.size(), curve.rate.size());
        EXPECT_EQ(curve.porosity.size(), curve.rate.size());
    }
    ASSERT_GT(sweep.curves[0].definedCount(), 1);
    EXPECT_EQ(sweep.curves[0].rate.front(), 0);  // no growth at the liquidus
    EXPECT_GT(sweep.vMax, 0);
    EXPECT_GE(sweep.tAtVMax, 1190);

    // The point at the data's own temperature matches the panel's theory.
    PhysicalData at = f.data;
    at.Paint_temp_curve_with_zoom = 1600.0 / 1700;
    TemperatureSweep one = sweepTemperatures(at, 1);
    ASSERT_EQ(one.curves[0].definedCount(), 2);
    EXPECT_DOUBLE_EQ(one.curves[0].rate[1], before.Va_kes);

    EXPECT_TRUE(sweepTemperatures(f.data, 0).temperature.empty());
}

TEST(TemperatureSweep, StopsAtTheFirstUndefinedPoint) {
    ModelFixture f;
    f.data.Surface_Energy = 1e-20;  // sigma' so high that cooling soon loses the prediction
    TemperatureSweep sweep = sweepTemperatures(f.data, 20);
    int shortest = sweep.curves[0].definedCount();
    EXPECT_LT(shortest, 21);
    EXPECT_LE(sweep.temperature.size(), 21u);
    f.data.Temperature_of_Liquidus = 0;
    EXPECT_TRUE(sweepTemperatures(f.data, 5).temperature.empty());
    EXPECT_TRUE(f.platform.messages.empty());
}

}  // namespace
}  // namespace quorvane
