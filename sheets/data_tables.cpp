#include "sheets/data_tables.h"

#include "common/cformat.h"
#include "model/temperature_sweep.h"
#include "model/units.h"
#include "sheets/engine_charts.h"

namespace quorvane {

std::string theoryTableText(const PhysicalData& d, int steps) {
    const TemperatureSweep sweep = sweepTemperatures(d, steps);
    const char* L = unitShortName(UnitKind::Length, d.dimension);
    const char* t = unitShortName(UnitKind::Time, d.time);
    const char* T = unitShortName(UnitKind::Temperature, d.temperature);
    const char* c = unitShortName(UnitKind::Concentration, d.concentration);
    std::string text =
        cformat("Maximum of growth rate\t%g\t%s\t%g\t%s/%s\n", sweep.tAtVMax, T, sweep.vMax, L, t);
    text += cformat(
        "T (%s)\tVa (%s/%s)\tVb (%s/%s)\tVc (%s/%s)\tRa (layers)\tRb (layers)\t"
        "Rc (layers)\tPa (%s)\tPb (%s)\tPc (%s)\n",
        T, L, t, L, t, L, t, c, c, c);
    for (std::size_t i = 0; i < sweep.temperature.size(); ++i) {
        text += cformat("%g", sweep.temperature[i]);
        for (int column = 0; column < 3; ++column) {
            for (int dir = 0; dir < 3; ++dir) {
                const HalvikCurve& curve = sweep.curves[dir];
                const std::vector<double>& values = column == 0   ? curve.rate
                                                    : column == 1 ? curve.roughness
                                                                  : curve.porosity;
                text += i < values.size() ? cformat("\t%g", values[i]) : std::string("\t");
            }
        }
        text += "\n";
    }
    return text;
}

std::string chartCurvesText(const PhysicalData& d, int steps) {
    const TemperatureSweep sweep = sweepTemperatures(d, steps);
    const HalvikCurve& curve = sweep.curves[0];  // growth along a
    const char* L = unitShortName(UnitKind::Length, d.dimension);
    const char* t = unitShortName(UnitKind::Time, d.time);
    const char* c = unitShortName(UnitKind::Concentration, d.concentration);
    const bool shown[3] = {d.Chart_show_curves[0] != 0, d.Chart_show_curves[1] != 0,
                           d.Chart_show_curves[2] != 0};
    std::string text =
        cformat("Temperature, %s", unitShortName(UnitKind::Temperature, d.temperature));
    if (shown[0]) text += cformat("\tGrowth rate, %s/%s", L, t);
    if (shown[1]) text += "\tRoughness, (layers)";
    if (shown[2]) text += cformat("\tPorosity, (%s)", c);
    text += "\n";
    for (std::size_t i = 0; i < sweep.temperature.size(); ++i) {
        text += cformat("%g", sweep.temperature[i]);
        const std::vector<double>* columns[3] = {&curve.rate, &curve.roughness, &curve.porosity};
        for (int k = 0; k < 3; ++k)
            if (shown[k]) text += i < columns[k]->size() ? cformat("\t%g", (*columns[k])[i]) : "\t";
        text += "\n";
    }
    return text;
}

std::string probabilityTableText(const PhysicalData& d, const RunSettings& run) {
    const EngineCharts charts = engineChartsFor(d, run);
    if (!charts.probability) return {};
    const ProbabilityChart& chart = *charts.probability;
    std::string text = "Part of molecule on surface in direct contact with crystal\t" +
                       chart.outTitle + "\t" + chart.inTitle + "\n";
    for (std::size_t i = 0; i < chart.contactFraction.size(); ++i)
        text += cformat("%g\t%g\t%g\n", chart.contactFraction[i], chart.outProbability[i],
                        chart.inProbability[i]);
    return text;
}

}  // namespace quorvane
