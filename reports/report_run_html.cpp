#include "reports/report_run_html.h"

#include <cstdint>

#include "common/cformat.h"
#include "common/version/version.h"
#include "engine/mechanism.h"
#include "model/units.h"
#include "reports/report_format.h"

namespace quorvane {
namespace {

constexpr const char* kPlusMinus = "\xB1";  // windows-1251, as the head declares

/// The report's rows, written with the data's accuracy digits.
class Rows {
  public:
    explicit Rows(int digits) : digits_(digits) {}
    void heading(const char* text) {
        out_ += cformat("<tr><td span=2><b>%s</b></td></tr>\n", text);
    }
    void value(const char* label, double value, const std::string& unit) {
        out_ += cformat("<tr><td>%s</td><td>%s</td><td>%s</td></tr>\n", label,
                        formatValue(value, digits_).c_str(), unit.c_str());
    }
    void line(const std::string& text) { out_ += text; }
    void spanned(const char* text) { out_ += cformat("<tr><td span=2>%s</td></tr>\n", text); }
    std::string take() { return std::move(out_); }

  private:
    int digits_;
    std::string out_;
};

struct UnitNames {
    std::string length, weight, energy, temperature, concentration, time;
    explicit UnitNames(const PhysicalData& d)
        : length(unitShortName(UnitKind::Length, d.dimension)),
          weight(unitShortName(UnitKind::Weight, d.weight)),
          energy(unitShortName(UnitKind::Energy, d.energy)),
          temperature(unitShortName(UnitKind::Temperature, d.temperature)),
          concentration(unitShortName(UnitKind::Concentration, d.concentration)),
          time(unitShortName(UnitKind::Time, d.time)) {}
    std::string rate() const { return length + "/" + time; }
    std::string cube() const { return length + "<sup>3</sup>"; }
    std::string square() const { return length + "<sup>2</sup>"; }
};

// Every picture is shown at the size it was drawn at: stretched, a chart's lines
// and numbers blur and its titles may leave the frame.
constexpr RunPictureInfo kPictures[] = {
    {"probabilities.jpg", "<img border=0 src='",
     "<tr><td>Probabilities of moleciule move in and out as function of part of its surface in "
     "direct connection with the crystal.</td></tr></table></p>\n"},
    {"theoreticalHalvik.jpg", "<img border=0 src='",
     "<tr><td>Theoretical charts from Halvik's formulas</td></tr></table></p>\n"},
    {"view.jpg", "<img border=0 src='",
     "<tr><td>Surface of growing crystal</td></tr></table></p>\n"},
    {"results.jpg", "<img border=0 src='",
     "<tr><td>Chart of parameters of growth</td></tr></table></p>\n"},
};

void moleculeRows(Rows& r, const PhysicalData& d, const UnitNames& u) {
    r.heading("Size and shape of molecule:");
    r.value("A (growth direction)", d.Size_A, u.length);
    r.value("B", d.Size_B, u.length);
    r.value("C", d.Size_C, u.length);
    r.heading("Ratios of surface in directions of:");
    r.value("faces", 1, "unitless");
    r.value("edges", d.edgesRatio, "unitless");
    r.value("vertices", d.verticesRatio, "unitless");
    r.heading("Characteristics of molecule:");
    r.value("Volume", d.Volume, u.cube());
    r.value("Surface", d.Surface, u.square());
    r.value("Molecular weight", d.Molecular_Weight, "Daltons");
    r.value("Dencity", d.Density, u.weight + "/" + u.cube());
}

void thermodynamicRows(Rows& r, const PhysicalData& d, const UnitNames& u) {
    r.heading("Thermodynamics:");
    r.value("Molar Enthalpy", d.Molecular_Enthaphie, u.energy + "/mol");
    r.value("Speciphic Enthalpy", d.Enthalpie, u.energy + "/" + u.cube());
    r.value("Surface energy", d.Surface_Energy, u.energy + "/" + u.square());
    r.value("Temperature", d.Temperature, u.temperature);
    r.value("Temperature of liquidus", d.Temperature_of_Liquidus, u.temperature);
    r.value("Temperature of melt", d.Temperature_of_Melt, u.temperature);
    r.value("Concentration", d.Concentration, u.concentration);
    r.value("Themal frequency of molecule vibration:", d.Frequency_of_Vibrations, "1/" + u.time);
    r.value("Activation energy", d.Activation_Energy, u.energy + "/mol");
    r.value("Frequency to jump in", d.Frequency_of_Jumps, "1/" + u.time);
    r.heading("General parameters:");
    r.value("Supercooling", d.General_Suupercooling, "unitless");
    r.value("Specific surface energy", d.General_Surface_Energy, "unitless");
    r.heading("Theoretical growth rates:");
    r.value("Continues growth mechanism", d.Va_continues, u.rate());
    r.value("Spiral growth mechanism", d.Va_spiral, u.rate());
    r.value("Two dimensional nucleation growth mechanism", d.Va_nuclei, u.rate());
}

void simulationRows(Rows& r, const RunSettings& run, const UnitNames& u) {
    r.heading("Parameters of simulation:");
    r.heading("Size of simulation field:");
    r.value("Width:", run.N_field_W, "unitless");
    r.value("Height:", run.N_field_H, "unitless");
    r.heading("Parameters of molecule incorporation:");
    r.value("Average number of molecules jump in per step:", run.N_in_per_step, "unitless");
    r.value("Probability for given molecule to jump in per step:", run.Prob_in_at_step, "unitless");
    r.value("Time step:", run.Time_step, u.time);
}

/// Ratios are held as fractions and shown as parts, or as percent in mode 1.
struct RatioDisplay {
    bool percent;
    double operator()(double fraction) const { return percent ? fraction * 100 : fraction; }
    const char* unit() const { return percent ? "%" : "parts"; }
};

void currentStatusRows(Rows& r, const RunResultInputs& in, const UnitNames& u,
                       const RatioDisplay& ratio) {
    const PhysicalData& d = in.data;
    const RunEvaluation& ev = in.evaluation;
    r.heading("Current status from start:");
    r.value("Number of steps", ev.steps, "integer");
    r.value("Time of growth", ev.timeOfGrowth * TimeUnitsPerSecond(d.time), u.time);
    r.value("Distance", ev.finalHeight * d.Size_A,
            cformat("%s, (%d layers)", u.length.c_str(), ev.layersReached));
    r.value("Roughness", ev.finalRoughness * d.Size_A,
            cformat("%s, (%.4g layers)", u.length.c_str(), ev.finalRoughness));
    if (in.porous) {
        r.value("Hole like defects", ratio(ev.finalPorosity), ratio.unit());
    } else {
        r.line("<tr><td>Hole like defects</td><td>not concidered</td><td> </td></tr>\n");
    }
    const std::int64_t seconds = ev.simulationSeconds;
    r.line(cformat("<tr><td>%s</td><td span=2>%s</td><td> </td></tr>\n",
                   "Computer time of simulation:",
                   cformat("%d minutes %d seconds of simulaton", static_cast<int>(seconds / 60),
                           static_cast<int>(seconds % 60))
                       .c_str()));
}

void averageRows(Rows& r, const RunResultInputs& in, const UnitNames& u,
                 const RatioDisplay& ratio) {
    const PhysicalData& d = in.data;
    const RunEvaluation& ev = in.evaluation;
    const double toTime = TimeUnitsPerSecond(d.time);
    // The record counts layers per second; the report speaks in lengths per time unit.
    const double rate = ev.rateMean * d.Size_A * SecondsPerTimeUnit(d.time);
    auto spread = [&](double seconds) {
        return u.time + " (" + kPlusMinus + cformat("%g", seconds * toTime) + ")";
    };
    r.heading("Average parameters:");
    r.value("Growth rate", rate, u.rate());
    r.value("Growth rate/continues growth rate", ratio(ev.rateParts), ratio.unit());
    r.value("Time to fill one layer", ev.fillMean * toTime, spread(ev.fillStd));
    r.value("Time to start of filling new layer", ev.startMean * toTime, spread(ev.startStd));
    r.value("Induction period", ratio(ev.inductionRatio), ratio.unit());
}

void finalAnalysisRows(Rows& r, const RunResultInputs& in, const UnitNames& u,
                       const RatioDisplay& ratio) {
    const PhysicalData& d = in.data;
    const RunEvaluation& ev = in.evaluation;
    r.heading("Final analysis:");
    r.spanned(mechanismText(ev.mechanism));
    // The calibrated growth regime stands beside the induction-ratio mechanism.
    if (in.growthRegime)
        r.line(cformat("<tr><td>Growth regime</td><td span=2>%s</td></tr>\n",
                       escapeHtml(*in.growthRegime).c_str()));
    if (ev.mechanism == kContinuousGrowth || ev.mechanism == kIntermediateMechanism) {
        if (!ev.stableGrowthFound()) {
            r.spanned("Stable growth is not established yet");
            return;
        }
        r.value("Average growth rate", ev.stableRate, u.rate());
        r.value("Average growth rate/continues growth rate", ratio(ev.stableRateParts),
                ratio.unit());
        r.value("Average roughness", ev.stableRoughnessLength,
                cformat("%s (%.3g layers)", u.length.c_str(), ev.stableRoughness));
        if (in.porous) r.value("Average porosity", ratio(ev.stablePorosity), ratio.unit());
    } else if (ev.mechanism == kTwoDimensionalNucleation) {
        // Nucleation is judged over the whole run: its mean rate and that rate
        // against continuous growth, in the same units as the averages above.
        r.value("Average growth rate", ev.rateMean * d.Size_A * SecondsPerTimeUnit(d.time),
                u.rate());
        r.value("Average growth rate/continues growth rate", ratio(ev.rateParts), ratio.unit());
    }
}

}  // namespace

const RunPictureInfo& runPictureInfo(RunPicture picture) {
    return kPictures[static_cast<int>(picture)];
}

std::string runReportHead(const std::string& runName) {
    const std::string name = escapeHtml(runName);
    std::string out;
    out += cformat("<html><body><title>%s</title>\n", name.c_str());
    out +=
        "<head><meta http-equiv='Content-Type' content='text/html; "
        "charset=windows-1251'></head>\n";
    // The build that wrote the report, so that its numbers can be traced to it.
    out += "<!-- Written by Quorvane " + versionText() + " -->\n";
    out += cformat("<p><h3>Report of run: %s</h3>\n", name.c_str());
    out += "<font size=4><b>Input parameters:</b></font><br>\n";
    out += "<table>\n";
    return out;
}

std::string runReportInputTable(const PhysicalData& data, const RunSettings& run) {
    const UnitNames units(data);
    Rows rows(data.accuracy);
    moleculeRows(rows, data, units);
    thermodynamicRows(rows, data, units);
    simulationRows(rows, run, units);
    rows.line("</table>\n");
    return rows.take();
}

std::string runReportPictureBlock(RunPicture picture, const std::string& relativePath) {
    const RunPictureInfo& info = runPictureInfo(picture);
    std::string out = "<p><table width=700><tr><td>\n";
    out += info.imageOpening + relativePath + "'>\n";
    out += "<td></tr>\n";
    out += info.caption;
    return out;
}

std::string runReportResults(const RunResultInputs& in) {
    if (in.evaluation.steps <= 0)
        return "<font><b>No data collected yet.</b></font><br>\n</table>\n";
    const UnitNames units(in.data);
    const RatioDisplay ratio{in.data.concentration == 1};
    Rows rows(in.data.accuracy);
    rows.line("<font size=4><b>Result of simulation run:</b></font><br>\n");
    rows.line("<table>\n");
    currentStatusRows(rows, in, units, ratio);
    averageRows(rows, in, units, ratio);
    finalAnalysisRows(rows, in, units, ratio);
    rows.line("</table>\n");
    return rows.take();
}

}  // namespace quorvane
