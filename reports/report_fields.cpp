#include "reports/report_fields.h"

#include "model/directional_rates.h"
#include "model/units.h"
#include "reports/report_format.h"

namespace quorvane {

void ReportFields::set(const std::string& key, const std::string& value) {
    for (std::size_t i = 0; i < keys_.size(); ++i) {
        if (keys_[i] == key) {
            values_[i] = value;
            return;
        }
    }
    keys_.push_back(key);
    values_.push_back(value);
}

const std::string* ReportFields::find(std::string_view key) const {
    for (std::size_t i = 0; i < keys_.size(); ++i)
        if (keys_[i] == key) return &values_[i];
    return nullptr;
}

std::string ReportFields::replaceInLine(std::string line) const {
    for (int pass = 0; pass < kMaxPasses && line.find('_') != std::string::npos; ++pass) {
        std::size_t k = 0;
        while (k < keys_.size() && line.find(keys_[k]) == std::string::npos) ++k;
        if (k == keys_.size()) break;
        const std::string& key = keys_[k];
        const std::string& value = values_[k];
        // One pass replaces the occurrences present now; a value that brings
        // the key back waits for the next pass.
        std::string out;
        std::size_t from = 0;
        for (std::size_t at = line.find(key); at != std::string::npos; at = line.find(key, from)) {
            out.append(line, from, at - from);
            out += value;
            from = at + key.size();
        }
        out.append(line, from, std::string::npos);
        line = std::move(out);
    }
    return line;
}

void setValueFields(ReportFields& f, const PhysicalData& d) {
    const int digits = d.accuracy;
    auto number = [&](const char* key, double value) {
        f.set(key, reportFieldNumber(value, digits));
    };
    f.set("_size_u|", unitShortName(UnitKind::Length, d.dimension));
    f.set("_time_u|", unitShortName(UnitKind::Time, d.time));
    f.set("_energy_u|", unitShortName(UnitKind::Energy, d.energy));
    f.set("_weight_u|", unitShortName(UnitKind::Weight, d.weight));
    f.set("_conc_u|", unitShortName(UnitKind::Concentration, d.concentration));
    f.set("_temp_u|", unitShortName(UnitKind::Temperature, d.temperature));
    number("_a|", d.Size_A);
    number("_b|", d.Size_B);
    number("_c|", d.Size_C);
    // The ratios as the user typed them: the text is what the data file keeps.
    f.set("_etf|", d.Parts_of_surface_for_edges);
    f.set("_vtf|", d.Parts_of_surface_for_vertices);
    const DirectionalRates r = directionalRates(d);
    number("_sf|", r.faceEdgeVertexShares[0]);
    number("_se|", r.faceEdgeVertexShares[1]);
    number("_sv|", r.faceEdgeVertexShares[2]);
    number("_V|", d.Volume);
    number("_S|", d.Surface);
    number("_M|", d.Molecular_Weight);
    number("_d|", d.Density);
    number("_Hmol|", d.Molecular_Enthaphie);
    number("_Hvol|", d.Enthalpie);
    number("_T0|", d.Temperature_of_Melt);
    number("_Tl|", d.Temperature_of_Liquidus);
    number("_T|", d.Temperature);
    number("_concentration|", d.Concentration);
    number("_surf_ergy|", d.Surface_Energy);
    number("_fr_own|", d.Frequency_of_Vibrations);
    number("_Ea|", d.Activation_Energy);
    number("_frjmp|", d.Frequency_of_Jumps);
    number("_Boltzman|", JoulesToEnergyUnit(kBoltzmann, d.energy));
    number("_dG|", d.General_Suupercooling);
    number("_sigma_specfic||", d.General_Surface_Energy);
    static constexpr const char* kAxes[] = {"A|", "B|", "C|"};
    const std::array<double, 3> halvikRate{d.Va_kes, d.Vb_kes, d.Vc_kes};
    const std::array<double, 3> halvikRoughness{d.Rf_a_kes, d.Rf_b_kes, d.Rf_c_kes};
    const std::array<double, 3> halvikPorosity{d.Pf_a_kes, d.Pf_b_kes, d.Pf_c_kes};
    auto perAxis = [&](const std::string& stem, const std::array<double, 3>& values) {
        for (std::size_t i = 0; i < 3; ++i) number((stem + kAxes[i]).c_str(), values[i]);
    };
    perAxis("_Vcont_", r.continuous);
    perAxis("_Rcrit_", r.criticalRadius);
    perAxis("_Vspiral_", r.spiral);
    perAxis("_Vnuclei_", r.nucleation);
    perAxis("_v_", r.halvikEstimate);
    perAxis("_V_halvik_", halvikRate);
    perAxis("_R_halvik_", halvikRoughness);
    perAxis("_P_halvik_", halvikPorosity);
}

std::string fillTemplate(std::string_view text, const ReportFields& fields) {
    // fgets with a 1000-byte buffer: at most 999 characters a read, and a read
    // ends after a line end.
    constexpr std::size_t kPiece = 999;
    std::string out;
    out.reserve(text.size() * 2);
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        end = end == std::string_view::npos ? text.size() : end + 1;
        if (end - at > kPiece) end = at + kPiece;
        out += fields.replaceInLine(std::string(text.substr(at, end - at)));
        out += '\n';
        at = end;
    }
    return out;
}

}  // namespace quorvane
