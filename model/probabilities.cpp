#include "model/probabilities.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "common/cformat.h"
#include "engine/transition_rates.h"

namespace quorvane {

std::optional<double> timeStepFor(double P, const PhysicalData& data) {
    // One step gives a column the chance P of a molecule; the real column
    // receives molecules at nu_s per second, so a step lasts P / nu_s seconds.
    if (data.nu_s == 0) return std::nullopt;
    double step = P / data.nu_s * TimeUnitsPerSecond(data.time);
    if (!std::isfinite(step)) return std::nullopt;
    return step;
}

bool recomputeProbabilityAndTimeStep(RunSettings& run, const PhysicalData& data) {
    bool complete = true;
    double cells = static_cast<double>(run.N_field_W) * run.N_field_H;
    if (cells > 0) {
        run.Prob_in_at_step = run.N_in_per_step / cells;
    } else {
        complete = false;
    }
    if (auto step = timeStepFor(run.Prob_in_at_step, data)) {
        run.Time_step = *step;
    } else {
        complete = false;
    }
    return complete;
}

std::optional<std::uint32_t> probabilityThreshold(double P) {
    if (std::isnan(P)) return std::nullopt;
    P = std::clamp(P, 0.0, 1.0);
    return static_cast<std::uint32_t>(P * 4294967295.0);
}

std::optional<EngineInputs> makeEngineInputs(const PhysicalData& data, const RunSettings& run) {
    auto Pint = probabilityThreshold(run.Prob_in_at_step);
    if (!Pint) return std::nullopt;
    EngineInputs in;
    in.E0 = data.General_Suupercooling;
    in.E8 = data.General_Surface_Energy;
    in.Pint = *Pint;
    in.a = data.Size_A;
    in.b = data.Size_B;
    in.c = data.Size_C;
    in.W = run.N_field_W;
    in.H = run.N_field_H;
    in.edgeWeight = data.edgesRatio;
    in.vertexWeight = data.verticesRatio;
    return in;
}

namespace {

/// Relative frequency to leave for contact fraction phi (frequency in = 1).
double frequencyOut(double E0, double E8, double phi) {
    return std::exp((1 - 2 * phi) * E8 - E0);
}

void widenRange(double value, double& low, double& high) {
    if (!std::isfinite(value)) return;
    low = std::min(low, value);
    high = std::max(high, value);
}

}  // namespace

FrequencyChart makeFrequencyChart(double E0, double E8, double soleMoleculeFraction,
                                  double flatSurfaceFraction, int points) {
    FrequencyChart chart;
    chart.xTitle = "Part of a molecule on surface in direct contact with crystal, (%)";
    chart.yTitleLines = {"Frequency to be out of ", "molecule from surface, ",
                         "(frequency to be in = 1.0)"};
    chart.lineLabel = "Frequency to jump in";
    chart.yMin = std::min(0.9, std::exp(-E8 - E0));
    chart.yMax = std::max(1.1, std::exp(E8 - E0));
    points = std::max(points, 2);
    for (int i = 0; i < points; ++i) {
        double phi = static_cast<double>(i) / (points - 1);
        chart.contactPercent.push_back(100 * phi);
        chart.frequency.push_back(frequencyOut(E0, E8, phi));
    }
    double sole = frequencyOut(E0, E8, soleMoleculeFraction);
    chart.soleMolecule = {100 * soleMoleculeFraction, sole,
                          cformat("Frequency out of sole molecule on flat surface = %g", sole)};
    double flat = frequencyOut(E0, E8, flatSurfaceFraction);
    chart.flatSurface = {100 * flatSurfaceFraction, flat,
                         cformat("Frequency out from flat surface = %g", flat)};
    return chart;
}

ProbabilityChart makeProbabilityChart(double E0, double E8, std::uint32_t Pint, int n,
                                      double flatSurfaceFraction, double topOfSingleFraction) {
    ProbabilityChart chart;
    chart.xTitle = "Part of molecule on surface in direct contact with crystal";
    chart.outTitle = "Probability out per step";
    chart.inTitle = "Probability in per step";
    RateConstants k = RateConstants::make(E0, E8, Pint);
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (int count = 0; count < n; ++count) {
        double phi = static_cast<double>(count) / n;
        CellProbabilities p = CellProbabilities::make(k, phi, phi);
        chart.contactFraction.push_back(phi);
        chart.outProbability.push_back(p.leaveShare());
        chart.inProbability.push_back(p.growShare());
        widenRange(p.leaveShare(), low, high);
        widenRange(p.growShare(), low, high);
    }
    auto mark = [&](double phi, const char* what) {
        double out = CellProbabilities::make(k, phi, phi).leaveShare();
        return ChartMark{phi, out, cformat("%s (%.4g)", what, out)};
    };
    chart.flatSurface = mark(flatSurfaceFraction, "molecule on flat surface");
    chart.topOfSingle = mark(topOfSingleFraction, "molecule on top of single molecule");
    if (low <= high) {
        chart.yMin = low;
        chart.yMax = high;
    }
    return chart;
}

}  // namespace quorvane
