// A physical prediction does not depend on the units it is shown in: every value
// the theory derives, in every unit system, is the start units' value converted.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "model/theory.h"
#include "model/unit_change.h"
#include "model_fixtures.h"

namespace quorvane {
namespace {

using testing::ModelFixture;

/// How a derived value scales with the units.
enum class Dimension { None, Length, PerTime, Rate, Concentration, Temperature };

struct DerivedValue {
    const char* name;
    double PhysicalData::*member;
    Dimension dimension;
};

const DerivedValue kDerived[] = {
    {"dG'", &PhysicalData::General_Suupercooling, Dimension::None},
    {"sigma'", &PhysicalData::General_Surface_Energy, Dimension::None},
    {"B", &PhysicalData::B, Dimension::None},
    {"k_a", &PhysicalData::k_a, Dimension::None},
    {"k_b", &PhysicalData::k_b, Dimension::None},
    {"k_c", &PhysicalData::k_c, Dimension::None},
    {"nu0", &PhysicalData::Frequency_of_Vibrations, Dimension::PerTime},
    {"nu0_a", &PhysicalData::nu0_a, Dimension::PerTime},
    {"nu0_b", &PhysicalData::nu0_b, Dimension::PerTime},
    {"nu0_c", &PhysicalData::nu0_c, Dimension::PerTime},
    {"nu_a", &PhysicalData::nu_a, Dimension::PerTime},
    {"nu_b", &PhysicalData::nu_b, Dimension::PerTime},
    {"nu_c", &PhysicalData::nu_c, Dimension::PerTime},
    {"nu", &PhysicalData::Frequency_of_Jumps, Dimension::PerTime},
    {"nu_s", &PhysicalData::nu_s, Dimension::None},
    {"F", &PhysicalData::F, Dimension::None},
    {"V continuous a", &PhysicalData::Va_continues, Dimension::Rate},
    {"V continuous b", &PhysicalData::V_cont_b, Dimension::Rate},
    {"V continuous c", &PhysicalData::V_cont_c, Dimension::Rate},
    {"r_crit", &PhysicalData::r_crit, Dimension::Length},
    {"V spiral", &PhysicalData::Va_spiral, Dimension::Rate},
    {"N_f", &PhysicalData::N_f, Dimension::None},
    {"V nuclei", &PhysicalData::Va_nuclei, Dimension::Rate},
    {"K_a", &PhysicalData::K_a, Dimension::None},
    {"K_b", &PhysicalData::K_b, Dimension::None},
    {"K_c", &PhysicalData::K_c, Dimension::None},
    {"Va Halvik", &PhysicalData::Va_kes, Dimension::Rate},
    {"Vb Halvik", &PhysicalData::Vb_kes, Dimension::Rate},
    {"Vc Halvik", &PhysicalData::Vc_kes, Dimension::Rate},
    {"Ra", &PhysicalData::Rf_a_kes, Dimension::None},
    {"Rb", &PhysicalData::Rf_b_kes, Dimension::None},
    {"Rc", &PhysicalData::Rf_c_kes, Dimension::None},
    {"Pa", &PhysicalData::Pf_a_kes, Dimension::Concentration},
    {"Pb", &PhysicalData::Pf_b_kes, Dimension::Concentration},
    {"Pc", &PhysicalData::Pf_c_kes, Dimension::Concentration},
    {"Va/Vb", &PhysicalData::ratio_ab, Dimension::None},
    {"Va/Vc", &PhysicalData::ratio_ac, Dimension::None},
    {"Vc/Vb", &PhysicalData::ratio_cb, Dimension::None},
    {"V max", &PhysicalData::V_max, Dimension::Rate},
    {"T at V max", &PhysicalData::T_at_V_max, Dimension::Temperature},
};

/// `value`, computed in the start units, in the units of `to`.
double converted(double value, Dimension dimension, const PhysicalData& from,
                 const PhysicalData& to) {
    const double length = LengthMetres(from.dimension) / LengthMetres(to.dimension);
    const double time = SecondsPerTimeUnit(to.time) / SecondsPerTimeUnit(from.time);
    switch (dimension) {
        case Dimension::None:
            return value;
        case Dimension::Length:
            return value * length;
        case Dimension::PerTime:
            return value * time;
        case Dimension::Rate:
            return value * length * time;
        case Dimension::Concentration:
            return concentrationInUnit(to, value / concentrationInUnit(from, 1.0));
        case Dimension::Temperature:
            return ConvertTemperature(value, from.temperature, to.temperature);
    }
    return value;
}

struct UnitSetting {
    std::string name;
    std::function<void(PhysicalData&, RunSettings&)> apply;
};

std::vector<UnitSetting> everyUnitSetting() {
    std::vector<UnitSetting> settings;
    // The start data call themselves SI while counting in angstroms: the real SI
    // units come only through another system.
    settings.push_back({"SI", [](PhysicalData& d, RunSettings& r) {
                            changeUnitSystem(d, r, kSystemCustom);
                            changeUnitSystem(d, r, kSystemSi);
                        }});
    settings.push_back(
        {"CGS", [](PhysicalData& d, RunSettings& r) { changeUnitSystem(d, r, kSystemCgs); }});
    const struct {
        const char* kind;
        UnitKind unit;
        std::function<void(PhysicalData&, RunSettings&, int)> change;
    } kinds[] = {
        {"length", UnitKind::Length, [](auto& d, auto&, int i) { changeLengthUnit(d, i); }},
        {"weight", UnitKind::Weight, [](auto& d, auto&, int i) { changeWeightUnit(d, i); }},
        {"energy", UnitKind::Energy, [](auto& d, auto&, int i) { changeEnergyUnit(d, i); }},
        {"temperature", UnitKind::Temperature,
         [](auto& d, auto&, int i) { changeTemperatureScale(d, i); }},
        {"time", UnitKind::Time, [](auto& d, auto& r, int i) { changeTimeUnit(d, r, i); }},
        {"concentration", UnitKind::Concentration,
         [](auto& d, auto&, int i) { changeConcentrationUnit(d, i); }},
    };
    for (const auto& kind : kinds)
        for (int i = 0; i < unitCount(kind.unit); ++i)
            settings.push_back({std::string(kind.kind) + " " + unitShortName(kind.unit, i),
                                [change = kind.change, i](PhysicalData& d, RunSettings& r) {
                                    changeUnitSystem(d, r, kSystemCustom);
                                    change(d, r, i);
                                }});
    settings.push_back({"nm mg kcal F ms %", [](PhysicalData& d, RunSettings& r) {
                            changeUnitSystem(d, r, kSystemCustom);
                            changeLengthUnit(d, 1);
                            changeWeightUnit(d, 2);
                            changeEnergyUnit(d, 3);
                            changeTemperatureScale(d, 2);
                            changeTimeUnit(d, r, 5);
                            changeConcentrationUnit(d, 1);
                        }});
    return settings;
}

TEST(TheoryInEveryUnitSystem, EveryDerivedValueIsTheStartUnitsValueConverted) {
    ModelFixture start;
    ASSERT_TRUE(computeTheory(start.data, start.platform));
    // The start state predicts growth by every mechanism, so no value is a bare 0.
    ASSERT_GT(start.data.Va_nuclei, 0);
    ASSERT_GT(start.data.N_f, 0);
    ASSERT_EQ(start.data.definedDirections, (std::array<int, 3>{1, 1, 1}));
    for (const UnitSetting& setting : everyUnitSetting()) {
        ModelFixture f;
        setting.apply(f.data, f.run);
        ASSERT_TRUE(computeTheory(f.data, f.platform)) << setting.name;
        for (const DerivedValue& v : kDerived) {
            const double expected =
                converted(start.data.*v.member, v.dimension, start.data, f.data);
            EXPECT_NEAR(f.data.*v.member, expected, 1e-9 * std::abs(expected))
                << v.name << " in " << setting.name;
        }
        EXPECT_EQ(f.data.defined, start.data.defined) << setting.name;
        EXPECT_EQ(f.data.definedDirections, start.data.definedDirections) << setting.name;
    }
}

}  // namespace
}  // namespace quorvane
