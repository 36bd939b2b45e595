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

std::string ReportFields::replaceInLine(const std::string& line) const {
    // One pass over the line: a value is copied as it stands and never read
    // again for keys, so no value can grow by its own key or by another's.
    std::string out;
    std::size_t copied = 0;
    for (std::size_t at = line.find('_'); at != std::string::npos; at = line.find('_', at)) {
        std::size_t k = 0;
        while (k < keys_.size() && line.compare(at, keys_[k].size(), keys_[k]) != 0) ++k;
        if (k == keys_.size()) {
            ++at;
            continue;
        }
        out.append(line, copied, at - copied);
        out += values_[k];
        at += keys_[k].size();
        copied = at;
    }
    out.append(line, copied, std::string::npos);
    return out;
}

namespace {

/// The quantities the template names by a placeholder of their own.
struct NumberField {
    const char* key;
    double PhysicalData::*member;
};
constexpr NumberField kSizeFields[] = {
    {"_a|", &PhysicalData::Size_A},
    {"_b|", &PhysicalData::Size_B},
    {"_c|", &PhysicalData::Size_C},
};
constexpr NumberField kMoleculeFields[] = {
    {"_V|", &PhysicalData::Volume},
    {"_S|", &PhysicalData::Surface},
    {"_M|", &PhysicalData::Molecular_Weight},
    {"_d|", &PhysicalData::Density},
    {"_Hmol|", &PhysicalData::Molecular_Enthaphie},
    {"_Hvol|", &PhysicalData::Enthalpie},
    {"_T0|", &PhysicalData::Temperature_of_Melt},
    {"_Tl|", &PhysicalData::Temperature_of_Liquidus},
    {"_T|", &PhysicalData::Temperature},
    {"_concentration|", &PhysicalData::Concentration},
    {"_surf_ergy|", &PhysicalData::Surface_Energy},
    {"_fr_own|", &PhysicalData::Frequency_of_Vibrations},
    {"_Ea|", &PhysicalData::Activation_Energy},
    {"_frjmp|", &PhysicalData::Frequency_of_Jumps},
};
constexpr NumberField kGeneralFields[] = {
    {"_dG|", &PhysicalData::General_Suupercooling},
    {"_sigma_specfic||", &PhysicalData::General_Surface_Energy},
};

void setUnitFields(ReportFields& f, const PhysicalData& d) {
    auto unit = [&](const char* key, UnitKind kind, int index) {
        f.set(key, escapeHtml(unitShortName(kind, index)));
    };
    unit("_size_u|", UnitKind::Length, d.dimension);
    unit("_time_u|", UnitKind::Time, d.time);
    unit("_energy_u|", UnitKind::Energy, d.energy);
    unit("_weight_u|", UnitKind::Weight, d.weight);
    unit("_conc_u|", UnitKind::Concentration, d.concentration);
    unit("_temp_u|", UnitKind::Temperature, d.temperature);
}

/// The rates, radii, roughness and porosity of the three growth directions.
void setDirectionFields(ReportFields& f, const PhysicalData& d, const DirectionalRates& r) {
    static constexpr const char* kAxes[] = {"A|", "B|", "C|"};
    const std::array<double, 3> halvikRate{d.Va_kes, d.Vb_kes, d.Vc_kes};
    const std::array<double, 3> halvikRoughness{d.Rf_a_kes, d.Rf_b_kes, d.Rf_c_kes};
    const std::array<double, 3> halvikPorosity{d.Pf_a_kes, d.Pf_b_kes, d.Pf_c_kes};
    auto perAxis = [&](const std::string& stem, const std::array<double, 3>& values) {
        for (std::size_t i = 0; i < 3; ++i)
            f.set(stem + kAxes[i], reportFieldNumber(values[i], d.accuracy));
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

}  // namespace

void setValueFields(ReportFields& f, const PhysicalData& d) {
    auto number = [&](const char* key, double value) {
        f.set(key, reportFieldNumber(value, d.accuracy));
    };
    // The keys keep the order the table has always had: a report's fields are
    // listed in it.
    setUnitFields(f, d);
    for (const NumberField& field : kSizeFields) number(field.key, d.*field.member);
    // The ratios as the user typed them (the text is what the data file
    // keeps), as text of the page.
    f.set("_etf|", escapeHtml(d.Parts_of_surface_for_edges));
    f.set("_vtf|", escapeHtml(d.Parts_of_surface_for_vertices));
    const DirectionalRates r = directionalRates(d);
    number("_sf|", r.faceEdgeVertexShares[0]);
    number("_se|", r.faceEdgeVertexShares[1]);
    number("_sv|", r.faceEdgeVertexShares[2]);
    for (const NumberField& field : kMoleculeFields) number(field.key, d.*field.member);
    number("_Boltzman|", JoulesToEnergyUnit(kBoltzmann, d.energy));
    for (const NumberField& field : kGeneralFields) number(field.key, d.*field.member);
    setDirectionFields(f, d, r);
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
