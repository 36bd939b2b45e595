#include "model/data_rules.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "common/cformat.h"
#include "model/probabilities.h"
#include "model/theory.h"

namespace quorvane {
namespace {

double kelvin(const PhysicalData& d, double x) {
    return ToKelvin(x, d.temperature);
}

/// Parses one surface-shape text into its number and reformats it; false for
/// a text that is no finite number, or a negative one (neither a share of the
/// surface nor a bond length can be below 0). A refused text gives way to
/// the text of the number kept, so that it is not refused again at every
/// later Update.
bool parseShapeText(const std::string& text, double& number, std::string& storedText) {
    double value = 0;
    const bool good = parseFiniteDouble(text, value) && value >= 0;
    if (good) number = value;
    storedText = formatSurfaceRatio(number);
    return good;
}

bool isTemperatureField(DataField field) {
    return field == DataField::Temperature || field == DataField::LiquidusTemperature ||
           field == DataField::MeltTemperature;
}

/// A temperature typed at or below absolute zero (a text that is no number
/// reads as 0 in the current scale): nothing the program derives has a
/// meaning there.
bool belowAbsoluteZero(const PhysicalData& d, DataField field, std::string_view text) {
    if (!isTemperatureField(field)) return false;
    const double typed = cAtof(text);
    return !std::isfinite(typed) || ToKelvin(typed, d.temperature) <= kMinimumKelvin;
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
    auto parse = [&](DataField field, const std::string& text, double& number) {
        if (parseShapeText(text, number, *textField(d, field))) return;
        platform.message(kFixRatioMessage);
        refused.push_back(field);
    };
    parse(DataField::EdgesRatio, request.edgesText, d.edgesRatio);
    parse(DataField::VerticesRatio, request.verticesText, d.verticesRatio);
    parse(DataField::BondLength, request.bondText, d.bondLength);

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

namespace {

void molarEnthalpyEdited(PhysicalData& d) {
    volumeEnthalpyFromMolar(d);
    concentrationFromLiquidus(d);
    generalSupercooling(d);
}

void volumeEnthalpyEdited(PhysicalData& d) {
    molarEnthalpyFromVolume(d);
    concentrationFromLiquidus(d);
    generalSupercooling(d);
}

void meltTemperatureEdited(PhysicalData& d) {
    applyMeltTemperatureRule(d);
    concentrationFromLiquidus(d);
    generalSupercooling(d);
}

void liquidusTemperatureEdited(PhysicalData& d) {
    applyLiquidusTemperatureRule(d);
    generalSupercooling(d);
}

void temperatureEdited(PhysicalData& d) {
    applyTemperatureRule(d);
    computeJumpFrequencies(d);
    specificSurfaceEnergy(d);
    generalSupercooling(d);
}

void concentrationEdited(PhysicalData& d) {
    applyConcentrationRule(d);
    generalSupercooling(d);
}

void nothingToRecompute(PhysicalData&) {}

/// What an edit of each field recomputes, in the order of `DataField`. The
/// shape texts are parsed by Update itself.
using Recompute = void (*)(PhysicalData&);
constexpr std::array<Recompute, kDataFieldCount> kRecompute{
    recomputeSizesChain,         // SizeA
    recomputeSizesChain,         // SizeB
    recomputeSizesChain,         // SizeC
    volumeEdited,                // Volume
    surfaceEdited,               // Surface
    molecularWeightEdited,       // MolecularWeight
    molecularWeightFromDensity,  // Density
    molarEnthalpyEdited,         // MolarEnthalpy
    volumeEnthalpyEdited,        // VolumeEnthalpy
    specificSurfaceEnergy,       // SurfaceEnergy
    nothingToRecompute,          // BondLength
    nothingToRecompute,          // EdgesRatio
    nothingToRecompute,          // VerticesRatio
    meltTemperatureEdited,       // MeltTemperature
    liquidusTemperatureEdited,   // LiquidusTemperature
    temperatureEdited,           // Temperature
    concentrationEdited,         // Concentration
    computeJumpFrequencies,      // VibrationFrequency
    computeJumpFrequencies,      // ActivationEnergy
    jumpFrequencyEdited,         // JumpFrequency
    generalSupercoolingEdited,   // GeneralSupercooling
    generalSurfaceEnergyEdited,  // GeneralSurfaceEnergy
};

}  // namespace

bool recomputeForField(PhysicalData& d, std::optional<DataField> focus) {
    repairSizes(d);
    if (!focus) return false;
    kRecompute[static_cast<std::size_t>(*focus)](d);
    // A typed jump frequency takes the default frequency away.
    return *focus == DataField::JumpFrequency;
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
    if (field && belowAbsoluteZero(d, *field, text)) {
        // The field keeps its last good value; the rest is as Enter on it as shown.
        platform.message(kTooColdMessage);
        EditOutcome outcome = enterFieldText(d, run, std::nullopt, {}, platform, shown);
        outcome.refusedFields.insert(outcome.refusedFields.begin(), *field);
        return outcome;
    }
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
