#pragma once
/// The edit fields of the physical data, their data-file keys, and how their
/// numbers are written into the fields.

#include <optional>
#include <string>
#include <string_view>

#include "model/physical_data.h"

namespace quorvane {

/// One edit field of the Data panel, by the quantity it holds.
enum class DataField {
    SizeA,
    SizeB,
    SizeC,
    Volume,
    Surface,
    MolecularWeight,
    Density,
    MolarEnthalpy,   ///< dHmol
    VolumeEnthalpy,  ///< dHv
    SurfaceEnergy,   ///< sigma
    BondLength,      ///< text
    EdgesRatio,      ///< text
    VerticesRatio,   ///< text
    MeltTemperature,
    LiquidusTemperature,
    Temperature,
    Concentration,
    VibrationFrequency,  ///< nu0
    ActivationEnergy,
    JumpFrequency,  ///< nu
    GeneralSupercooling,
    GeneralSurfaceEnergy,
};
inline constexpr int kDataFieldCount = 22;

/// The field a data-file key fills ("Size_A", "Temperature_of_Liquidus",
/// "General_Suupercooling", ...); nullopt for any other key.
std::optional<DataField> fieldForDataKey(std::string_view key);
/// The data-file key of a field.
const char* dataKeyForField(DataField field);

/// The number a field edits; nullptr for the three text fields.
double* numericField(PhysicalData& d, DataField field);
/// The text a field edits; nullptr for the numeric fields.
std::string* textField(PhysicalData& d, DataField field);
/// True for the edges, vertices and bond-length texts.
bool isTextField(DataField field);

// How numbers are written into the fields. Every one has its exponent
// compacted (e-021 shows as e-21).

/// A quantity in its field: "%.4g".
std::string formatFieldValue(double x);
/// A temperature after a change of scale: "%.5g".
std::string formatTemperatureAfterScaleChange(double x);
/// A surface ratio or the bond length after parsing: "%.3g".
std::string formatSurfaceRatio(double x);
/// The density after the molecular weight was edited: 4 significant digits.
std::string formatDensityAfterWeightEdit(double x);
/// A theoretical result with the data's accuracy digits (kept within 1..20).
std::string formatTheoryValue(double x, int digits);

}  // namespace quorvane
