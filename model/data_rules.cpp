#include "model/data_rules.h"

#include <algorithm>
#include <cmath>

#include "common/cformat.h"
#include "model/probabilities.h"
#include "model/theory.h"

namespace quorvane {
namespace {

double kelvin(const PhysicalData& d, double x) {
    return ToKelvin(x, d.temperature);
}
double fromKelvin(const PhysicalData& d, double x) {
    return ConvertTemperature(x, 0, d.temperature);
}

/// Parses one surface-shape text into its number and reformats it; false,
/// changing nothing, for a text that is no finite number (or a negative share).
bool parseShapeText(const std::string& text, bool isShare, double& number,
                    std::string& storedText) {
    double value = 0;
    if (!parseFiniteDouble(text, value)) return false;
    if (isShare && value < 0) return false;  // a share of the surface cannot be negative
    number = value;
    storedText = formatSurfaceRatio(value);
    return true;
}

/// v and S from the sizes, then everything that follows from the sizes.
void recomputeSizesChain(PhysicalData& d) {
    recomputeVolumeAndSurface(d);
    molecularWeightFromDensity(d);
    computeJumpFrequencies(d);
    specificSurfaceEnergy(d);
    generalSupercooling(d);
}

void scaleSizes(PhysicalData& d, double factor) {
    d.Size_A *= factor;
    d.Size_B *= factor;
    d.Size_C *= factor;
}

void volumeEdited(PhysicalData& d) {
    double abc = d.Size_A * d.Size_B * d.Size_C;
    // Only a positive ratio has a real cube root; otherwise the sizes stay and
    // the volume is recomputed from them.
    if (abc != 0 && d.Volume / abc > 0) scaleSizes(d, std::pow(d.Volume / abc, 1.0 / 3));
    recomputeSizesChain(d);
}

void surfaceEdited(PhysicalData& d) {
    double area = 2 * (d.Size_A * d.Size_B + d.Size_B * d.Size_C + d.Size_A * d.Size_C);
    if (area != 0 && d.Surface / area > 0) scaleSizes(d, std::sqrt(d.Surface / area));
    recomputeSizesChain(d);
}

void molecularWeightEdited(PhysicalData& d) {
    double toGrams = std::pow(10.0, unitExponent(UnitKind::Weight, d.weight) + 3);
    d.Density = d.Molecular_Weight / (toGrams * kAvogadro * d.Size_A * d.Size_B * d.Size_C);
}

void jumpFrequencyEdited(PhysicalData& d) {
    d.Is_Frequency_of_Vibrations_Set_Default = 0;
    double T = kelvin(d, d.Temperature);
    if (T <= kMinimumKelvin) return;
    d.Frequency_of_Vibrations =
        d.Frequency_of_Jumps *
        std::exp(EnergyToJoules(d.Activation_Energy, d.energy) / (kGasConstant * T));
}

void generalSupercoolingEdited(PhysicalData& d) {
    // Scaling both enthalpies scales dG' by the same factor at fixed temperatures.
    if (d.previousGeneralSupercooling != 0) {
        double ratio = d.General_Suupercooling / d.previousGeneralSupercooling;
        d.Molecular_Enthaphie *= ratio;
        d.Enthalpie *= ratio;
    }
    d.previousGeneralSupercooling = d.General_Suupercooling;
    concentrationFromLiquidus(d);
}

void generalSurfaceEnergyEdited(PhysicalData& d) {
    if (d.Surface == 0) return;
    double sigmaJoules =
        d.General_Surface_Energy * kBoltzmann * kelvin(d, d.Temperature) / d.Surface;
    d.Surface_Energy = JoulesToEnergyUnit(sigmaJoules, d.energy);
}

}  // namespace

UpdateRequest requestFromData(const PhysicalData& d) {
    UpdateRequest request;
    request.edgesText = d.Parts_of_surface_for_edges;
    request.verticesText = d.Parts_of_surface_for_vertices;
    request.bondText = d.Characterictic_length_of_bond;
    return request;
}

std::vector<DataField> applyUpdate(PhysicalData& d, RunSettings& run, const UpdateRequest& request,
                                   Platform& platform) {
    std::vector<DataField> refused;
    auto parse = [&](DataField field, const std::string& text, bool isShare, double& number) {
        if (parseShapeText(text, isShare, number, *textField(d, field))) return;
        platform.message(kFixRatioMessage);
        refused.push_back(field);
    };
    parse(DataField::EdgesRatio, request.edgesText, true, d.edgesRatio);
    parse(DataField::VerticesRatio, request.verticesText, true, d.verticesRatio);
    parse(DataField::BondLength, request.bondText, false, d.bondLength);

    d.previousGeneralSupercooling = d.General_Suupercooling;
    if (request.focus) {
        if (double* value = numericField(d, *request.focus)) {
            double typed = cAtof(request.focusText);
            *value = std::isfinite(typed) ? typed : 0;  // "inf" and "nan" are no numbers either
        }
    }
    recomputeProbabilityAndTimeStep(run, d);
    return refused;
}

void repairSizes(PhysicalData& d) {
    for (double* size : {&d.Size_A, &d.Size_B, &d.Size_C}) {
        if (*size <= 0) *size = 1;
    }
}

bool recomputeForField(PhysicalData& d, std::optional<DataField> focus) {
    repairSizes(d);
    if (!focus) return false;
    switch (*focus) {
        case DataField::SizeA:
        case DataField::SizeB:
        case DataField::SizeC:
            recomputeSizesChain(d);
            break;
        case DataField::Volume:
            volumeEdited(d);
            break;
        case DataField::Surface:
            surfaceEdited(d);
            break;
        case DataField::MolecularWeight:
            molecularWeightEdited(d);
            break;
        case DataField::Density:
            molecularWeightFromDensity(d);
            break;
        case DataField::MolarEnthalpy:
            volumeEnthalpyFromMolar(d);
            concentrationFromLiquidus(d);
            generalSupercooling(d);
            break;
        case DataField::VolumeEnthalpy:
            molarEnthalpyFromVolume(d);
            concentrationFromLiquidus(d);
            generalSupercooling(d);
            break;
        case DataField::SurfaceEnergy:
            specificSurfaceEnergy(d);
            break;
        case DataField::MeltTemperature:
            applyMeltTemperatureRule(d);
            concentrationFromLiquidus(d);
            generalSupercooling(d);
            break;
        case DataField::LiquidusTemperature:
            applyLiquidusTemperatureRule(d);
            generalSupercooling(d);
            break;
        case DataField::Temperature:
            applyTemperatureRule(d);
            computeJumpFrequencies(d);
            specificSurfaceEnergy(d);
            generalSupercooling(d);
            break;
        case DataField::Concentration:
            applyConcentrationRule(d);
            generalSupercooling(d);
            break;
        case DataField::VibrationFrequency:
        case DataField::ActivationEnergy:
            computeJumpFrequencies(d);
            break;
        case DataField::JumpFrequency:
            jumpFrequencyEdited(d);
            return true;
        case DataField::GeneralSupercooling:
            generalSupercoolingEdited(d);
            break;
        case DataField::GeneralSurfaceEnergy:
            generalSurfaceEnergyEdited(d);
            break;
        case DataField::BondLength:
        case DataField::EdgesRatio:
        case DataField::VerticesRatio:
            break;  // parsed by Update itself
    }
    return false;
}

void applyMeltTemperatureRule(PhysicalData& d) {
    double T = kelvin(d, d.Temperature);
    double Tl = kelvin(d, d.Temperature_of_Liquidus);
    double To = kelvin(d, d.Temperature_of_Melt);
    if (T > To) {
        To = Tl = 1.01 * T;
        d.Temperature_of_Liquidus = fromKelvin(d, Tl);
        d.Temperature_of_Melt = fromKelvin(d, To);
    }
    if (Tl > To) d.Temperature_of_Melt = d.Temperature_of_Liquidus;
}

void applyLiquidusTemperatureRule(PhysicalData& d) {
    double T = kelvin(d, d.Temperature);
    double Tl = kelvin(d, d.Temperature_of_Liquidus);
    double To = kelvin(d, d.Temperature_of_Melt);
    if (Tl > To) {
        To = Tl;
        d.Temperature_of_Melt = d.Temperature_of_Liquidus;
    }
    if (Tl < T) {
        Tl = To = 1.01 * T;
        d.Temperature_of_Liquidus = d.Temperature_of_Melt = fromKelvin(d, Tl);
    }
    double c = concentrationFraction(d);  // the concentration before this edit
    if (std::abs(To - Tl) <= 1e-6 || c >= 0.9999) {
        Tl = To;
        d.Temperature_of_Liquidus = d.Temperature_of_Melt;
        d.Concentration = concentrationInUnit(d, 1);
    }
    if (0.0001 <= c && c <= 0.9999) {
        // The enthalpy that puts (Tl, c) on the ideal solubility curve.
        double enthalpy = 1;
        if (!(To - Tl <= 0 || c >= 0.9999 || c <= 1e-6)) {
            enthalpy = -kGasConstant * std::log(c) * To * Tl / (To - Tl);
        }
        d.Molecular_Enthaphie = JoulesToEnergyUnit(enthalpy, d.energy);
        volumeEnthalpyFromMolar(d);
    }
}

void applyTemperatureRule(PhysicalData& d) {
    double T = kelvin(d, d.Temperature);
    double Tl = kelvin(d, d.Temperature_of_Liquidus);
    if (T > Tl) {
        T = 0.99 * Tl;
        d.Temperature = fromKelvin(d, T);
    }
    if (T <= 0) d.Temperature = fromKelvin(d, 0.01 * Tl);
}

void applyConcentrationRule(PhysicalData& d) {
    double c = std::clamp(concentrationFraction(d), 0.01, 1.0);
    d.Concentration = concentrationInUnit(d, c);
    double liquidus = liquidusFromConcentration(d, c);
    double To = kelvin(d, d.Temperature_of_Melt);
    double T = kelvin(d, d.Temperature);
    double Tl = kelvin(d, liquidus);
    d.Temperature_of_Liquidus = liquidus;
    if (Tl >= To) {
        Tl = To;
        d.Temperature_of_Liquidus = d.Temperature_of_Melt;
        d.Concentration = concentrationInUnit(d, 1);
    }
    if (Tl < T) {
        d.Temperature_of_Liquidus = fromKelvin(d, 0.1 * To + 0.9 * T);
        concentrationFromLiquidus(d);
    }
}

void estimateSurfaceEnergy(PhysicalData& d) {
    d.Surface_Energy = 0.5 * d.bondLength * d.Enthalpie;
    specificSurfaceEnergy(d);
}

void setDefaultFrequency(PhysicalData& d, bool on) {
    d.Is_Frequency_of_Vibrations_Set_Default = on ? 1 : 0;
    computeJumpFrequencies(d);
}

void stepAccuracy(PhysicalData& d, int delta) {
    d.accuracy = std::clamp(d.accuracy + delta, 1, 20);
}

void toggleChartCurve(PhysicalData& d, int curve) {
    if (curve < 0 || curve > 2) return;
    auto& shown = d.Chart_show_curves;
    int count = static_cast<int>(
        std::count_if(shown.begin(), shown.end(), [](int flag) { return flag != 0; }));
    auto& flag = shown[static_cast<std::size_t>(curve)];
    if (flag != 0 && count <= 1) return;  // the chart always shows something
    flag = flag != 0 ? 0 : 1;
}

void zoomChartIn(PhysicalData& d) {
    d.Paint_temp_curve_with_zoom = std::min(d.Paint_temp_curve_with_zoom * 1.05, 0.999);
}

void zoomChartOut(PhysicalData& d) {
    d.Paint_temp_curve_with_zoom = std::max(d.Paint_temp_curve_with_zoom * 0.95, 0.01);
}

EditOutcome enterFieldText(PhysicalData& d, RunSettings& run, std::optional<DataField> field,
                           std::string_view text, Platform& platform, const ShapeTexts* shown) {
    UpdateRequest request = requestFromData(d);
    if (shown) {
        request.edgesText = shown->edges;
        request.verticesText = shown->vertices;
        request.bondText = shown->bond;
    }
    request.focus = field;
    request.focusText = std::string(text);
    if (field == DataField::EdgesRatio) request.edgesText = request.focusText;
    if (field == DataField::VerticesRatio) request.verticesText = request.focusText;
    if (field == DataField::BondLength) request.bondText = request.focusText;

    EditOutcome outcome;
    outcome.refusedFields = applyUpdate(d, run, request, platform);
    outcome.frequencyFlagCleared = recomputeForField(d, field);
    outcome.theoryComputed = computeTheory(d, platform);
    // Update set the time step before the edit reached the jump frequency.
    recomputeProbabilityAndTimeStep(run, d);
    return outcome;
}

std::optional<EditOutcome> enterDataKeyValue(PhysicalData& d, RunSettings& run,
                                             std::string_view key, std::string_view text,
                                             Platform& platform) {
    auto field = fieldForDataKey(key);
    if (!field) return std::nullopt;
    return enterFieldText(d, run, *field, text, platform);
}

}  // namespace quorvane
