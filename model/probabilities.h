#pragma once
/// Where the physical model meets the Monte Carlo engine: the probability in
/// per step, the physical time of one step, the engine's inputs, and the data
/// of the two charts that explain the probabilities to the user.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/physical_data.h"
#include "model/run_settings.h"

namespace quorvane {

/// P = N / (W*H), then the time step P / nu_s in the current time unit.
/// Returns false, leaving the value in question unchanged, when the field has
/// no cells (P) or the jump frequency is 0 or gives no finite time (time step).
bool recomputeProbabilityAndTimeStep(RunSettings& run, const PhysicalData& data);

/// The time step of probability P at the data's jump frequency, in the
/// current time unit; nullopt when the jump frequency gives no finite time.
std::optional<double> timeStepFor(double P, const PhysicalData& data);

/// trunc(P * 4294967295) with P clamped to [0, 1]; nullopt for a NaN.
std::optional<std::uint32_t> probabilityThreshold(double P);

/// What the engine is handed at the start of a run, in the order it takes them.
struct EngineInputs {
    double E0 = 0;  ///< general supercooling dG'
    double E8 = 0;  ///< general surface energy sigma'
    std::uint32_t Pint = 0;
    double a = 0, b = 0, c = 0;  ///< current length unit
    int W = 0, H = 0;
    double edgeWeight = 0;
    double vertexWeight = 0;
};
/// nullopt when the probability in is no number.
std::optional<EngineInputs> makeEngineInputs(const PhysicalData& data, const RunSettings& run);

/// A marked point on a chart curve with its label.
struct ChartMark {
    double x = 0;
    double y = 0;
    std::string label;
};

/// The relative frequency out exp((1 - 2 phi) sigma' - dG') against the
/// contact fraction phi in percent, with the line "Frequency to jump in" at 1.
struct FrequencyChart {
    std::string xTitle;
    std::vector<std::string> yTitleLines;
    std::string lineLabel;
    double lineAt = 1.0;
    std::vector<double> contactPercent;
    std::vector<double> frequency;
    double yMin = 0, yMax = 0;
    ChartMark soleMolecule;  ///< a lone molecule on a flat layer
    ChartMark flatSurface;   ///< a molecule embedded in a flat layer
};
/// `points` (at least 2) samples from 0 to 100 %; the two fractions are the
/// engine's reference contact fractions (0..1).
FrequencyChart makeFrequencyChart(double E0, double E8, double soleMoleculeFraction,
                                  double flatSurfaceFraction, int points = 101);

/// The engine's leave and grow shares against the contact count.
struct ProbabilityChart {
    std::string xTitle;
    std::string outTitle;
    std::string inTitle;
    std::vector<double> contactFraction;  ///< count / n
    std::vector<double> outProbability;   ///< leave share
    std::vector<double> inProbability;    ///< grow share
    double yMin = 0, yMax = 0;
    ChartMark flatSurface;  ///< on the out curve
    ChartMark topOfSingle;  ///< on the out curve
};
/// One sample per contact count 0..n-1 (both contact counts of the cell set to
/// the count, the diagonal of the engine's tables). `flatSurfaceFraction` is
/// the contact fraction of a lone molecule on a flat layer, `topOfSingleFraction`
/// that of a molecule touching only its bottom face; the marks carry the leave
/// probability there.
ProbabilityChart makeProbabilityChart(double E0, double E8, std::uint32_t Pint, int n,
                                      double flatSurfaceFraction, double topOfSingleFraction);

}  // namespace quorvane
