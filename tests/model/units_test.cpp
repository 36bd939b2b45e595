#include <gtest/gtest.h>

#include <string>

#include "model/units.h"

namespace quorvane {
namespace {

TEST(Units, TablesKeepTheirTextsAndExponents) {
    EXPECT_STREQ(unitComboText(UnitKind::Length, 4), "santimetre (sm)");
    EXPECT_STREQ(unitShortName(UnitKind::Length, 4), "cm");
    EXPECT_EQ(unitExponent(UnitKind::Length, 4), -2);
    EXPECT_STREQ(unitComboText(UnitKind::Time, 8), "picoseconds (ps])");
    EXPECT_STREQ(unitShortName(UnitKind::Time, 8), "ps");
    EXPECT_STREQ(unitComboText(UnitKind::Temperature, 1), "Celcium (C)");
    EXPECT_STREQ(unitShortName(UnitKind::Concentration, 1), "%");
    EXPECT_EQ(unitExponent(UnitKind::Energy, 4), -10);
    EXPECT_EQ(unitCount(UnitKind::Time), 9);
    EXPECT_EQ(kSecondsPerYear, 31556925);
    EXPECT_DOUBLE_EQ(kGasConstant, 6.02214199e23 * 1.3806e-23);
}

TEST(Units, IndicesOutsideATableReadNothing) {
    for (int bad : {-1, 6, 1000}) {
        EXPECT_FALSE(isValidUnit(UnitKind::Length, bad));
        EXPECT_STREQ(unitShortName(UnitKind::Length, bad), "");
        EXPECT_EQ(LengthMetres(bad), 1);
    }
    EXPECT_EQ(EnergyToJoules(5, 5), 0);
    EXPECT_EQ(EnergyToJoules(5, -1), 0);
    EXPECT_EQ(SecondsPerTimeUnit(9), 1);
    EXPECT_EQ(TimeUnitRatio(-1, 3), 1);
    EXPECT_EQ(ConvertTemperature(300, 0, 5), 300);
    EXPECT_EQ(ConvertTemperature(300, 3, 0), 300);
}

TEST(Units, ScaleFactors) {
    EXPECT_DOUBLE_EQ(LengthMetres(0), 1e-10);
    EXPECT_DOUBLE_EQ(WeightKilograms(3), 1e-3);
    EXPECT_DOUBLE_EQ(EnergyToJoules(2, 3), 8368);
    EXPECT_DOUBLE_EQ(EnergyToJoules(1e7, 4), 1);
    EXPECT_DOUBLE_EQ(JoulesToEnergyUnit(EnergyToJoules(7, 1), 1), 7);
    EXPECT_DOUBLE_EQ(JoulesToEnergyUnit(1, 4), 1e7);
    EXPECT_EQ(SecondsPerTimeUnit(0), 31556925);
    EXPECT_EQ(SecondsPerTimeUnit(2), 3600);
    EXPECT_DOUBLE_EQ(SecondsPerTimeUnit(8), 1e-12);
    EXPECT_DOUBLE_EQ(TimeUnitsPerSecond(5), 1000);
}

TEST(Units, TimeUnitRatioIsOneToUnitInFromUnits) {
    EXPECT_DOUBLE_EQ(TimeUnitRatio(3, 2), 60);        // an hour in minutes
    EXPECT_DOUBLE_EQ(TimeUnitRatio(4, 0), 31556925);  // a year in seconds
    EXPECT_DOUBLE_EQ(TimeUnitRatio(2, 3), 1.0 / 60);  // no integer division
    EXPECT_DOUBLE_EQ(TimeUnitRatio(8, 5), 1e9);       // a millisecond in picoseconds
    EXPECT_DOUBLE_EQ(TimeUnitRatio(5, 1), 86400e3);
}

TEST(Units, TemperatureScales) {
    EXPECT_NEAR(ConvertTemperature(1600, 0, 2), 2420.33, 1e-9);
    EXPECT_NEAR(ConvertTemperature(2420.33, 2, 0), 1600, 1e-9);
    EXPECT_DOUBLE_EQ(ConvertTemperature(1600, 0, 1), 1326.85);
    EXPECT_DOUBLE_EQ(ConvertTemperature(100, 1, 2), 212);
    EXPECT_DOUBLE_EQ(ConvertTemperature(212, 2, 1), 100);
    EXPECT_DOUBLE_EQ(ConvertTemperature(-40, 1, 0), 233.15);
    EXPECT_EQ(ConvertTemperature(1234.5, 2, 2), 1234.5);
    for (int scale = 0; scale < 3; ++scale) {
        for (double x : {-40.0, 0.0, 1600.0}) {
            EXPECT_EQ(ToKelvin(x, scale), ConvertTemperature(x, scale, 0));
        }
    }
}

}  // namespace
}  // namespace quorvane
