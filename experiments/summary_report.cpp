#include "experiments/summary_report.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <sstream>
#include <vector>

#include "common/cformat.h"
#include "common/file_io.h"
#include "common/text.h"

namespace quorvane {
namespace {

/// The log columns a summary reads, found by name in the log's first line.
enum Column : size_t {
    kEvent,
    kA,
    kB,
    kC,
    kEdges,
    kVertices,
    kSupercooling,
    kSurfaceEnergy,
    kRate,
    kRoughness,
    kPorosity,
    kLayers,
    kColumnCount
};

constexpr std::array<const char*, kColumnCount> kColumnNames = {
    "Event",     "a",        "b",        "c", "Sedg", "Svrt", "dG", "Sm", "Av.Rate as part cont.",
    "Roughness", "Porosity", "Cur.Layer"};

using ColumnIndex = std::array<size_t, kColumnCount>;

constexpr int kReducedEvent = 77;

/// The cells of a log line without their quotes.
std::vector<std::string> logCells(const std::string& line) {
    std::vector<std::string> cells = splitFields(line, ",\n");
    for (auto& cell : cells) cell.erase(std::remove(cell.begin(), cell.end(), '"'), cell.end());
    return cells;
}

std::optional<ColumnIndex> findColumns(const std::string& headerLine) {
    std::vector<std::string> cells = logCells(headerLine);
    ColumnIndex index{};
    for (size_t k = 0; k < kColumnCount; ++k) {
        auto found = std::find(cells.begin(), cells.end(), kColumnNames[k]);
        if (found == cells.end()) return std::nullopt;
        index[k] = static_cast<size_t>(found - cells.begin());
    }
    return index;
}

SummarySource sourceOf(const std::vector<std::string>& cells, const ColumnIndex& at) {
    SummarySource s;
    s.a = cAtof(cells[at[kA]]);
    s.b = cAtof(cells[at[kB]]);
    s.c = cAtof(cells[at[kC]]);
    s.edges = cAtof(cells[at[kEdges]]);
    s.vertices = cAtof(cells[at[kVertices]]);
    s.supercooling = cAtof(cells[at[kSupercooling]]);
    s.surfaceEnergy = cAtof(cells[at[kSurfaceEnergy]]);
    s.rate = cAtof(cells[at[kRate]]);
    s.roughness = cAtof(cells[at[kRoughness]]);
    s.porosity = cAtof(cells[at[kPorosity]]);
    return s;
}

/// The summary lines of the log's data rows. A reduced row is summarised only
/// when it follows an ordinary row: a second reduced row in a row (the second
/// series of a full run) counts as ordinary.
std::string summaryLines(std::istream& in, const ColumnIndex& at, bool withPorosity) {
    size_t needed = *std::max_element(at.begin(), at.end()) + 1;
    std::string lines;
    std::string line;
    int previousEvent = 3;
    double layersBefore = 0;
    while (readLine(in, line)) {
        if (line.size() <= 3) continue;
        std::vector<std::string> cells = logCells(line);
        if (cells.size() < needed) continue;  // a cut-off row has nothing to summarise
        int event = cAtoi(cells[at[kEvent]]);
        if (event != kReducedEvent || previousEvent == kReducedEvent) {
            previousEvent = event;
            layersBefore = cAtof(cells[at[kLayers]]);
            continue;
        }
        previousEvent = kReducedEvent;
        bool porous = cells[at[kPorosity]] != "n/a";
        if (porous != withPorosity) continue;
        SummarySource source = sourceOf(cells, at);
        source.layersBefore = layersBefore;
        lines += summaryLine(source, withPorosity);
    }
    return lines;
}

}  // namespace

SurfaceShares surfaceShares(double A, double B, double C, double Sf, double Se, double Sv) {
    double T = A + B + C;
    double H = A * B + B * C + C * A;
    // A molecule's six faces share Sf, its twelve edges Se, its eight vertices Sv.
    double h = Sf / 2, e = Se / 4, v = Sv / 8;
    double fBC = h * B * C / H, fCA = h * C * A / H, fAB = h * A * B / H;
    double d = e * (B + C) / T, k = e * A / T;
    double i = fBC + 2 * d, j = 4 * v;
    SurfaceShares s;
    s.s1 = i + j;
    s.sf = i + j + 4 * k;
    s.s11 = fBC;
    s.sw = fBC + 2 * (fCA + fAB) + 4 * (d + k) + 8 * v;
    s.s2 = i + j + std::max({fCA, fAB, k});
    return s;
}

std::string summaryLine(const SummarySource& src, bool withPorosity) {
    double A = 10 * src.a, B = 10 * src.b, C = 10 * src.c;
    double weights = 1 + src.edges + src.vertices;
    double sf = 1 / weights, se = src.edges / weights, sv = src.vertices / weights;
    double bc = std::sqrt(src.b * src.c);
    SurfaceShares s = surfaceShares(A, B, C, sf, se, sv);
    // The effective surface energy of a surface whose contact share is X.
    auto energy = [&](double x) { return src.surfaceEnergy * (1 - 2 * x); };

    std::string text = cformat("%g,%g,%g,", A, B, C);
    text += cformat("%g,%g,", src.a / bc, bc / ((src.b + src.c) / 2));
    text += cformat("%g,%g,%g,", sf, se, sv);
    text += cformat("%g,%g,%g,%g,%g,", s.s1, s.sf, s.s11, s.sw, s.s2);
    text += cformat("%g,%g,%g,%g,%g,", energy(s.s1), energy(s.sf), energy(s.s11), energy(s.sw),
                    energy(s.s2));
    text +=
        cformat("%.3g,%.3g,%g,%g,", src.supercooling, src.surfaceEnergy, src.rate, src.roughness);
    text += withPorosity ? cformat("%g,", src.porosity) : std::string("na,");
    text += cformat("%g", src.layersBefore);
    return cformat("%s\n", text.c_str());
}

std::string summaryPath(const std::string& logPath, bool withPorosity) {
    return csvStem(logPath) +
           (withPorosity ? "_Quorvane_summary_wp.csv" : "_Quorvane_summary_np.csv");
}

bool writeSummary(const std::string& logPath, bool withPorosity, Platform& platform) {
    auto log = readWholeFile(logPath);
    if (!log) return false;
    std::istringstream in(*log);
    std::string line;
    readLine(in, line);
    auto columns = findColumns(line);
    if (!columns) {
        platform.message("Mistake in reading header of report file.");
        return false;
    }
    if (!readLine(in, line)) {
        platform.message("Mistake if report file.");
        return false;
    }
    std::string summary = cformat("%s\n", kSummaryHeader);
    summary += summaryLines(in, *columns, withPorosity);
    // Built whole and written whole: a failure leaves the previous summary as it was.
    if (!writeFileAtomically(summaryPath(logPath, withPorosity), summary)) {
        platform.message("Mistake in creating summary file.");
        return false;
    }
    return true;
}

bool createSummaryReports(const std::string& logPath, Platform& platform) {
    const bool plain = writeSummary(logPath, false, platform);
    return writeSummary(logPath, true, platform) && plain;
}

}  // namespace quorvane
