#include "model/data_fields.h"

#include <algorithm>
#include <array>

#include "common/cformat.h"

namespace quorvane {
namespace {

struct FieldKey {
    DataField field;
    const char* key;
};

constexpr std::array<FieldKey, kDataFieldCount> kFieldKeys{{
    {DataField::SizeA, "Size_A"},
    {DataField::SizeB, "Size_B"},
    {DataField::SizeC, "Size_C"},
    {DataField::Volume, "Volume"},
    {DataField::Surface, "Surface"},
    {DataField::MolecularWeight, "Molecular_Weight"},
    {DataField::Density, "Density"},
    {DataField::MolarEnthalpy, "Molecular_Enthaphie"},
    {DataField::VolumeEnthalpy, "Enthalpie"},
    {DataField::SurfaceEnergy, "Surface_Energy"},
    {DataField::BondLength, "Characterictic_length_of_bond"},
    {DataField::EdgesRatio, "Parts_of_surface_for_edges"},
    {DataField::VerticesRatio, "Parts_of_surface_for_vertices"},
    {DataField::MeltTemperature, "Temperature_of_Melt"},
    {DataField::LiquidusTemperature, "Temperature_of_Liquidus"},
    {DataField::Temperature, "Temperature"},
    {DataField::Concentration, "Concentration"},
    {DataField::VibrationFrequency, "Frequency_of_Vibrations"},
    {DataField::ActivationEnergy, "Activation_Energy"},
    {DataField::JumpFrequency, "Frequency_of_Jumps"},
    {DataField::GeneralSupercooling, "General_Suupercooling"},
    {DataField::GeneralSurfaceEnergy, "General_Surface_Energy"},
}};

}  // namespace

std::optional<DataField> fieldForDataKey(std::string_view key) {
    for (const FieldKey& entry : kFieldKeys) {
        if (key == entry.key) return entry.field;
    }
    return std::nullopt;
}

const char* dataKeyForField(DataField field) {
    for (const FieldKey& entry : kFieldKeys) {
        if (entry.field == field) return entry.key;
    }
    return "";
}

bool isTextField(DataField field) {
    return field == DataField::BondLength || field == DataField::EdgesRatio ||
           field == DataField::VerticesRatio;
}

double* numericField(PhysicalData& d, DataField field) {
    switch (field) {
        case DataField::SizeA:
            return &d.Size_A;
        case DataField::SizeB:
            return &d.Size_B;
        case DataField::SizeC:
            return &d.Size_C;
        case DataField::Volume:
            return &d.Volume;
        case DataField::Surface:
            return &d.Surface;
        case DataField::MolecularWeight:
            return &d.Molecular_Weight;
        case DataField::Density:
            return &d.Density;
        case DataField::MolarEnthalpy:
            return &d.Molecular_Enthaphie;
        case DataField::VolumeEnthalpy:
            return &d.Enthalpie;
        case DataField::SurfaceEnergy:
            return &d.Surface_Energy;
        case DataField::MeltTemperature:
            return &d.Temperature_of_Melt;
        case DataField::LiquidusTemperature:
            return &d.Temperature_of_Liquidus;
        case DataField::Temperature:
            return &d.Temperature;
        case DataField::Concentration:
            return &d.Concentration;
        case DataField::VibrationFrequency:
            return &d.Frequency_of_Vibrations;
        case DataField::ActivationEnergy:
            return &d.Activation_Energy;
        case DataField::JumpFrequency:
            return &d.Frequency_of_Jumps;
        case DataField::GeneralSupercooling:
            return &d.General_Suupercooling;
        case DataField::GeneralSurfaceEnergy:
            return &d.General_Surface_Energy;
        default:
            return nullptr;
    }
}

std::string* textField(PhysicalData& d, DataField field) {
    switch (field) {
        case DataField::BondLength:
            return &d.Characterictic_length_of_bond;
        case DataField::EdgesRatio:
            return &d.Parts_of_surface_for_edges;
        case DataField::VerticesRatio:
            return &d.Parts_of_surface_for_vertices;
        default:
            return nullptr;
    }
}

std::string formatFieldValue(double x) {
    return compactExponent(cformat("%.4g", x));
}

std::string formatTemperatureAfterScaleChange(double x) {
    return compactExponent(cformat("%.5g", x));
}

std::string formatSurfaceRatio(double x) {
    return compactExponent(cformat("%.3g", x));
}

std::string formatDensityAfterWeightEdit(double x) {
    return compactExponent(cformat("%.4g", x));
}

std::string formatTheoryValue(double x, int digits) {
    return compactExponent(cformat("%.*g", std::clamp(digits, 1, 20), x));
}

}  // namespace quorvane
