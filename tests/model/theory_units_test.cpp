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

using P = PhysicalData;

/// How a derived value scales with the units.
enum class Dimension { None, Length, PerTime, Rate, Concentration, Temperature };

const std::pair<Dimension, std::vector<double P::*>> kDerived[] = {
    {Dimension::None,
     {&P::General_Suupercooling, &P::General_Surface_Energy, &P::B, &P::k_a, &P::k_b, &P::k_c,
      &P::nu_s, &P::F, &P::N_f, &P::K_a, &P::K_b, &P::K_c, &P::Rf_a_kes, &P::Rf_b_kes, &P::Rf_c_kes,
      &P::ratio_ab, &P::ratio_ac, &P::ratio_cb}},
    {Dimension::PerTime,
     {&P::Frequency_of_Vibrations, &P::Frequency_of_Jumps, &P::nu0_a, &P::nu0_b, &P::nu0_c,
      &P::nu_a, &P::nu_b, &P::nu_c}},
    {Dimension::Rate,
     {&P::Va_continues, &P::V_cont_b, &P::V_cont_c, &P::Va_spiral, &P::Va_nuclei, &P::Va_kes,
      &P::Vb_kes, &P::Vc_kes, &P::V_max}},
    {Dimension::Length, {&P::r_crit}},
    {Dimension::Concentration, {&P::Pf_a_kes, &P::Pf_b_kes, &P::Pf_c_kes}},
    {Dimension::Temperature, {&P::T_at_V_max}},
};

/// `value`, computed in the units of `from`, in the units of `to`.
double converted(double value, Dimension dimension, const P& from, const P& to) {
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

void changeUnit(P& d, RunSettings& run, UnitKind kind, int index) {
    changeUnitSystem(d, run, kSystemCustom);
    switch (kind) {
        case UnitKind::Length:
            changeLengthUnit(d, index);
            break;
        case UnitKind::Weight:
            changeWeightUnit(d, index);
            break;
        case UnitKind::Energy:
            changeEnergyUnit(d, index);
            break;
        case UnitKind::Temperature:
            changeTemperatureScale(d, index);
            break;
        case UnitKind::Time:
            changeTimeUnit(d, run, index);
            break;
        case UnitKind::Concentration:
            changeConcentrationUnit(d, index);
            break;
    }
}

/// SI, CGS, and every unit of every kind on its own.
std::vector<std::pair<std::string, std::function<void(P&, RunSettings&)>>> everyUnitSetting() {
    // The start data call themselves SI while counting in angstroms: the real SI
    // units come only through another system.
    std::vector<std::pair<std::string, std::function<void(P&, RunSettings&)>>> settings{
        {"SI",
         [](P& d, RunSettings& r) {
             changeUnitSystem(d, r, kSystemCustom);
             changeUnitSystem(d, r, kSystemSi);
         }},
        {"CGS", [](P& d, RunSettings& r) { changeUnitSystem(d, r, kSystemCgs); }}};
    for (const UnitKind kind : {UnitKind::Length, UnitKind::Weight, UnitKind::Energy,
                                UnitKind::Temperature, UnitKind::Time, UnitKind::Concentration})
        for (int i = 0; i < unitCount(kind); ++i)
            settings.emplace_back(unitShortName(kind, i),
                                  [kind, i](P& d, RunSettings& r) { changeUnit(d, r, kind, i); });
    return settings;
}

TEST(TheoryInEveryUnitSystem, EveryDerivedValueIsTheStartUnitsValueConverted) {
    testing::ModelFixture start;
    ASSERT_TRUE(computeTheory(start.data, start.platform));
    // The start state predicts growth by every mechanism, so no value is a bare 0.
    ASSERT_GT(start.data.Va_nuclei, 0);
    ASSERT_EQ(start.data.definedDirections, (std::array<int, 3>{1, 1, 1}));
    for (const auto& [name, apply] : everyUnitSetting()) {
        testing::ModelFixture f;
        apply(f.data, f.run);
        ASSERT_TRUE(computeTheory(f.data, f.platform)) << name;
        for (const auto& [dimension, members] : kDerived)
            for (std::size_t k = 0; k < members.size(); ++k) {
                const double want =
                    converted(start.data.*members[k], dimension, start.data, f.data);
                EXPECT_NEAR(f.data.*members[k], want, 1e-9 * std::abs(want))
                    << "value " << k << " of dimension " << static_cast<int>(dimension) << " in "
                    << name;
            }
        EXPECT_EQ(f.data.definedDirections, start.data.definedDirections) << name;
    }
}

}  // namespace
}  // namespace quorvane
