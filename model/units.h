#pragma once
/// The unit tables of the physical data, the physical constants, and the
/// conversions that formulas apply at the moment they need SI values.

#include <array>

namespace quorvane {

// Physical constants.
inline constexpr double kAvogadro = 6.02214199e23;
inline constexpr double kBoltzmann = 1.3806e-23;                ///< J/K
inline constexpr double kGasConstant = kAvogadro * kBoltzmann;  ///< R0, J/(mol K)
inline constexpr double kPi = 3.141592653589793;
inline constexpr double kGoldenRatio = 1.618033988749895;
inline constexpr double kInverseGoldenRatio = 0.6180339887498949;

// Whole seconds of the calendar time units; the year is the tropical year
// truncated toward zero.
inline constexpr int kSecondsPerMinute = 60;
inline constexpr int kSecondsPerHour = 60 * kSecondsPerMinute;
inline constexpr int kSecondsPerDay = 24 * kSecondsPerHour;
inline constexpr int kSecondsPerYear = static_cast<int>(kSecondsPerDay * 365.242199);
static_assert(kSecondsPerYear == 31556925);

/// One row of a unit table: its combo text, its short name (labels, file
/// units, reports) and its power of ten relative to the table's base unit.
struct UnitEntry {
    const char* comboText;
    const char* shortName;
    int exponent;
};

/// Length, base metre.
inline constexpr std::array<UnitEntry, 6> kLengthUnits{{
    {"angstroms (A)", "A", -10},
    {"nanometre (nm)", "nm", -9},
    {"micrometre (mcm)", "mcm", -6},
    {"milimetre (mm)", "mm", -3},
    {"santimetre (sm)", "cm", -2},
    {"metre (m)", "m", 0},
}};

/// Weight, base kilogram.
inline constexpr std::array<UnitEntry, 5> kWeightUnits{{
    {"nanogram (ng)", "ng", -12},
    {"microgram (mcg)", "mcg", -9},
    {"miligram (mg)", "mg", -6},
    {"gram (g)", "g", -3},
    {"kilogram (kg)", "kg", 0},
}};

/// Energy, base kilojoule; the calorie units carry the extra factor 4.184.
inline constexpr std::array<UnitEntry, 5> kEnergyUnits{{
    {"joules (J)", "J", -3},
    {"calories (cal)", "cal", -3},
    {"kjoules (kJ)", "kJ", 0},
    {"kcalories (kcal)", "kcal", 0},
    {"ergs", "ergs", -10},
}};
/// Joules in one unit of each energy unit.
inline constexpr std::array<double, 5> kJoulesPerEnergyUnit{1, 4.184, 1000, 4184, 1e-7};

/// Time, base second; the first four units also carry a whole-second count.
inline constexpr std::array<UnitEntry, 9> kTimeUnits{{
    {"years (year)", "year", 0},
    {"days (day)", "day", 0},
    {"hours (hour)", "hour", 0},
    {"minutes (min)", "min", 0},
    {"seconds (s)", "s", 0},
    {"miliseconds (ms)", "ms", -3},
    {"microseconds (mcs)", "mcs", -6},
    {"nanoseconds (ns)", "ns", -9},
    {"picoseconds (ps])", "ps", -12},
}};
/// Whole seconds of each time unit (1 for the decimal units).
inline constexpr std::array<int, 9> kWholeSecondsPerTimeUnit{
    kSecondsPerYear, kSecondsPerDay, kSecondsPerHour, kSecondsPerMinute, 1, 1, 1, 1, 1};

/// Temperature scales (no exponent: they convert by offsets).
inline constexpr std::array<UnitEntry, 3> kTemperatureScales{{
    {"Kelvin (K)", "K", 0},
    {"Celcium (C)", "C", 0},
    {"Farengeit (F)", "F", 0},
}};

/// Concentration, base parts (a fraction).
inline constexpr std::array<UnitEntry, 2> kConcentrationUnits{{
    {"parts", "parts", 0},
    {"percents (%)", "%", -2},
}};

/// Unit systems: SI and CGS set the six units, Custom leaves them to the user.
inline constexpr std::array<const char*, 3> kUnitSystemNames{"International SI", "CGS", "Custom"};
inline constexpr int kSystemSi = 0;
inline constexpr int kSystemCgs = 1;
inline constexpr int kSystemCustom = 2;

enum class UnitKind { Length, Weight, Energy, Temperature, Time, Concentration };

/// Number of units of a kind.
int unitCount(UnitKind kind);
/// True when the index names a unit of the kind.
bool isValidUnit(UnitKind kind, int index);
/// The combo text, or "" for an index outside the table.
const char* unitComboText(UnitKind kind, int index);
/// The short name, or "" for an index outside the table.
const char* unitShortName(UnitKind kind, int index);
/// The power of ten, or 0 for an index outside the table.
int unitExponent(UnitKind kind, int index);

/// Metres in one length unit; 1 (the base unit) for an index outside the table.
double LengthMetres(int index);
/// Kilograms in one weight unit; 1 (the base unit) for an index outside the table.
double WeightKilograms(int index);
/// x, given in the energy unit `index`, in joules; 0 for an index outside the table.
double EnergyToJoules(double x, int index);
/// x joules in the energy unit `index` (the inverse of `EnergyToJoules`); x for
/// an index outside the table.
double JoulesToEnergyUnit(double x, int index);
/// Seconds in one time unit; 1 (the base unit) for an index outside the table.
double SecondsPerTimeUnit(int index);
/// Time units in one second.
double TimeUnitsPerSecond(int index);
/// The length of one `to` unit counted in `from` units; 1 when an index is
/// outside the table.
double TimeUnitRatio(int from, int to);
/// x from temperature scale `from` to `to`; x unchanged when a scale is unknown.
double ConvertTemperature(double x, int from, int to);
/// x, given in the temperature scale `scale`, in kelvin.
double ToKelvin(double x, int scale);

}  // namespace quorvane
