#include <gtest/gtest.h>

#include <cmath>

#include "common/cformat.h"
#include "model/data_rules.h"
#include "model/probabilities.h"
#include "model/theory.h"
#include "model/unit_change.h"
#include "model_fixtures.h"

namespace quorvane {
namespace {

using testing::ModelFixture;

struct DataRules : ::testing::Test {
    ModelFixture f;
    PhysicalData& d = f.data;
    EditOutcome enter(DataField field, const std::string& text) {
        return enterFieldText(f.data, f.run, field, text, f.platform);
    }
};

TEST_F(DataRules, FirstUpdateParsesTheShapeTexts) {
    EXPECT_EQ(d.edgesRatio, 0.25);
    EXPECT_EQ(d.verticesRatio, 0.05);
    EXPECT_EQ(d.bondLength, 1);
    EXPECT_EQ(d.Parts_of_surface_for_edges, "0.25");
    EXPECT_EQ(d.Characterictic_length_of_bond, "1");
    EXPECT_TRUE(f.platform.messages.empty());

    enter(DataField::EdgesRatio, "0.12345");
    EXPECT_EQ(d.edgesRatio, 0.12345);
    EXPECT_EQ(d.Parts_of_surface_for_edges, "0.123");
    enter(DataField::VerticesRatio, " 1e-5 ");
    EXPECT_EQ(d.Parts_of_surface_for_vertices, "1e-5");
}

TEST_F(DataRules, ShapeTextThatIsNoNumberIsRefused) {
    EditOutcome outcome = enter(DataField::EdgesRatio, "abc");
    ASSERT_EQ(outcome.refusedFields, std::vector<DataField>{DataField::EdgesRatio});
    ASSERT_EQ(f.platform.messages, std::vector<std::string>{"Do fix vertiges control"});
    EXPECT_EQ(d.edgesRatio, 0.25);
    EXPECT_EQ(d.Parts_of_surface_for_edges, "0.25");

    // The other two are still processed.
    UpdateRequest request = requestFromData(d);
    request.edgesText = "-0.5";  // no negative share of the surface
    request.verticesText = "inf";
    request.bondText = "2.5";
    auto refused = applyUpdate(d, f.run, request, f.platform);
    EXPECT_EQ(refused, (std::vector<DataField>{DataField::EdgesRatio, DataField::VerticesRatio}));
    EXPECT_EQ(f.platform.messages.size(), 3u);
    EXPECT_EQ(d.verticesRatio, 0.05);
    EXPECT_EQ(d.bondLength, 2.5);
    EXPECT_EQ(d.Characterictic_length_of_bond, "2.5");
}

TEST_F(DataRules, VolumeAndSurfaceRescaleTheMolecule) {
    enter(DataField::Volume, "1728");
    EXPECT_DOUBLE_EQ(d.Size_A, 12);
    EXPECT_DOUBLE_EQ(d.Size_B, 12);
    EXPECT_DOUBLE_EQ(d.Size_C, 12);
    EXPECT_DOUBLE_EQ(d.Surface, 864);
    EXPECT_DOUBLE_EQ(d.Molecular_Weight, 2400);  // at the same density

    enter(DataField::Surface, "54");
    EXPECT_DOUBLE_EQ(d.Size_A, 3);
    EXPECT_DOUBLE_EQ(d.Volume, 27);

    // A volume that has no real cube root leaves the sizes and is recomputed.
    enter(DataField::Volume, "-8");
    EXPECT_DOUBLE_EQ(d.Size_A, 3);
    EXPECT_DOUBLE_EQ(d.Volume, 27);
}

TEST_F(DataRules, SizesAtOrBelowZeroBecomeOne) {
    enter(DataField::SizeA, "-3");
    EXPECT_EQ(d.Size_A, 1);
    EXPECT_EQ(d.Volume, 36);
    EXPECT_EQ(d.Surface, 2 * (6 + 36 + 6));
    enter(DataField::SizeB, "no number");
    EXPECT_EQ(d.Size_B, 1);
}

TEST_F(DataRules, WeightAndDensity) {
    double density = d.Density;
    enter(DataField::MolecularWeight, "600");
    EXPECT_DOUBLE_EQ(d.Density, 2 * density);
    enter(DataField::Density, cformat("%.17g", density));
    EXPECT_DOUBLE_EQ(d.Molecular_Weight, 300);
}

TEST_F(DataRules, MeltTemperatureBelowTheGrowthTemperature) {
    enter(DataField::MeltTemperature, "1500");
    EXPECT_DOUBLE_EQ(d.Temperature_of_Melt, 1616);
    EXPECT_DOUBLE_EQ(d.Temperature_of_Liquidus, 1616);
    EXPECT_EQ(d.Concentration, 1);

    enter(DataField::MeltTemperature, "1610");  // between T and Tl: raised to Tl
    EXPECT_DOUBLE_EQ(d.Temperature_of_Melt, 1616);
}

TEST_F(DataRules, LiquidusPutsTheSolubilityCurveThroughTheConcentration) {
    d.Concentration = 0.5;
    enter(DataField::LiquidusTemperature, "1750");
    EXPECT_EQ(d.Temperature_of_Liquidus, 1750);
    EXPECT_EQ(d.Concentration, 0.5);
    EXPECT_NEAR(d.Molecular_Enthaphie, 363065, 0.5);
    EXPECT_DOUBLE_EQ(d.Enthalpie, d.Molecular_Enthaphie / (216 * kAvogadro));
    // The curve through (Tl, c) gives c back.
    concentrationFromLiquidus(d);
    EXPECT_DOUBLE_EQ(d.Concentration, 0.5);

    // In kilocalories the same enthalpy is stored in kcal/mol.
    changeEnergyUnit(d, 3);
    enter(DataField::LiquidusTemperature, "1750");
    EXPECT_NEAR(d.Molecular_Enthaphie, 363065 / 4184.0, 1e-4);
}

TEST_F(DataRules, LiquidusReachingTheMeltSaturates) {
    enter(DataField::LiquidusTemperature, "1900");
    EXPECT_EQ(d.Temperature_of_Melt, 1900);
    EXPECT_EQ(d.Temperature_of_Liquidus, 1900);
    EXPECT_EQ(d.Concentration, 1);
    EXPECT_EQ(d.Molecular_Enthaphie, 1);  // no curve passes through a saturated melt

    ModelFixture percent;
    changeConcentrationUnit(percent.data, 1);
    enterFieldText(percent.data, percent.run, DataField::LiquidusTemperature, "1500",
                   percent.platform);
    EXPECT_DOUBLE_EQ(percent.data.Temperature_of_Liquidus, 1616);
    EXPECT_EQ(percent.data.Temperature_of_Melt, percent.data.Temperature_of_Liquidus);
    EXPECT_EQ(percent.data.Concentration, 100);
}

TEST_F(DataRules, GrowthTemperatureStaysBelowTheLiquidus) {
    enter(DataField::Temperature, "1750");
    EXPECT_DOUBLE_EQ(d.Temperature, 1683);
    EXPECT_TRUE(f.platform.messages.empty());
    // At or below absolute zero, or no number, the field keeps its last value.
    for (const char* typed : {"nan", "abc", "0", "-5"}) {
        const EditOutcome outcome = enter(DataField::Temperature, typed);
        EXPECT_EQ(outcome.refusedFields, std::vector<DataField>{DataField::Temperature});
        EXPECT_DOUBLE_EQ(d.Temperature, 1683) << typed;
    }
    EXPECT_EQ(f.platform.messages,
              std::vector<std::string>(4, "Temperatura is too close to absolute zerro."));
    enter(DataField::LiquidusTemperature, "-1");
    EXPECT_EQ(d.Temperature_of_Liquidus, 1700);

    // In Celsius the comparisons are made in kelvin: 0 C is warm enough.
    changeTemperatureScale(d, 1);
    enter(DataField::Temperature, "-300");
    EXPECT_DOUBLE_EQ(d.Temperature, ConvertTemperature(1683, 0, 1));
    enter(DataField::Temperature, "0");
    EXPECT_EQ(d.Temperature, 0);
}

TEST_F(DataRules, TemperatureEditFollowsFrequenciesAndTimeStep) {
    enter(DataField::Temperature, "1650");
    EXPECT_DOUBLE_EQ(d.General_Surface_Energy, 216 * 1.2e-21 / (kBoltzmann * 1650));
    EXPECT_DOUBLE_EQ(d.Frequency_of_Jumps, 2.099e14 * std::exp(-340000 / (kGasConstant * 1650)));
    EXPECT_DOUBLE_EQ(f.run.Time_step, f.run.Prob_in_at_step / d.nu_s);
}

TEST_F(DataRules, ConcentrationRule) {
    enter(DataField::Concentration, "0.95");
    double liquidus = 1 / (1 / 1800.0 - kGasConstant * std::log(0.95) / 20000);
    EXPECT_DOUBLE_EQ(d.Temperature_of_Liquidus, liquidus);
    EXPECT_EQ(d.Concentration, 0.95);

    // A liquidus that would fall below T is put between T and To instead.
    enter(DataField::Concentration, "0.5");
    EXPECT_DOUBLE_EQ(d.Temperature_of_Liquidus, 0.1 * 1800 + 0.9 * 1600);
    EXPECT_DOUBLE_EQ(d.Concentration,
                     std::exp(-20000 * (1800 - 1620.0) / (kGasConstant * 1800 * 1620.0)));

    enter(DataField::Concentration, "5");
    EXPECT_EQ(d.Concentration, 1);
    EXPECT_NEAR(d.Temperature_of_Liquidus, 1800, 1e-9);

    changeConcentrationUnit(d, 1);
    enter(DataField::Concentration, "95");
    EXPECT_DOUBLE_EQ(d.Temperature_of_Liquidus, liquidus);
    EXPECT_EQ(d.Concentration, 95);
}

TEST_F(DataRules, EnthalpiesFollowEachOther) {
    enter(DataField::MolarEnthalpy, "40000");
    EXPECT_DOUBLE_EQ(d.Enthalpie, 40000 / (216 * kAvogadro));
    EXPECT_DOUBLE_EQ(d.Concentration, std::exp(-40000 * 100 / (kGasConstant * 1800 * 1700.0)));
    double enthalpy = d.Enthalpie;
    enter(DataField::VolumeEnthalpy, cformat("%.17g", enthalpy / 2));
    EXPECT_DOUBLE_EQ(d.Molecular_Enthaphie, 20000);

    // A volume of 0 (as a broken data file may hold) gives no enthalpy per volume.
    d.Volume = 0;
    enthalpy = d.Enthalpie;
    EditOutcome outcome = enter(DataField::MolarEnthalpy, "30000");
    EXPECT_EQ(d.Enthalpie, enthalpy);
    EXPECT_TRUE(outcome.theoryComputed);
    EXPECT_TRUE(std::isfinite(d.Va_kes));
}

TEST_F(DataRules, DoubledSupercoolingDoublesBothEnthalpies) {
    computeTheory(d, f.platform);
    double supercooling = d.General_Suupercooling;
    double molar = d.Molecular_Enthaphie;
    double volume = d.Enthalpie;
    enter(DataField::GeneralSupercooling, cformat("%.17g", 2 * supercooling));
    EXPECT_DOUBLE_EQ(d.Molecular_Enthaphie, 2 * molar);
    EXPECT_DOUBLE_EQ(d.Enthalpie, 2 * volume);
    EXPECT_DOUBLE_EQ(d.General_Suupercooling, 2 * supercooling);
    EXPECT_DOUBLE_EQ(d.previousGeneralSupercooling, 2 * supercooling);

    // From a supercooling of 0 no ratio exists: the enthalpies stay.
    d.General_Suupercooling = 0;
    enter(DataField::GeneralSupercooling, "1");
    EXPECT_DOUBLE_EQ(d.Molecular_Enthaphie, 2 * molar);
}

TEST_F(DataRules, FrequenciesAndSurfaceEnergies) {
    d.Is_Frequency_of_Vibrations_Set_Default = 1;
    EditOutcome outcome = enter(DataField::JumpFrequency, "1000");
    EXPECT_TRUE(outcome.frequencyFlagCleared);
    EXPECT_EQ(d.Is_Frequency_of_Vibrations_Set_Default, 0);
    EXPECT_DOUBLE_EQ(d.Frequency_of_Vibrations, 1000 * std::exp(340000 / (kGasConstant * 1600)));
    EXPECT_DOUBLE_EQ(d.Frequency_of_Jumps, 1000);

    enter(DataField::GeneralSurfaceEnergy, "10");
    EXPECT_DOUBLE_EQ(d.Surface_Energy, 10 * kBoltzmann * 1600 / 216);
    changeEnergyUnit(d, 4);
    enter(DataField::GeneralSurfaceEnergy, "10");
    EXPECT_DOUBLE_EQ(d.Surface_Energy, 10 * kBoltzmann * 1600 / 216 * 1e7);

    enter(DataField::SurfaceEnergy, "2e-14");
    EXPECT_DOUBLE_EQ(d.General_Surface_Energy, 2e-21 * 216 / (kBoltzmann * 1600));
}

TEST_F(DataRules, EstimateAndDefaultFrequency) {
    estimateSurfaceEnergy(d);
    EXPECT_DOUBLE_EQ(d.Surface_Energy, 0.5 * 1 * d.Enthalpie);
    EXPECT_DOUBLE_EQ(d.General_Surface_Energy, d.Surface_Energy * 216 / (kBoltzmann * 1600));

    setDefaultFrequency(d, true);
    double own = 1000 / (2 * kPi) / 1e-10 / 6;
    EXPECT_DOUBLE_EQ(d.Frequency_of_Vibrations, own);
    setDefaultFrequency(d, false);
    EXPECT_EQ(d.Is_Frequency_of_Vibrations_Set_Default, 0);
    EXPECT_DOUBLE_EQ(d.Frequency_of_Vibrations, own);
}

TEST_F(DataRules, PanelSettingsStayInTheirRanges) {
    d.accuracy = 20;
    stepAccuracy(d, 1);
    EXPECT_EQ(d.accuracy, 20);
    d.accuracy = 1;
    stepAccuracy(d, -1);
    EXPECT_EQ(d.accuracy, 1);

    d.Chart_show_curves = {1, 0, 0};
    toggleChartCurve(d, 0);
    EXPECT_EQ(d.Chart_show_curves, (std::array<int, 3>{1, 0, 0}));
    toggleChartCurve(d, 2);
    toggleChartCurve(d, 0);
    toggleChartCurve(d, 3);
    EXPECT_EQ(d.Chart_show_curves, (std::array<int, 3>{0, 0, 1}));

    d.Paint_temp_curve_with_zoom = 0.98;
    zoomChartIn(d);
    EXPECT_EQ(d.Paint_temp_curve_with_zoom, 0.999);
    d.Paint_temp_curve_with_zoom = 0.0101;
    zoomChartOut(d);
    EXPECT_EQ(d.Paint_temp_curve_with_zoom, 0.01);
}

TEST(DataFields, KeysAndFields) {
    for (int i = 0; i < kDataFieldCount; ++i) {
        auto field = static_cast<DataField>(i);
        EXPECT_EQ(fieldForDataKey(dataKeyForField(field)), field);
        PhysicalData d;
        EXPECT_NE(numericField(d, field) == nullptr, textField(d, field) == nullptr);
        EXPECT_EQ(isTextField(field), textField(d, field) != nullptr);
    }
    EXPECT_EQ(fieldForDataKey("General_Suupercooling"), DataField::GeneralSupercooling);
    EXPECT_EQ(fieldForDataKey("Temperature_of_Liquidus"), DataField::LiquidusTemperature);
    EXPECT_FALSE(fieldForDataKey("Va_kes").has_value());
    EXPECT_FALSE(fieldForDataKey("size_a").has_value());
}

TEST(DataFields, DisplayFormats) {
    EXPECT_EQ(formatFieldValue(1.2e-21), "1.2e-21");
    EXPECT_EQ(formatFieldValue(123456), "1.235e+5");
    EXPECT_EQ(formatFieldValue(1e-300), "1e-300");
    EXPECT_EQ(formatTemperatureAfterScaleChange(2420.33), "2420.3");
    EXPECT_EQ(formatSurfaceRatio(0.12345), "0.123");
    EXPECT_EQ(formatDensityAfterWeightEdit(2.30574e-12), "2.306e-12");
    EXPECT_EQ(formatTheoryValue(1.0 / 3, 2), "0.33");
    EXPECT_EQ(formatTheoryValue(1.0 / 3, 0), "0.3");
    EXPECT_EQ(formatTheoryValue(1.0 / 3, 40), cformat("%.20g", 1.0 / 3));
}

TEST(DataRulesByKey, OneCallPerSetting) {
    ModelFixture f;
    auto outcome = enterDataKeyValue(f.data, f.run, "Volume", "1728", f.platform);
    ASSERT_TRUE(outcome.has_value());
    EXPECT_TRUE(outcome->theoryComputed);
    EXPECT_DOUBLE_EQ(f.data.Size_B, 12);

    PhysicalData before = f.data;
    EXPECT_FALSE(enterDataKeyValue(f.data, f.run, "Va_kes", "5", f.platform).has_value());
    EXPECT_EQ(f.data, before);

    enterDataKeyValue(f.data, f.run, "Parts_of_surface_for_vertices", "0.1", f.platform);
    EXPECT_EQ(f.data.verticesRatio, 0.1);
}

}  // namespace
}  // namespace quorvane
