#include "sheets/unit_texts.h"

#include <cmath>

#include "common/cformat.h"
#include "model/quantity_schema.h"

namespace quorvane {

std::string superscriptNumber(int n) {
    static const char* const kDigits[] = {"\u2070", "\u00b9", "\u00b2", "\u00b3", "\u2074",
                                          "\u2075", "\u2076", "\u2077", "\u2078", "\u2079"};
    std::string out;
    for (char ch : std::to_string(n)) out += ch == '-' ? "\u207b" : kDigits[ch - '0'];
    return out;
}

std::string unitScaleText(UnitKind kind, int index) {
    const std::string power = "10" + superscriptNumber(unitExponent(kind, index));
    switch (kind) {
        case UnitKind::Length:
            return "( " + power + " metres)";
        case UnitKind::Weight:
            return "( " + power + " kilograms)";
        case UnitKind::Energy: {
            // The calorie units carry the calorie's 4.184 joules beside their power of ten.
            const bool calorie = isValidUnit(kind, index) &&
                                 std::abs(kJoulesPerEnergyUnit[static_cast<std::size_t>(index)] /
                                              (1000 * std::pow(10.0, unitExponent(kind, index))) -
                                          1) > 1e-9;
            return (calorie ? "( 4.184 &middot; " : "( ") + power + " kilojoules)";
        }
        case UnitKind::Time: {
            const int seconds = index >= 0 && index < 4 ? kWholeSecondsPerTimeUnit[index] : 0;
            return (seconds ? cformat("( %d &middot; ", seconds) : std::string("( ")) + power +
                   " seconds)";
        }
        case UnitKind::Temperature:
            if (index == 1) return "C+273.15 (Kelvins)";
            if (index == 2) return "(F-32)(5/9)+273.15 (Kelvins)";
            return "(Kelvins)";
        case UnitKind::Concentration:
            return "( " + power + " parts)";
    }
    return {};
}

std::string fieldUnitText(const PhysicalData& data, DataField field) {
    const std::string unit = unitText(quantityOfField(field), data, Notation::Panel);
    // The activation energy's label opens a bracket ("Ea (per") that its unit closes.
    if (field == DataField::ActivationEnergy) return "(" + unit + ")";
    return unit;
}

}  // namespace quorvane
