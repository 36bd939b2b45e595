#include "model/units.h"

#include <cmath>
#include <span>

namespace quorvane {
namespace {

std::span<const UnitEntry> table(UnitKind kind) {
    switch (kind) {
        case UnitKind::Length:
            return kLengthUnits;
        case UnitKind::Weight:
            return kWeightUnits;
        case UnitKind::Energy:
            return kEnergyUnits;
        case UnitKind::Temperature:
            return kTemperatureScales;
        case UnitKind::Time:
            return kTimeUnits;
        case UnitKind::Concentration:
            return kConcentrationUnits;
    }
    return {};
}

const UnitEntry* entry(UnitKind kind, int index) {
    auto units = table(kind);
    if (index < 0 || static_cast<std::size_t>(index) >= units.size()) return nullptr;
    return &units[static_cast<std::size_t>(index)];
}

double powerOfTen(int exponent) {
    return std::pow(10.0, exponent);
}

}  // namespace

int unitCount(UnitKind kind) {
    return static_cast<int>(table(kind).size());
}

bool isValidUnit(UnitKind kind, int index) {
    return entry(kind, index) != nullptr;
}

const char* unitComboText(UnitKind kind, int index) {
    const UnitEntry* unit = entry(kind, index);
    return unit ? unit->comboText : "";
}

const char* unitShortName(UnitKind kind, int index) {
    const UnitEntry* unit = entry(kind, index);
    return unit ? unit->shortName : "";
}

int unitExponent(UnitKind kind, int index) {
    const UnitEntry* unit = entry(kind, index);
    return unit ? unit->exponent : 0;
}

double LengthMetres(int index) {
    if (!isValidUnit(UnitKind::Length, index)) return 1;
    return powerOfTen(unitExponent(UnitKind::Length, index));
}

double WeightKilograms(int index) {
    if (!isValidUnit(UnitKind::Weight, index)) return 1;
    return powerOfTen(unitExponent(UnitKind::Weight, index));
}

double EnergyToJoules(double x, int index) {
    if (!isValidUnit(UnitKind::Energy, index)) return 0;
    return x * kJoulesPerEnergyUnit[static_cast<std::size_t>(index)];
}

double JoulesToEnergyUnit(double x, int index) {
    switch (index) {
        case 1:
            return x / 4.184;
        case 2:
            return x / 1000;
        case 3:
            return x / 4184;
        case 4:
            return x * 1e7;
        default:
            return x;
    }
}

double SecondsPerTimeUnit(int index) {
    if (!isValidUnit(UnitKind::Time, index)) return 1;
    auto i = static_cast<std::size_t>(index);
    return powerOfTen(kTimeUnits[i].exponent) * kWholeSecondsPerTimeUnit[i];
}

double TimeUnitsPerSecond(int index) {
    return 1 / SecondsPerTimeUnit(index);
}

double TimeUnitRatio(int from, int to) {
    if (!isValidUnit(UnitKind::Time, from) || !isValidUnit(UnitKind::Time, to)) return 1;
    auto f = static_cast<std::size_t>(from);
    auto t = static_cast<std::size_t>(to);
    double ratio = powerOfTen(kTimeUnits[t].exponent - kTimeUnits[f].exponent);
    if (from > 3 && to > 3) return ratio;
    return ratio * kWholeSecondsPerTimeUnit[t] / kWholeSecondsPerTimeUnit[f];
}

double ConvertTemperature(double x, int from, int to) {
    if (from == to || !isValidUnit(UnitKind::Temperature, from) ||
        !isValidUnit(UnitKind::Temperature, to)) {
        return x;
    }
    switch (from * 3 + to) {
        case 0 * 3 + 1:
            return x - 273.15;
        case 0 * 3 + 2:
            return (x - 273.15) * 1.8 + 32;
        case 1 * 3 + 0:
            return x + 273.15;
        case 1 * 3 + 2:
            return x * 1.8 + 32;
        case 2 * 3 + 0:
            return (x - 32) * 0.5555555555555556 + 273.15;
        case 2 * 3 + 1:
            return (x - 32) * 0.5555555555555556;
        default:
            return x;
    }
}

double ToKelvin(double x, int scale) {
    if (scale == 1) return x + 273.15;
    if (scale == 2) return (x - 32) * 0.5555555555555556 + 273.15;
    return x;
}

}  // namespace quorvane
