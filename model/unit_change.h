#pragma once
/// Unit changes: the in-place conversion of the physical data when the user
/// selects another unit, and what the change means for the experiment plan
/// and the cached chart labels, which live elsewhere.

#include <string_view>
#include <vector>

#include "model/physical_data.h"
#include "model/run_settings.h"

namespace quorvane {

/// How one unit change rescales the two ends of the plan rows of one kind.
struct RangeRescale {
    int kind = 0;
    double factor = 1;         ///< multiply both ends (when no temperature conversion)
    int temperatureFrom = -1;  ///< >= 0: convert both ends with ConvertTemperature(x, from, to)
    int temperatureTo = -1;
};
struct UnitChangeEffect {
    std::vector<RangeRescale> planRanges;
    bool chartLabelsInvalidated = false;
    void append(const UnitChangeEffect& other);
};

// Plan-row kinds that carry a unit.
inline constexpr int kPlanKindVolumeEnthalpy = 2;
inline constexpr int kPlanKindSurfaceEnergy = 3;
inline constexpr int kPlanKindTemperature = 4;
inline constexpr int kPlanKindConcentration = 5;
inline constexpr int kPlanKindVolume = 6;
inline constexpr int kPlanKindRatioAB = 7;
inline constexpr int kPlanKindRatioCB = 8;

// Each handler converts the numbers from the previous selection of its unit
// to `newIndex` and makes `newIndex` both the current and the previous
// selection. Selecting the previous unit again changes nothing; an index
// outside the unit's table is refused and changes nothing either.

UnitChangeEffect changeLengthUnit(PhysicalData& d, int newIndex);
UnitChangeEffect changeWeightUnit(PhysicalData& d, int newIndex);
UnitChangeEffect changeEnergyUnit(PhysicalData& d, int newIndex);
/// Also recomputes the jump frequencies and the run's time step.
UnitChangeEffect changeTimeUnit(PhysicalData& d, RunSettings& run, int newIndex);
UnitChangeEffect changeTemperatureScale(PhysicalData& d, int newIndex);
UnitChangeEffect changeConcentrationUnit(PhysicalData& d, int newIndex);
/// SI (0) and CGS (1) set concentration, length, weight, energy, temperature
/// and time in this order; Custom (2) changes no unit. The six unit combos are
/// editable only under Custom (see `unitCombosEnabled`).
UnitChangeEffect changeUnitSystem(PhysicalData& d, RunSettings& run, int newIndex);

/// The change of the unit a data-file unit key names ("system", "dimension",
/// "weight", "energy", "temperature", "time", "concentration"); nothing for
/// any other key.
UnitChangeEffect changeUnitByKey(PhysicalData& d, RunSettings& run, std::string_view key,
                                 int newIndex);

/// True when the user picks the units one by one (the Custom system).
inline bool unitCombosEnabled(const PhysicalData& d) {
    return d.system == kSystemCustom;
}

}  // namespace quorvane
