#include <gtest/gtest.h>

#include "model/unit_change.h"
#include "model_fixtures.h"

namespace quorvane {
namespace {

using testing::ModelFixture;

const RangeRescale* findKind(const UnitChangeEffect& effect, int kind) {
    for (const RangeRescale& range : effect.planRanges) {
        if (range.kind == kind) return &range;
    }
    return nullptr;
}

TEST(UnitChange, AngstromToNanometre) {
    ModelFixture f;
    PhysicalData before = f.data;
    UnitChangeEffect effect = changeLengthUnit(f.data, 1);
    EXPECT_DOUBLE_EQ(f.data.Size_A, 0.6);
    EXPECT_DOUBLE_EQ(f.data.Size_C, 0.6);
    EXPECT_DOUBLE_EQ(f.data.Volume, 0.216);
    EXPECT_DOUBLE_EQ(f.data.Surface, 2.16);
    EXPECT_DOUBLE_EQ(f.data.Surface_Energy, 1.2e-19);
    EXPECT_DOUBLE_EQ(f.data.Density, before.Density * 1000);
    EXPECT_DOUBLE_EQ(f.data.Enthalpie, before.Enthalpie * 1000);
    EXPECT_DOUBLE_EQ(f.data.bondLength, 0.1);
    EXPECT_EQ(f.data.Characterictic_length_of_bond, "0.1");
    EXPECT_EQ(f.data.Molecular_Enthaphie, before.Molecular_Enthaphie);
    EXPECT_EQ(f.data.dimension, 1);
    EXPECT_EQ(f.data.previous.dimension, 1);

    ASSERT_EQ(effect.planRanges.size(), 3u);
    EXPECT_DOUBLE_EQ(findKind(effect, kPlanKindVolumeEnthalpy)->factor, 1000);
    EXPECT_DOUBLE_EQ(findKind(effect, kPlanKindSurfaceEnergy)->factor, 100);
    EXPECT_DOUBLE_EQ(findKind(effect, kPlanKindVolume)->factor, 1e-3);
    EXPECT_EQ(findKind(effect, kPlanKindVolume)->temperatureFrom, -1);
    EXPECT_TRUE(effect.chartLabelsInvalidated);

    // Large factors print with a compact exponent in the bond-length text.
    changeLengthUnit(f.data, 5);
    EXPECT_EQ(f.data.Characterictic_length_of_bond, "1e-10");
}

TEST(UnitChange, EnergyUnitsWithAndWithoutCalories) {
    ModelFixture f;
    PhysicalData before = f.data;
    UnitChangeEffect effect = changeEnergyUnit(f.data, 3);  // joule -> kilocalorie
    EXPECT_DOUBLE_EQ(f.data.Molecular_Enthaphie, before.Molecular_Enthaphie / 4184);
    EXPECT_DOUBLE_EQ(f.data.Activation_Energy, before.Activation_Energy / 4184);
    EXPECT_DOUBLE_EQ(f.data.Surface_Energy, before.Surface_Energy / 4184);
    EXPECT_DOUBLE_EQ(f.data.Enthalpie, before.Enthalpie / 4184);
    EXPECT_DOUBLE_EQ(f.data.R, kGasConstant / 4184);
    ASSERT_EQ(effect.planRanges.size(), 2u);
    EXPECT_DOUBLE_EQ(findKind(effect, kPlanKindVolumeEnthalpy)->factor, 1.0 / 4184);
    EXPECT_DOUBLE_EQ(findKind(effect, kPlanKindSurfaceEnergy)->factor, 1.0 / 4184);
    EXPECT_FALSE(effect.chartLabelsInvalidated);

    PhysicalData inKcal = f.data;
    changeEnergyUnit(f.data, 1);  // kilocalorie -> calorie: the power of ten alone
    EXPECT_DOUBLE_EQ(f.data.Molecular_Enthaphie, inKcal.Molecular_Enthaphie * 1000);
    changeEnergyUnit(f.data, 0);  // calorie -> joule
    EXPECT_DOUBLE_EQ(f.data.Molecular_Enthaphie, inKcal.Molecular_Enthaphie * 4184);
    EXPECT_DOUBLE_EQ(f.data.Molecular_Enthaphie, before.Molecular_Enthaphie);
    changeEnergyUnit(f.data, 4);
    EXPECT_DOUBLE_EQ(f.data.Activation_Energy, before.Activation_Energy * 1e7);
}

TEST(UnitChange, SecondsToMinutesFollowsFrequenciesAndTimeStep) {
    ModelFixture f;
    PhysicalData before = f.data;
    RunSettings run = f.run;
    UnitChangeEffect effect = changeTimeUnit(f.data, f.run, 3);
    EXPECT_DOUBLE_EQ(f.data.Frequency_of_Vibrations, before.Frequency_of_Vibrations * 60);
    EXPECT_DOUBLE_EQ(f.data.Frequency_of_Jumps, before.Frequency_of_Jumps * 60);
    EXPECT_DOUBLE_EQ(f.data.nu_s, before.nu_s);
    EXPECT_DOUBLE_EQ(f.run.Prob_in_at_step, run.Prob_in_at_step);
    EXPECT_DOUBLE_EQ(f.run.Time_step, run.Time_step / 60);
    EXPECT_TRUE(effect.planRanges.empty());
}

TEST(UnitChange, WeightChangesOnlyTheDensity) {
    ModelFixture f;
    PhysicalData expected = f.data;
    expected.Density *= 1e-9;
    expected.weight = expected.previous.weight = 3;
    EXPECT_TRUE(changeWeightUnit(f.data, 3).planRanges.empty());
    EXPECT_EQ(f.data, expected);
}

TEST(UnitChange, KelvinToFahrenheitAndBack) {
    ModelFixture f;
    UnitChangeEffect effect = changeTemperatureScale(f.data, 2);
    EXPECT_NEAR(f.data.Temperature, 2420.33, 1e-9);
    EXPECT_NEAR(f.data.Temperature_of_Liquidus, 2600.33, 1e-9);
    EXPECT_NEAR(f.data.Temperature_of_Melt, 2780.33, 1e-9);
    ASSERT_EQ(effect.planRanges.size(), 1u);
    EXPECT_EQ(effect.planRanges[0].kind, kPlanKindTemperature);
    EXPECT_EQ(effect.planRanges[0].temperatureFrom, 0);
    EXPECT_EQ(effect.planRanges[0].temperatureTo, 2);
    changeTemperatureScale(f.data, 0);
    EXPECT_NEAR(f.data.Temperature, 1600, 1e-9);
    EXPECT_NEAR(f.data.Temperature_of_Melt, 1800, 1e-9);
}

TEST(UnitChange, PartsToPercent) {
    ModelFixture f;
    double c = f.data.Concentration;
    UnitChangeEffect effect = changeConcentrationUnit(f.data, 1);
    EXPECT_DOUBLE_EQ(f.data.Concentration, 100 * c);
    ASSERT_EQ(effect.planRanges.size(), 3u);
    for (int kind : {kPlanKindConcentration, kPlanKindRatioAB, kPlanKindRatioCB}) {
        ASSERT_NE(findKind(effect, kind), nullptr);
        EXPECT_DOUBLE_EQ(findKind(effect, kind)->factor, 100);
    }
}

TEST(UnitChange, SameOrUnknownUnitChangesNothing) {
    ModelFixture f;
    const PhysicalData before = f.data;
    const RunSettings run = f.run;
    for (int index : {0, -1, 6, 99}) {
        UnitChangeEffect effect = changeLengthUnit(f.data, index);
        EXPECT_TRUE(effect.planRanges.empty());
        EXPECT_FALSE(effect.chartLabelsInvalidated);
    }
    changeWeightUnit(f.data, 0);
    changeWeightUnit(f.data, 5);
    changeEnergyUnit(f.data, 0);
    changeEnergyUnit(f.data, -3);
    changeTemperatureScale(f.data, 0);
    changeTemperatureScale(f.data, 3);
    changeTimeUnit(f.data, f.run, 4);
    changeTimeUnit(f.data, f.run, 9);
    changeConcentrationUnit(f.data, 0);
    changeConcentrationUnit(f.data, 2);
    EXPECT_TRUE(changeUnitSystem(f.data, f.run, 0).planRanges.empty());  // already SI
    EXPECT_TRUE(changeUnitSystem(f.data, f.run, 3).planRanges.empty());
    EXPECT_EQ(f.data, before);
    EXPECT_EQ(f.run, run);
}

TEST(UnitChange, CgsFromTheStartState) {
    ModelFixture f;
    PhysicalData before = f.data;
    UnitChangeEffect effect = changeUnitSystem(f.data, f.run, kSystemCgs);
    EXPECT_DOUBLE_EQ(f.data.Size_A, 6e-8);
    EXPECT_EQ(f.data.Temperature, before.Temperature);
    EXPECT_EQ(f.data.Temperature_of_Liquidus, before.Temperature_of_Liquidus);
    EXPECT_DOUBLE_EQ(f.data.Molecular_Enthaphie, before.Molecular_Enthaphie * 1e7);
    EXPECT_DOUBLE_EQ(f.data.Density, before.Density * 1e24 * 1e-9);
    UnitSelections cgs{kSystemCgs, 4, 3, 4, 0, 4, 0};
    EXPECT_EQ(f.data.units(), cgs);
    EXPECT_EQ(f.data.previous, cgs);
    EXPECT_FALSE(unitCombosEnabled(f.data));
    // The length change's three rows, then the energy change's two.
    ASSERT_EQ(effect.planRanges.size(), 5u);
    EXPECT_EQ(effect.planRanges[0].kind, kPlanKindVolumeEnthalpy);
    EXPECT_DOUBLE_EQ(effect.planRanges[0].factor, 1e24);
    EXPECT_EQ(effect.planRanges[3].kind, kPlanKindVolumeEnthalpy);
    EXPECT_DOUBLE_EQ(effect.planRanges[3].factor, 1e7);
    EXPECT_TRUE(effect.chartLabelsInvalidated);

    // Custom frees the combos and converts nothing.
    PhysicalData inCgs = f.data;
    EXPECT_TRUE(changeUnitSystem(f.data, f.run, kSystemCustom).planRanges.empty());
    EXPECT_TRUE(unitCombosEnabled(f.data));
    inCgs.system = inCgs.previous.system = kSystemCustom;
    EXPECT_EQ(f.data, inCgs);
}

TEST(UnitChange, SiFromCustomUnitsIncludingTimeAndScale) {
    ModelFixture f;
    changeUnitSystem(f.data, f.run, kSystemCustom);
    changeTemperatureScale(f.data, 1);
    changeTimeUnit(f.data, f.run, 7);
    changeConcentrationUnit(f.data, 1);
    UnitChangeEffect effect = changeUnitSystem(f.data, f.run, kSystemSi);
    EXPECT_EQ(f.data.units(), (UnitSelections{kSystemSi, 5, 4, 0, 0, 4, 0}));
    EXPECT_NEAR(f.data.Temperature, 1600, 1e-9);
    EXPECT_NEAR(f.data.Frequency_of_Vibrations, 2.099e14, 2.099e14 * 1e-14);
    EXPECT_DOUBLE_EQ(f.data.Size_A, 6e-10);
    // Concentration first, then length, then temperature.
    ASSERT_EQ(effect.planRanges.size(), 7u);
    EXPECT_EQ(effect.planRanges[0].kind, kPlanKindConcentration);
    EXPECT_DOUBLE_EQ(effect.planRanges[0].factor, 0.01);
    EXPECT_EQ(effect.planRanges[3].kind, kPlanKindVolumeEnthalpy);
    EXPECT_EQ(effect.planRanges[6].kind, kPlanKindTemperature);
    EXPECT_EQ(effect.planRanges[6].temperatureFrom, 1);
}

TEST(UnitChange, AppendCollectsRowsAndLabels) {
    UnitChangeEffect first;
    first.planRanges.push_back({kPlanKindConcentration, 100});
    UnitChangeEffect second;
    second.planRanges.push_back({kPlanKindVolume, 1e-3});
    second.chartLabelsInvalidated = true;
    first.append(second);
    first.append(UnitChangeEffect{});
    ASSERT_EQ(first.planRanges.size(), 2u);
    EXPECT_EQ(first.planRanges[1].kind, kPlanKindVolume);
    EXPECT_TRUE(first.chartLabelsInvalidated);
}

}  // namespace
}  // namespace quorvane
