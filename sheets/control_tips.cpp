#include "sheets/control_tips.h"

#include "common/cformat.h"
#include "model/quantity_schema.h"

namespace quorvane {
namespace {

/// What a field holds and how the others follow it; the unit goes between them.
struct FieldTip {
    DataField field;
    const char* what;
    const char* relation;
};

constexpr const char* kSizeKeys =
    " With a digit 2..9 held, Ctrl multiplies it by the digit and Alt divides it by the "
    "digit; O instead of a digit: by \u221a2.";

constexpr FieldTip kFieldTips[] = {
    {DataField::SizeA, "a, size of the molecule along the growth direction",
     "v = abc and S = 2(ab + bc + ac) follow."},
    {DataField::SizeB, "b, size of the molecule", "v = abc and S = 2(ab + bc + ac) follow."},
    {DataField::SizeC, "c, size of the molecule", "v = abc and S = 2(ab + bc + ac) follow."},
    {DataField::Volume, "Volume of the molecule v = abc",
     "Typing v scales a, b and c alike; S follows."},
    {DataField::Surface, "Surface of the molecule S = 2(ab + bc + ac)",
     "Typing S scales a, b and c alike; v follows."},
    {DataField::MolecularWeight, "Molecular weight M", "The density d = M / (N_A v) follows."},
    {DataField::Density, "Density d = M / (N_A v)", "Typing d sets M."},
    {DataField::MolarEnthalpy, "Enthalpy of melting per mol \u0394Hmol",
     "\u0394Hv = \u0394Hmol / (N_A v), c and \u0394G' follow."},
    {DataField::VolumeEnthalpy, "Enthalpy of melting per volume \u0394Hv = \u0394Hmol / (N_A v)",
     "Typing \u0394Hv sets \u0394Hmol; c and \u0394G' follow."},
    {DataField::SurfaceEnergy, "Specific surface energy \u03c3",
     "\u03c3' = \u03c3S / kT follows; Estimate sets \u03c3 = 0.5 \u00b7 bond length \u00b7 "
     "\u0394Hv."},
    {DataField::BondLength, "Characteristic length of a bond",
     "Estimate sets \u03c3 = 0.5 \u00b7 bond length \u00b7 \u0394Hv."},
    {DataField::EdgesRatio, "Share of the molecule's surface in the directions of its edges",
     "Faces : Edges : Vertices = 1 : E : V."},
    {DataField::VerticesRatio, "Share of the molecule's surface in the directions of its vertices",
     "Faces : Edges : Vertices = 1 : E : V."},
    {DataField::MeltTemperature, "Melting temperature To",
     "Kept above T and at or above Tl; c and \u0394G' follow."},
    {DataField::LiquidusTemperature, "Liquidus temperature Tl, between T and To",
     "\u0394Hmol follows so that the solubility curve passes through (Tl, c); "
     "\u0394G' follows."},
    {DataField::Temperature, "Growth temperature T, below Tl",
     "\u03bd, \u03c3' and \u0394G' follow."},
    {DataField::Concentration, "Concentration c = exp(-(\u0394Hmol / R)(To - Tl) / (Tl To))",
     "Typing c sets Tl; \u0394G' follows."},
    {DataField::VibrationFrequency, "Frequency of thermal vibrations \u03bd0",
     "\u03bd = \u03bd0 e^(-Ea/kT) follows. Editable while \"default\" is off."},
    {DataField::ActivationEnergy, "Activation energy of a jump Ea",
     "\u03bd = \u03bd0 e^(-Ea/kT) follows."},
    {DataField::JumpFrequency, "Frequency of jumps \u03bd = \u03bd0 e^(-Ea/kT)",
     "Typing \u03bd clears \"default\" and sets \u03bd0."},
    {DataField::GeneralSupercooling, "General supercooling \u0394G' = \u0394Hv(Tl - T) v / kTTl",
     "Typing \u0394G' scales both enthalpies by the same factor."},
    {DataField::GeneralSurfaceEnergy, "Specific surface energy \u03c3' = \u03c3S / kT",
     "Typing \u03c3' sets \u03c3."},
};

/// ", in A³" for a unit, ", no unit" for a number without one. The panel writes
/// the daltons in brackets; a sentence does not.
std::string unitPhrase(std::string unit) {
    if (unit.size() > 2 && unit.front() == '(' && unit.back() == ')')
        unit = unit.substr(1, unit.size() - 2);
    return unit.empty() ? ", no unit" : ", in " + unit;
}

}  // namespace

std::string dataFieldTip(const PhysicalData& data, DataField field) {
    for (const FieldTip& tip : kFieldTips) {
        if (tip.field != field) continue;
        const std::string unit = unitText(quantityOfField(field), data, Notation::Panel);
        const bool size =
            field == DataField::SizeA || field == DataField::SizeB || field == DataField::SizeC;
        const bool ratio = field == DataField::EdgesRatio || field == DataField::VerticesRatio;
        return std::string(tip.what) + (ratio ? ", to the faces' 1" : unitPhrase(unit)) + ". " +
               tip.relation + (size ? kSizeKeys : "");
    }
    return {};
}

std::string unitComboTip(int combo) {
    static constexpr const char* kTips[] = {
        "System of units: choosing one sets every unit below to its units",
        "Unit of length: a, b, c and the bond length; v and S in its cube and square",
        "Unit of weight: the density",
        "Unit of energy: the enthalpies, the surface energy and the activation energy",
        "Unit of time: the frequencies, the rates and the Run panel's time step",
        "Temperature scale: T, To and Tl",
        "Unit of concentration: c and the porosity",
    };
    return combo >= 0 && combo < 7 ? kTips[combo] : "";
}

std::string dataControlTip(std::string_view control) {
    if (control == "Estimate")
        return "Estimates the surface energy from the bond: \u03c3 = 0.5 \u00b7 bond length \u00b7 "
               "\u0394Hv; \u03c3' follows.";
    if (control == "default")
        return "The default frequency of thermal vibrations \u03bd0; clear it to type \u03bd0. "
               "\u03bd = \u03bd0 e^(-Ea/kT) follows.";
    return {};
}

std::string runFieldTip(std::string_view key, const std::string& timeUnit) {
    if (key == "N_field_W")
        return "Width of the simulated field, in molecules. P = N / (Width \u00b7 Height).";
    if (key == "N_field_H")
        return "Height of the simulated field, in molecules. P = N / (Width \u00b7 Height).";
    if (key == "N_in_per_step")
        return "N, average jumps of molecules into the crystal per step. "
               "P = N / (Width \u00b7 Height) follows.";
    if (key == "Prob_in_at_step")
        return "P, probability for one molecule to jump in per step: "
               "P = N / (Width \u00b7 Height), no unit.";
    if (key == "Time_step")
        return "\u0394t step, the time of one step: P / \u03bd, with \u03bd the "
               "frequency of jumps of the Data panel, in " +
               timeUnit + ".";
    if (key == "Layers_limit") return "Layers of established growth after which the run stops.";
    if (key == "Time_simulattion_limit") return "Minutes of simulation after which the run stops.";
    if (key == "Time_simulattion_limit_first_layer")
        return "Minutes within which the first layer must be filled, or the run stops.";
    if (key == "Is_any_limits")
        return "The run goes on until it is stopped (Stop, or Shift+F5); the limits are hidden.";
    if (key == "Is_layers_limit") return "Stop after the number of layers beside it.";
    if (key == "Is_time_simulattion_limit") return "Stop after the minutes beside it.";
    if (key == "Is_time_simulattion_limit_first_layer")
        return "Stop when the first layer is not filled within the minutes beside it.";
    if (key == "Is_includes_porosity")
        return "Measure the porosity: holes left in the crystal count in this run.";
    return {};
}

std::string theoreticalChartDescription(const PhysicalData& data, const TemperatureSweep& sweep) {
    static constexpr const char* kCurves[] = {"growth rate V", "roughness R", "porosity P"};
    std::string shown;
    for (std::size_t i = 0; i < 3; ++i) {
        if (!data.Chart_show_curves[i]) continue;
        shown += (shown.empty() ? "" : ", ") + std::string(kCurves[i]);
    }
    std::string text =
        "Chart of the theory: " + shown + " of the a, b and c directions against the temperature";
    const std::string T = unitText(Dimension::Temperature, data, Notation::Panel);
    if (sweep.temperature.empty()) return text + ".";
    text += cformat(", from %g down to %g ", sweep.temperature.front(), sweep.temperature.back()) +
            T + ".";
    if (sweep.vMax > 0)
        text += cformat(" The fastest growth, %g ", sweep.vMax) +
                unitText(Dimension::Rate, data, Notation::Panel) +
                cformat(", is at %g ", sweep.tAtVMax) + T + ".";
    return text;
}

std::string frequencyChartDescription(const FrequencyChart& chart) {
    std::string title;
    for (const std::string& line : chart.yTitleLines) title += (title.empty() ? "" : " ") + line;
    return "Chart: " + title + " against " + chart.xTitle + ".";
}

std::string probabilityChartDescription(const ProbabilityChart& chart) {
    return "Chart: " + chart.outTitle + " and " + chart.inTitle + " against " + chart.xTitle + ".";
}

std::string resultsDescription(const std::vector<StatusLine>& status) {
    std::string text =
        "Growth chart of the current run: the grown distance, the roughness, the growth rate "
        "and the porosity against time.";
    if (status.empty()) return text;
    text += " Status:";
    for (const StatusLine& line : status) text += " " + line.text + ";";
    text.back() = '.';
    return text;
}

}  // namespace quorvane
