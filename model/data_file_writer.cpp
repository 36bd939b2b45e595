// Writing the data file: every line in its fixed order and C format.

#include <algorithm>

#include "common/cformat.h"
#include "common/file_io.h"
#include "model/data_file.h"
#include "model/units.h"

namespace quorvane {
namespace {

/// The short names of the data's current units, as the file labels its numbers.
struct UnitNames {
    const char* length;
    const char* weight;
    const char* energy;
    const char* temperature;
    const char* time;
    const char* concentration;
};

UnitNames unitNames(const PhysicalData& d) {
    return {unitShortName(UnitKind::Length, d.dimension),
            unitShortName(UnitKind::Weight, d.weight),
            unitShortName(UnitKind::Energy, d.energy),
            unitShortName(UnitKind::Temperature, d.temperature),
            unitShortName(UnitKind::Time, d.time),
            unitShortName(UnitKind::Concentration, d.concentration)};
}

/// A typed text on one line of its own: a line break would end the record
/// early and turn the rest into a line of its own (a key of the caller's
/// choosing). In the probability list a line break separates items, as a comma
/// does; every other control character becomes a blank.
std::string singleLine(std::string text, char replacement) {
    for (char& c : text) {
        if (c == '\n' || c == '\r') {
            c = replacement;
        } else if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7f) {
            c = ' ';
        }
    }
    return text;
}

void appendUnits(std::string& out, const PhysicalData& d, const UnitNames& u) {
    out += "Content,Data\n";
    out += "Units,Index,Name\n";
    out += cformat("system,%d\n", d.system);
    out += cformat("dimension,%d,%s\n", d.dimension, u.length);
    out += cformat("weight,%d,%s\n", d.weight, u.weight);
    out += cformat("energy,%d,%s\n", d.energy, u.energy);
    out += cformat("temperature,%d,%s\n", d.temperature, u.temperature);
    out += cformat("time,%d,%s\n", d.time, u.time);
    out += cformat("concentration,%d,%s\n", d.concentration, u.concentration);
    out += cformat("accuracy,%d,digits\n", d.accuracy);
}

void appendQuantities(std::string& out, const PhysicalData& d, const UnitNames& u) {
    out += "Variable,Value,Unit\n";
    out += cformat("Size_A,%g,%s\n", d.Size_A, u.length);
    out += cformat("Size_B,%g,%s\n", d.Size_B, u.length);
    out += cformat("Size_C,%g,%s\n", d.Size_C, u.length);
    out += cformat("Enthalpie,%g,%s/%s^3\n", d.Enthalpie, u.energy, u.length);
    out += cformat("Molecular_Weight,%g,Daltons\n", d.Molecular_Weight);
    out += cformat("Surface_Energy,%g,%s/%s^2\n", d.Surface_Energy, u.energy, u.length);
    out += cformat("Temperature_of_Liquidus,%g,%s\n", d.Temperature_of_Liquidus, u.temperature);
    out += cformat("Temperature_of_Melt,%g,%s\n", d.Temperature_of_Melt, u.temperature);
    out += cformat("Temperature,%g,%s\n", d.Temperature, u.temperature);
    out += cformat("Frequency_of_Vibrations,%g,1/%s\n", d.Frequency_of_Vibrations, u.time);
    out += cformat("Is_Frequency_of_Vibrations_Set_Default,%d,Yes=1_or_No=0\n",
                   d.Is_Frequency_of_Vibrations_Set_Default);
    out += cformat("Activation_Energy,%g,%s/mol\n", d.Activation_Energy, u.energy);
    out += cformat("Density,%g,%s/%s^3\n", d.Density, u.weight, u.length);
    out += cformat("Molecular_Enthaphie,%g,%s/mol\n", d.Molecular_Enthaphie, u.energy);
    out += cformat("Concentration,%g,%s\n", d.Concentration, u.concentration);
    out += cformat("General_Suupercooling,%g,Dimensionless\n", d.General_Suupercooling);
    out += cformat("General_Surface_Energy,%g,Dimensionless\n", d.General_Surface_Energy);
    out += cformat("Frequency_of_Jumps,%g,1/%s\n", d.Frequency_of_Jumps, u.time);
    out += cformat("Surface,%g,%s^2\n", d.Surface, u.length);
    out += cformat("Volume,%g,%s^3\n", d.Volume, u.length);
}

/// The theoretical results, for the reader of the file; never read back.
void appendTheory(std::string& out, const PhysicalData& d, const UnitNames& u) {
    out += cformat("Va_continues,%g,%s/%s\n", d.Va_continues, u.length, u.time);
    out += cformat("Va_spiral,%g,%s/%s\n", d.Va_spiral, u.length, u.time);
    out += cformat("Va_nuclei,%g,%s/%s\n", d.Va_nuclei, u.length, u.time);
    out += cformat("Va_kes,%g,%s/%s\n", d.Va_kes, u.length, u.time);
    out += cformat("Vb_kes,%g,%s/%s\n", d.Vb_kes, u.length, u.time);
    out += cformat("Vc_kes,%g,%s/%s\n", d.Vc_kes, u.length, u.time);
    out += cformat("Rf_a_kes,%g,Layers_a\n", d.Rf_a_kes);
    out += cformat("Rf_b_kes,%g,Layers_b\n", d.Rf_b_kes);
    out += cformat("Rf_c_kes,%g,Layers_c\n", d.Rf_c_kes);
    out += cformat("Pf_a_kes,%g,Parts_a\n", d.Pf_a_kes);
    out += cformat("Pf_b_kes,%g,Parts_b\n", d.Pf_b_kes);
    out += cformat("Pf_c_kes,%g,Parts_c\n", d.Pf_c_kes);
}

void appendRunSettings(std::string& out, const PhysicalData& d, const RunSettings& r) {
    out += cformat("Chart_show_curves,%d,%d,%d\n", d.Chart_show_curves[0], d.Chart_show_curves[1],
                   d.Chart_show_curves[2]);
    out += cformat("Paint_temp_curve_with_zoom,%g\n", d.Paint_temp_curve_with_zoom);
    out += cformat("N_field_W,%d,unitless\n", r.N_field_W);
    out += cformat("N_field_H,%d,unitless\n", r.N_field_H);
    out += cformat("N_in_per_step,%g,unitless\n", r.N_in_per_step);
    out += cformat("Prob_in_at_step,%g,unitless\n", r.Prob_in_at_step);
    out += cformat("Time_step,%g,sec\n", r.Time_step);
    out += cformat("Layers_limit,%g,Layers\n", r.Layers_limit);
    out += cformat("Time_simulattion_limit,%g,min\n", r.Time_simulattion_limit);
    out += cformat("Time_simulattion_limit_first_layer,%g,min\n",
                   r.Time_simulattion_limit_first_layer);
    out += cformat("Is_layers_limit,%d,Yes=1_or_No=0\n", r.Is_layers_limit);
    out += cformat("Is_time_simulattion_limit,%d,Yes=1_or_No=0\n", r.Is_time_simulattion_limit);
    out += cformat("Is_time_simulattion_limit_first_layer,%d,Yes=1_or_No=0\n",
                   r.Is_time_simulattion_limit_first_layer);
    out += cformat("Is_any_limits,%d,Yes=1_or_No=0\n", r.Is_any_limits);
}

void appendShape(std::string& out, const PhysicalData& d, const RunSettings& r,
                 const UnitNames& u) {
    out += cformat("%s,%s\n", "Parts_of_surface_for_edges",
                   singleLine(d.Parts_of_surface_for_edges, ' ').c_str());
    out += cformat("%s,%s\n", "Parts_of_surface_for_vertices",
                   singleLine(d.Parts_of_surface_for_vertices, ' ').c_str());
    out += cformat("%s,%s,%s\n", "Characterictic_length_of_bond",
                   singleLine(d.Characterictic_length_of_bond, ' ').c_str(), u.length);
    out += cformat("%s,%d\n", "Is_includes_porosity", r.Is_includes_porosity);
}

void appendRandomArguments(std::string& out, const std::vector<RandomArgument>& arguments) {
    for (size_t i = 0; i < arguments.size(); ++i) {
        const RandomArgument& a = arguments[i];
        out += cformat("%s_%d,%s,%d,%g,%g,%g,%g,%d", "Random_argument_", static_cast<int>(i),
                       singleLine(a.name, ' ').c_str(), a.editMode, a.min, a.max, a.below, a.above,
                       static_cast<int>(a.bins.size()));
        for (double bin : a.bins) out += cformat(",%g", bin);
        out += "\n";
    }
}

void appendResearch(std::string& out, const ResearchSettings& s) {
    out += cformat("%s,%d\n", "Do_optimize_run_probabilities", s.Do_optimize_run_probabilities);
    out += cformat("%s,%d\n", "Sheme_for_running_with_porosity", s.Sheme_for_running_with_porosity);
    out += cformat("%s,%d\n", "Do_exit_when_less_than_N_layers_filled",
                   s.Do_exit_when_less_than_N_layers_filled);
    out += cformat("%s,%d\n", "Theshold_of_layesr_to_fill", s.Theshold_of_layesr_to_fill);
    out += cformat("%s,%d\n", "N_terms_inInterpolation", s.N_terms_inInterpolation);
    out += cformat("%s,%d\n", "Values_to_try_as_loop_or_list", s.Values_to_try_as_loop_or_list);
    out += cformat("%s,%s\n", "Start_loop_from", singleLine(s.Start_loop_from, ' ').c_str());
    out += cformat("%s,%s\n", "Step_in_loop", singleLine(s.Step_in_loop, ' ').c_str());
    out += cformat("%s,%s\n", "N_steps_in_loop", singleLine(s.N_steps_in_loop, ' ').c_str());
    out += cformat("%s,%d\n", "Number_values_in_array_to_try", static_cast<int>(s.values.size()));
    out += cformat("%s,%s\n", "List_of_values_to_try",
                   singleLine(s.List_of_values_to_try, ',').c_str());
}

}  // namespace

std::string formatDataFile(const DataDocument& document) {
    const PhysicalData& d = document.data;
    UnitNames names = unitNames(d);
    std::string out;
    appendUnits(out, d, names);
    appendQuantities(out, d, names);
    appendTheory(out, d, names);
    appendRunSettings(out, d, document.run);
    appendShape(out, d, document.run, names);
    appendRandomArguments(out, document.randomArguments);
    appendResearch(out, document.research);
    return out;
}

DataFileWriteResult WriteDataFile(const std::string& path, const DataDocument& document,
                                  Platform& platform) {
    DataFileWriteResult result;
    result.path = path;
    result.written = writeFileAtomically(path, formatDataFile(document));
    if (!result.written) platform.message(kCannotWriteMessage);
    return result;
}

}  // namespace quorvane
