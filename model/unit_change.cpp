#include "model/unit_change.h"

#include <cmath>

#include "common/cformat.h"
#include "model/probabilities.h"
#include "model/theory.h"

namespace quorvane {

void UnitChangeEffect::append(const UnitChangeEffect& other) {
    planRanges.insert(planRanges.end(), other.planRanges.begin(), other.planRanges.end());
    chartLabelsInvalidated = chartLabelsInvalidated || other.chartLabelsInvalidated;
}

namespace {

/// Decides whether a change from `previous` to `newIndex` converts anything.
/// A refused index leaves everything as it is; a previous selection outside
/// the table (nothing to convert from) just adopts the new unit.
bool needsConversion(UnitKind kind, int& current, int& previous, int newIndex) {
    if (!isValidUnit(kind, newIndex)) return false;
    if (newIndex == previous || !isValidUnit(kind, previous)) {
        current = previous = newIndex;
        return false;
    }
    return true;
}

/// 10^(exp[old] - exp[new]): one old unit in new units.
double decimalFactor(UnitKind kind, int oldIndex, int newIndex) {
    return std::pow(10.0, unitExponent(kind, oldIndex) - unitExponent(kind, newIndex));
}

bool isCalorie(int energyIndex) {
    return energyIndex == 1 || energyIndex == 3;
}

}  // namespace

UnitChangeEffect changeLengthUnit(PhysicalData& d, int newIndex) {
    UnitChangeEffect effect;
    if (!needsConversion(UnitKind::Length, d.dimension, d.previous.dimension, newIndex)) {
        return effect;
    }
    double f = decimalFactor(UnitKind::Length, d.previous.dimension, newIndex);
    d.Size_A *= f;
    d.Size_B *= f;
    d.Size_C *= f;
    d.bondLength *= f;
    d.Characterictic_length_of_bond = compactExponent(cformat("%g", d.bondLength));
    d.dimension = d.previous.dimension = newIndex;
    // Volume and surface follow the sizes exactly rather than being scaled.
    recomputeVolumeAndSurface(d);
    d.Surface_Energy /= f * f;
    d.Density /= f * f * f;
    d.Enthalpie /= f * f * f;
    effect.planRanges = {{kPlanKindVolumeEnthalpy, 1 / (f * f * f)},
                         {kPlanKindSurfaceEnergy, 1 / (f * f)},
                         {kPlanKindVolume, f * f * f}};
    effect.chartLabelsInvalidated = true;
    return effect;
}

UnitChangeEffect changeWeightUnit(PhysicalData& d, int newIndex) {
    if (needsConversion(UnitKind::Weight, d.weight, d.previous.weight, newIndex)) {
        // Only the density carries a weight; M stays in Daltons.
        d.Density *= decimalFactor(UnitKind::Weight, d.previous.weight, newIndex);
        d.weight = d.previous.weight = newIndex;
    }
    return {};
}

UnitChangeEffect changeEnergyUnit(PhysicalData& d, int newIndex) {
    UnitChangeEffect effect;
    if (!needsConversion(UnitKind::Energy, d.energy, d.previous.energy, newIndex)) return effect;
    int oldIndex = d.previous.energy;
    double f = decimalFactor(UnitKind::Energy, oldIndex, newIndex);
    // Calorie to kilocalorie and joule to kilojoule differ by the power of ten alone.
    if (isCalorie(oldIndex) && !isCalorie(newIndex)) f *= 4.184;
    if (isCalorie(newIndex) && !isCalorie(oldIndex)) f /= 4.184;
    d.Enthalpie *= f;
    d.Surface_Energy *= f;
    d.Molecular_Enthaphie *= f;
    d.Activation_Energy *= f;
    d.R *= f;
    d.energy = d.previous.energy = newIndex;
    effect.planRanges = {{kPlanKindVolumeEnthalpy, f}, {kPlanKindSurfaceEnergy, f}};
    return effect;
}

UnitChangeEffect changeTimeUnit(PhysicalData& d, RunSettings& run, int newIndex) {
    if (needsConversion(UnitKind::Time, d.time, d.previous.time, newIndex)) {
        d.Frequency_of_Vibrations /= TimeUnitRatio(newIndex, d.previous.time);
        d.time = d.previous.time = newIndex;
        computeJumpFrequencies(d);
        recomputeProbabilityAndTimeStep(run, d);
    }
    return {};
}

UnitChangeEffect changeTemperatureScale(PhysicalData& d, int newIndex) {
    UnitChangeEffect effect;
    if (!needsConversion(UnitKind::Temperature, d.temperature, d.previous.temperature, newIndex)) {
        return effect;
    }
    int oldIndex = d.previous.temperature;
    d.Temperature = ConvertTemperature(d.Temperature, oldIndex, newIndex);
    d.Temperature_of_Liquidus = ConvertTemperature(d.Temperature_of_Liquidus, oldIndex, newIndex);
    d.Temperature_of_Melt = ConvertTemperature(d.Temperature_of_Melt, oldIndex, newIndex);
    d.temperature = d.previous.temperature = newIndex;
    RangeRescale range;
    range.kind = kPlanKindTemperature;
    range.temperatureFrom = oldIndex;
    range.temperatureTo = newIndex;
    effect.planRanges = {range};
    return effect;
}

UnitChangeEffect changeConcentrationUnit(PhysicalData& d, int newIndex) {
    UnitChangeEffect effect;
    if (!needsConversion(UnitKind::Concentration, d.concentration, d.previous.concentration,
                         newIndex)) {
        return effect;
    }
    double f = decimalFactor(UnitKind::Concentration, d.previous.concentration, newIndex);
    d.Concentration *= f;
    d.concentration = d.previous.concentration = newIndex;
    // The plan gives the axis ratios in the concentration unit too.
    effect.planRanges = {{kPlanKindConcentration, f}, {kPlanKindRatioAB, f}, {kPlanKindRatioCB, f}};
    return effect;
}

UnitChangeEffect changeUnitSystem(PhysicalData& d, RunSettings& run, int newIndex) {
    UnitChangeEffect effect;
    if (newIndex < 0 || newIndex >= static_cast<int>(kUnitSystemNames.size())) return effect;
    if (newIndex == d.previous.system) {
        d.system = newIndex;
        return effect;
    }
    d.system = d.previous.system = newIndex;
    if (newIndex == kSystemCustom) return effect;
    bool si = newIndex == kSystemSi;
    effect.append(changeConcentrationUnit(d, 0));
    effect.append(changeLengthUnit(d, si ? 5 : 4));
    effect.append(changeWeightUnit(d, si ? 4 : 3));
    effect.append(changeEnergyUnit(d, si ? 0 : 4));
    effect.append(changeTemperatureScale(d, 0));
    effect.append(changeTimeUnit(d, run, 4));
    return effect;
}

UnitChangeEffect changeUnitByKey(PhysicalData& d, RunSettings& run, std::string_view key,
                                 int newIndex) {
    if (key == "system") return changeUnitSystem(d, run, newIndex);
    if (key == "dimension") return changeLengthUnit(d, newIndex);
    if (key == "weight") return changeWeightUnit(d, newIndex);
    if (key == "energy") return changeEnergyUnit(d, newIndex);
    if (key == "temperature") return changeTemperatureScale(d, newIndex);
    if (key == "time") return changeTimeUnit(d, run, newIndex);
    if (key == "concentration") return changeConcentrationUnit(d, newIndex);
    return {};
}

}  // namespace quorvane
