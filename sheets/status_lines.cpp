#include "sheets/status_lines.h"

#include <cstdint>
#include <optional>

#include "common/cformat.h"
#include "engine/growth_regime.h"
#include "engine/mechanism.h"

namespace quorvane {
namespace {

// Characters of one evidence line under the growth regime: the right column is narrow.
constexpr std::size_t kRegimeLineWidth = 44;
// Characters of a line of the note under the averages.
constexpr std::size_t kNoteLineWidth = 70;

StatusLine now(int row, std::string text) {
    return {StatusColumn::Now, row, false, StatusTone::State, std::move(text)};
}
StatusLine average(int row, std::string text) {
    return {StatusColumn::Averages, row, false, StatusTone::Average, std::move(text)};
}
StatusLine analysisLine(int row, std::string text) {
    return {StatusColumn::Analysis, row, false, StatusTone::Average, std::move(text)};
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
    out.push_back(now(3, cformat("Time of growth = %#.4g (%s)",
                                 ev.timeOfGrowth * d.timeUnitsPerSecond, d.timeUnit.c_str())));
    out.push_back(now(4, cformat("Distance = %#3.3g (%s) = %.1f (layers)", ev.finalHeight * d.sizeA,
                                 length, ev.finalHeight)));
    out.push_back(now(5, cformat("Roughness =  %#3.3g (%s) = %#3.3g (layers)",
                                 ev.finalRoughness * d.sizeA, length, ev.finalRoughness)));
    if (d.porous) {
        const double porosity = ev.finalPorosity * ratioFactor(d);
        out.push_back(now(6, percentMode(d) ? cformat("Porosity =  %#3.3g (%%)", porosity)
                                            : cformat("Porosity =  %#3.3g (parts)", porosity)));
    }
    // Whole seconds split for display; the duration itself stays in seconds.
    const std::int64_t seconds = ev.simulationSeconds;
    out.push_back({StatusColumn::Now, 8, true, StatusTone::ComputerTime,
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
    out.push_back(average(1, "Average characteristics:"));
    out.push_back(average(
        2, percentMode(d) ? cformat("Rate = %#.3g (%s/%s) = %#.5g (%% of continues mechanism)",
                                    rate, rateLength, time, rateParts)
                          : cformat("Rate = %#.3g (%s/%s) = %#.5g (parts of continues mechanism)",
                                    rate, rateLength, time, rateParts)));
    out.push_back(
        average(3, cformat("Time to fill one layer = %#.3g (%s) \xB1 %#.5g ",
                           ev.fillMean * toDisplayTime, time, ev.fillStd * toDisplayTime)));
    out.push_back(
        average(4, cformat("Time to start of filling new layer = %#.3g (%s) \xB1 %#.5g",
                           ev.startMean * toDisplayTime, time, ev.startStd * toDisplayTime)));
    out.push_back(
        average(5, percentMode(d)
                       ? cformat("Induction period =  %#.5g (%% of layer filling)", induction)
                       : cformat("Induction period =  %#.5g (parts of layer filling)", induction)));
}

/// Right column: the mechanism and, once growth is stable, the fitted values.
void analysis(const RunEvaluation& ev, const StatusDisplay& d, std::vector<StatusLine>& out) {
    out.push_back(analysisLine(1, mechanismText(ev.mechanism)));
    if (!ev.stableGrowthFound()) {
        out.push_back(analysisLine(2, "Stable growth is not established yet"));
        return;
    }
    const char* time = d.timeUnit.c_str();
    const char* rateLength = d.rateLengthUnit.c_str();
    const double parts = ev.stableRateParts * ratioFactor(d);
    out.push_back(analysisLine(2, percentMode(d)
                                      ? cformat("Average rate = %#.3g (%s/%s) = %#.3g (%%)",
                                                ev.stableRate, rateLength, time, parts)
                                      : cformat("Average rate = %#.3g (%s/%s) = %#.3g (parts)",
                                                ev.stableRate, rateLength, time, parts)));
    out.push_back(analysisLine(
        3, cformat("Roughness = %#.3g (%s) = %#.3g (layers)", ev.stableRoughness * d.sizeA,
                   d.lengthUnit.c_str(), ev.stableRoughness)));
    if (d.porous) {
        const double porosity = ev.stablePorosity * ratioFactor(d);
        out.push_back(analysisLine(4, percentMode(d)
                                          ? cformat("Average porosity = %#.3g (%%)", porosity)
                                          : cformat("Average porocity = %#.3g (parts)", porosity)));
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
    int row = 1;
    for (const StatusLine& line : out)
        if (line.column == StatusColumn::Analysis && line.row > row) row = line.row;
    out.push_back(
        analysisLine(++row, std::string("Growth regime: ") + growthRegimeWord(ev.regime.regime)));
    for (const std::string& line : wrapText(growthRegimeEvidence(ev.regime), kRegimeLineWidth))
        out.push_back(analysisLine(++row, line));
}

/// The regime the mechanism's own word stands for, if it names one.
std::optional<GrowthRegime> regimeOfMechanism(int mechanism) {
    switch (mechanism) {
        case kContinuousGrowth:
            return GrowthRegime::Continuous;
        case kTwoDimensionalNucleation:
            return GrowthRegime::Nucleation;
        case kIntermediateMechanism:
            return GrowthRegime::Intermediate;
        default:
            return std::nullopt;
    }
}

/// When the mechanism and the regime disagree, why, under the averages (the
/// column has room): the mechanism times the wait before each new layer, which
/// vanishes on a face where layers start before the last is full.
void verdictNote(const RunEvaluation& ev, std::vector<StatusLine>& out) {
    if (ev.regime.regime == GrowthRegime::Undetermined) return;
    const std::optional<GrowthRegime> named = regimeOfMechanism(ev.mechanism);
    if (named == ev.regime.regime) return;
    const std::string why =
        named ? "Mechanism and regime differ: the mechanism times the wait before each layer, "
                "the regime reads how the rate follows the drive"
              : "No mechanism but a regime: new layers start before the last is full, so "
                "there is no wait to time; the regime reads the rate";
    int row = 6;
    for (const std::string& line : wrapText(why, kNoteLineWidth))
        out.push_back(average(++row, line));
}

}  // namespace

std::vector<StatusLine> statusBlockLines(const RunEvaluation& evaluation,
                                         const StatusDisplay& display) {
    std::vector<StatusLine> lines;
    lines.push_back(now(1, "Current status from start:"));
    lines.push_back(now(2, cformat("Number of steps = %d", evaluation.steps)));
    if (evaluation.steps <= 0) return lines;
    currentState(evaluation, display, lines);
    averages(evaluation, display, lines);
    analysis(evaluation, display, lines);
    growthRegime(evaluation, lines);
    verdictNote(evaluation, lines);
    return lines;
}

}  // namespace quorvane
