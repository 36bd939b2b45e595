#include "engine/status_block.h"

#include <cstdint>

#include "common/cformat.h"
#include "engine/growth_regime.h"
#include "engine/mechanism.h"

namespace quorvane {
namespace {

constexpr Rgb kStateColour{0, 0, 0};
constexpr Rgb kComputerTimeColour{100, 40, 40};
constexpr Rgb kAverageColour{0, 0, 125};

constexpr int kStateX = 10;
constexpr int kComputerTimeX = 50;
constexpr int kAveragesX = 400;
constexpr int kAnalysisX = 950;
// Characters of one evidence line under the growth regime: the right column is narrow.
constexpr std::size_t kRegimeLineWidth = 44;

/// Row r of the block: the first row sits one spacing below the top edge.
constexpr int row(int r) {
    return kStatusLineSpacing * r;
}

bool percentMode(const StatusDisplay& d) {
    return d.mode == 1;
}
double ratioFactor(const StatusDisplay& d) {
    return percentMode(d) ? 100.0 : 1.0;
}

/// Left column: where the run stands now.
void currentState(const RunEvaluation& ev, const StatusDisplay& d, std::vector<StatusLine>& out) {
    const char* length = d.lengthUnit.c_str();
    out.push_back({kStateX, row(3), kStateColour,
                   cformat("Time of growth = %#.4g (%s)", ev.timeOfGrowth * d.timeUnitsPerSecond,
                           d.timeUnit.c_str())});
    out.push_back({kStateX, row(4), kStateColour,
                   cformat("Distance = %#3.3g (%s) = %.1f (layers)", ev.finalHeight * d.sizeA,
                           length, ev.finalHeight)});
    out.push_back({kStateX, row(5), kStateColour,
                   cformat("Roughness =  %#3.3g (%s) = %#3.3g (layers)",
                           ev.finalRoughness * d.sizeA, length, ev.finalRoughness)});
    if (d.porous) {
        const double porosity = ev.finalPorosity * ratioFactor(d);
        out.push_back({kStateX, row(6), kStateColour,
                       percentMode(d) ? cformat("Porosity =  %#3.3g (%%)", porosity)
                                      : cformat("Porosity =  %#3.3g (parts)", porosity)});
    }
    // Whole seconds split for display; the duration itself stays in seconds.
    const std::int64_t seconds = ev.simulationSeconds;
    out.push_back({kComputerTimeX, row(8), kComputerTimeColour,
                   cformat("Time of simulation: %d minutes %d seconds of simulaton",
                           static_cast<int>(seconds / 60), static_cast<int>(seconds % 60))});
}

/// Middle column: averages over the layers completed so far.
void averages(const RunEvaluation& ev, const StatusDisplay& d, std::vector<StatusLine>& out) {
    const double toDisplayTime = d.timeUnitsPerSecond;
    const char* time = d.timeUnit.c_str();
    const double rate = ev.rateMean * d.sizeA * d.secondsPerTimeUnit;
    const double rateParts = ev.rateParts * ratioFactor(d);
    const double induction = ev.inductionRatio * ratioFactor(d);
    const char* rateLength = d.rateLengthUnit.c_str();
    out.push_back({kAveragesX, row(1), kAverageColour, "Average characteristics:"});
    out.push_back({kAveragesX, row(2), kAverageColour,
                   percentMode(d)
                       ? cformat("Rate = %#.3g (%s/%s) = %#.5g (%% of continues mechanism)", rate,
                                 rateLength, time, rateParts)
                       : cformat("Rate = %#.3g (%s/%s) = %#.5g (parts of continues mechanism)",
                                 rate, rateLength, time, rateParts)});
    out.push_back({kAveragesX, row(3), kAverageColour,
                   cformat("Time to fill one layer = %#.3g (%s) \xB1 %#.5g ",
                           ev.fillMean * toDisplayTime, time, ev.fillStd * toDisplayTime)});
    out.push_back({kAveragesX, row(4), kAverageColour,
                   cformat("Time to start of filling new layer = %#.3g (%s) \xB1 %#.5g",
                           ev.startMean * toDisplayTime, time, ev.startStd * toDisplayTime)});
    out.push_back({kAveragesX, row(5), kAverageColour,
                   percentMode(d)
                       ? cformat("Induction period =  %#.5g (%% of layer filling)", induction)
                       : cformat("Induction period =  %#.5g (parts of layer filling)", induction)});
}

/// Right column: the mechanism and, once growth is stable, the fitted values.
void analysis(const RunEvaluation& ev, const StatusDisplay& d, std::vector<StatusLine>& out) {
    out.push_back({kAnalysisX, row(1), kAverageColour, mechanismText(ev.mechanism)});
    if (!ev.stableGrowthFound()) {
        out.push_back({kAnalysisX, row(2), kAverageColour, "Stable growth is not established yet"});
        return;
    }
    const char* time = d.timeUnit.c_str();
    const char* rateLength = d.rateLengthUnit.c_str();
    const double parts = ev.stableRateParts * ratioFactor(d);
    out.push_back({kAnalysisX, row(2), kAverageColour,
                   percentMode(d) ? cformat("Average rate = %#.3g (%s/%s) = %#.3g (%%)",
                                            ev.stableRate, rateLength, time, parts)
                                  : cformat("Average rate = %#.3g (%s/%s) = %#.3g (parts)",
                                            ev.stableRate, rateLength, time, parts)});
    out.push_back({kAnalysisX, row(3), kAverageColour,
                   cformat("Roughness = %#.3g (%s) = %#.3g (layers)", ev.stableRoughness * d.sizeA,
                           d.lengthUnit.c_str(), ev.stableRoughness)});
    if (d.porous) {
        const double porosity = ev.stablePorosity * ratioFactor(d);
        out.push_back({kAnalysisX, row(4), kAverageColour,
                       percentMode(d) ? cformat("Average porosity = %#.3g (%%)", porosity)
                                      : cformat("Average porocity = %#.3g (parts)", porosity)});
    }
}

/// Text broken into lines of at most `width` characters, after its commas where
/// a clause fits on a line, else between words (a longer word keeps a line).
std::vector<std::string> wrapText(const std::string& text, std::size_t width) {
    std::vector<std::string> lines(1);
    auto add = [&](const std::string& piece) {
        if (!lines.back().empty() && lines.back().size() + 1 + piece.size() > width)
            lines.emplace_back();
        if (!lines.back().empty()) lines.back() += ' ';
        lines.back() += piece;
    };
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(", ", start);
        end = end == std::string::npos ? text.size() : end + 1;
        const std::string clause = text.substr(start, end - start);
        start = end + 1;
        if (clause.size() <= width) {
            add(clause);
            continue;
        }
        for (std::size_t w = 0; w < clause.size();) {
            std::size_t space = clause.find(' ', w);
            if (space == std::string::npos) space = clause.size();
            add(clause.substr(w, space - w));
            w = space + 1;
        }
    }
    return lines;
}

/// The growth regime, one row below the last line of the right column, and the
/// measured numbers it rests on under it, wrapped to the narrow column.
void growthRegime(const RunEvaluation& ev, std::vector<StatusLine>& out) {
    int y = kStatusLineSpacing;
    for (const StatusLine& line : out)
        if (line.x == kAnalysisX && line.y > y) y = line.y;
    y += kStatusLineSpacing;
    out.push_back({kAnalysisX, y, kAverageColour,
                   std::string("Growth regime: ") + growthRegimeWord(ev.regime.regime)});
    for (const std::string& line : wrapText(growthRegimeEvidence(ev.regime), kRegimeLineWidth))
        out.push_back({kAnalysisX, y += kStatusLineSpacing, kAverageColour, line});
}

}  // namespace

std::vector<StatusLine> statusBlockLines(const RunEvaluation& evaluation,
                                         const StatusDisplay& display) {
    std::vector<StatusLine> lines;
    lines.push_back({kStateX, row(1), kStateColour, "Current status from start:"});
    lines.push_back(
        {kStateX, row(2), kStateColour, cformat("Number of steps = %d", evaluation.steps)});
    if (evaluation.steps <= 0) return lines;
    currentState(evaluation, display, lines);
    averages(evaluation, display, lines);
    analysis(evaluation, display, lines);
    growthRegime(evaluation, lines);
    return lines;
}

}  // namespace quorvane
