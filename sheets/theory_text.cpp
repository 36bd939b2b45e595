#include "sheets/theory_text.h"

#include <cmath>

#include "common/cformat.h"
#include "model/data_fields.h"
#include "model/quantity_schema.h"

namespace quorvane {
namespace {

constexpr const char* kAxes[3] = {"a", "b", "c"};

bool directionDefined(const PhysicalData& d, bool computed, int i) {
    return computed && d.definedDirections[static_cast<std::size_t>(i)] != 0;
}

std::string rateRows(const PhysicalData& d, bool computed, const std::string& rate) {
    const double rates[3] = {d.Va_kes, d.Vb_kes, d.Vc_kes};
    const double factors[3] = {d.K_a, d.K_b, d.K_c};
    std::string rows = "<tr><td colspan=3><b>Growth rates:</b></td></tr>";
    for (int i = 0; i < 3; ++i) {
        const bool defined = directionDefined(d, computed, i);
        rows += cformat(
            "<tr><td><i>V</i><sub>%s</sub> = </td><td>%s %s</td><td>= %s*V "
            "<sub>%s cont</sub></td></tr>",
            kAxes[i], theoryValueText(rates[i], d.accuracy, defined).c_str(), rate.c_str(),
            theoryValueText(factors[i], d.accuracy, defined).c_str(), kAxes[i]);
    }
    return rows;
}

std::string roughnessRows(const PhysicalData& d, bool computed) {
    const double rough[3] = {d.Rf_a_kes, d.Rf_b_kes, d.Rf_c_kes};
    std::string rows = "<tr><td colspan=3><b>Roughness:</b></td></tr>";
    for (int i = 0; i < 3; ++i) {
        const bool defined = directionDefined(d, computed, i);
        rows +=
            cformat("<tr><td><i>R</i><sub>%s</sub> = </td><td colspan=2>%s (%s layers)</td></tr>",
                    kAxes[i], theoryValueText(rough[i], d.accuracy, defined).c_str(), kAxes[i]);
    }
    return rows;
}

std::string porosityRows(const PhysicalData& d, bool computed) {
    const double pores[3] = {d.Pf_a_kes, d.Pf_b_kes, d.Pf_c_kes};
    const std::string unit = unitText(Dimension::Concentration, d, Notation::Panel);
    std::string rows = "<tr><td colspan=3><b>Porosity:</b></td></tr>";
    for (int i = 0; i < 3; ++i) {
        const bool defined = directionDefined(d, computed, i) && std::isfinite(pores[i]);
        // A porosity of exactly 0 is a value, not a missing one.
        const std::string value = defined ? formatTheoryValue(pores[i], d.accuracy) : "undefined";
        rows += cformat("<tr><td><i>P</i><sub>%s</sub> = </td><td colspan=2>%s %s</td></tr>",
                        kAxes[i], value.c_str(), unit.c_str());
    }
    return rows;
}

}  // namespace

std::string theoryValueText(double x, int digits, bool defined) {
    if (!defined || !std::isfinite(x) || x <= 0) return "undefined";
    return formatTheoryValue(x, digits);
}

std::string theoryHtml(const PhysicalData& d, bool computed) {
    const int n = d.accuracy;
    const std::string L = unitText(Dimension::Length, d, Notation::Panel);
    const std::string rate = unitText(Dimension::Rate, d, Notation::Panel);
    auto row = [&](const char* symbol, const char* sub, double value, const std::string& unit) {
        return cformat("<tr><td><i>%s</i><sub>%s</sub> = </td><td>%s %s</td></tr>", symbol, sub,
                       theoryValueText(value, n, computed).c_str(), unit.c_str());
    };
    return "<table cellspacing=2>" + row("V", "continues", d.Va_continues, rate) +
           row("r", "crit", d.r_crit, L) + row("V", "spiral", d.Va_spiral, rate) +
           row("V", "nuclei", d.Va_nuclei, rate) + "</table>";
}

std::string predictionHtml(const PhysicalData& d, bool computed) {
    const std::string rate = unitText(Dimension::Rate, d, Notation::Panel);
    return "<table cellspacing=2>" + rateRows(d, computed, rate) + roughnessRows(d, computed) +
           porosityRows(d, computed) + "</table>";
}

}  // namespace quorvane
