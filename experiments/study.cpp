#include "experiments/study.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "common/file_io.h"
#include "experiments/regime_table.h"
#include "experiments/run_log.h"
#include "model/theory.h"

namespace quorvane {
namespace {

constexpr StudyQuantityInfo kQuantities[kStudyQuantityCount] = {
    {"rate", "Rate as a part of continuous growth", "parts", "Av.Rate as part cont."},
    {"roughness", "Roughness", "layers", "Roughness"},
    {"porosity", "Porosity", "parts", "Porosity"},
    {"fill_time", "Time to fill a layer", "s", "Time To Fill Layer"},
};

double cell(const StudyLog& log, const StudyLogRow& row, const char* name) {
    return row.values[static_cast<std::size_t>(log.column(name))];
}

/// The rows a study takes as its results: the reduced rows of full runs where
/// the log holds any (a plan's or a general experiment's combination ends with
/// one), else every row; never a run that was interrupted.
std::vector<std::size_t> resultRows(const StudyLog& log, bool& reduced, long long& interrupted) {
    std::vector<std::size_t> all, reducedRows;
    interrupted = 0;
    for (std::size_t i = 0; i < log.rows.size(); ++i) {
        const int event = static_cast<int>(cell(log, log.rows[i], "Event"));
        if (event == kEventInterrupted) {
            ++interrupted;
            continue;
        }
        all.push_back(i);
        if (event == kEventReduced) reducedRows.push_back(i);
    }
    reduced = !reducedRows.empty();
    return reduced ? reducedRows : all;
}

std::array<std::optional<double>, kStudyQuantityCount> measuredIn(const StudyLog& log,
                                                                  const StudyLogRow& row) {
    std::array<std::optional<double>, kStudyQuantityCount> m;
    m[kStudyRate] = cell(log, row, kQuantities[kStudyRate].column);
    m[kStudyRoughness] = cell(log, row, kQuantities[kStudyRoughness].column);
    if (row.porous) m[kStudyPorosity] = cell(log, row, kQuantities[kStudyPorosity].column);
    // A run that filled no layer has no time to fill one (the log writes 0),
    // and an extrapolation below zero is no time either.
    const double fill = cell(log, row, kQuantities[kStudyFillTime].column);
    if (fill > 0) m[kStudyFillTime] = fill;
    return m;
}

/// The theory of the data of a row, along the growth axis a: Halvik's rate as
/// a part of continuous growth, roughness and porosity, and the time one layer
/// (a thick) takes at that part of the row's continuous rate Vc.
StudyTheory theoryOf(const StudyLog& log, const StudyLogRow& row) {
    StudyTheory t;
    const double a = cell(log, row, "a");
    const LateralShareResult shares = LateralShares(a, cell(log, row, "b"), cell(log, row, "c"),
                                                    cell(log, row, "Sedg"), cell(log, row, "Svrt"));
    t.supercooling = cell(log, row, "dG");
    t.surfaceEnergy = cell(log, row, "Sm");
    t.lambda1 = shares.lambda1;
    t.lambda2 = shares.lambda2;
    const HalvikResult h = HalvikPrediction(t.supercooling, t.surfaceEnergy, t.lambda1, t.lambda2);
    if (!h.defined) return t;
    t.value[kStudyRate] = h.K;
    t.value[kStudyRoughness] = h.roughness;
    t.value[kStudyPorosity] = h.porosity;
    const double continuous = cell(log, row, "Vc");
    if (h.K > 0 && continuous > 0 && std::isfinite(a / (h.K * continuous)))
        t.value[kStudyFillTime] = a / (h.K * continuous);
    t.regime = theoryRegime(t.supercooling, t.surfaceEnergy, t.lambda1, t.lambda2);
    return t;
}

void summarise(Study& study, StudyCombination& c) {
    for (int q = 0; q < kStudyQuantityCount; ++q) {
        std::vector<double> values;
        for (std::size_t r : c.runs)
            if (const auto& v = study.runs[r].measured[std::size_t(q)]) values.push_back(*v);
        c.measured[std::size_t(q)] = statisticOf(values);
    }
    c.theory = study.runs[c.runs.front()].theory;
    int best = -1;
    for (std::size_t r : c.runs) {
        const auto regime = static_cast<std::size_t>(study.log.rows[study.runs[r].row].regime);
        if (++c.regimeCounts[regime] > best) {
            best = c.regimeCounts[regime];
            c.regime = study.log.rows[study.runs[r].row].regime;
        }
    }
}

void group(Study& study, const std::vector<std::size_t>& results) {
    std::map<std::vector<double>, std::vector<std::size_t>> byValues;
    for (std::size_t i : results) {
        StudyRun run;
        run.row = i;
        const StudyLogRow& row = study.log.rows[i];
        for (const StudyParameter& p : study.parameters) run.parameters.push_back(p.valueIn(row));
        run.measured = measuredIn(study.log, row);
        run.theory = theoryOf(study.log, row);
        if (row.porous) study.porosityMeasured = true;
        if (row.regimeFromTable) ++study.regimesFromTable;
        byValues[run.parameters].push_back(study.runs.size());
        study.runs.push_back(std::move(run));
    }
    for (auto& [values, runs] : byValues) {
        StudyCombination c;
        c.values = values;
        c.runs = runs;
        summarise(study, c);
        study.combinations.push_back(std::move(c));
    }
}

}  // namespace

const StudyQuantityInfo& studyQuantity(int quantity) {
    return kQuantities[std::clamp(quantity, 0, kStudyQuantityCount - 1)];
}

Statistic statisticOf(const std::vector<double>& values) {
    Statistic s;
    s.count = static_cast<int>(values.size());
    if (values.empty()) return s;
    double sum = 0;
    for (double v : values) sum += v;
    s.mean = sum / double(values.size());
    if (values.size() < 2) return s;
    double squares = 0;
    for (double v : values) squares += (v - s.mean) * (v - s.mean);
    s.spread = std::sqrt(squares / double(values.size() - 1));
    return s;
}

std::optional<GrowthRegime> theoryRegime(double supercooling, double surfaceEnergy, double lambda1,
                                         double lambda2) {
    // Where the surface dissolves faster than it forms the theory says nothing.
    if (std::exp(surfaceEnergy * lambda2 - supercooling) > 1e8) return std::nullopt;
    const HalvikBounds bounds = halvikBounds(surfaceEnergy, lambda1, lambda2);
    if (!std::isfinite(bounds.nucleation) || !std::isfinite(bounds.kinetic)) return std::nullopt;
    if (supercooling <= bounds.nucleation && bounds.nucleation >= 0)
        return GrowthRegime::Nucleation;
    if (supercooling < bounds.kinetic) return GrowthRegime::Intermediate;
    return GrowthRegime::Continuous;
}

bool StudyCombination::unanimous() const {
    return std::count_if(regimeCounts.begin(), regimeCounts.end(), [](int n) { return n > 0; }) <=
           1;
}

StudyReading buildStudy(StudyLog log, const StudyOrigin& origin) {
    StudyReading reading;
    Study study;
    study.log = std::move(log);
    study.origin = origin;
    const std::vector<std::size_t> results =
        resultRows(study.log, study.reducedResults, study.interruptedRows);
    if (results.empty()) {
        reading.error = "it holds no finished run";
        return reading;
    }
    study.parameters = variedParameters(study.log, results, origin, study.kind);
    group(study, results);
    reading.study = std::move(study);
    return reading;
}

StudyReading readStudy(const std::string& logPath, const StudyOrigin& origin) {
    StudyReading reading;
    const auto text = readWholeFile(logPath);
    if (!text) {
        reading.error = "cannot read the log " + logPath;
        return reading;
    }
    std::optional<StudyLog> log = parseStudyLog(*text, reading.error);
    if (!log) {
        reading.error = "the log " + logPath + " cannot make a study: " + reading.error;
        return reading;
    }
    assignRegimes(*log, readWholeFile(regimeTablePath(logPath)));
    reading = buildStudy(std::move(*log), origin);
    if (reading.study) reading.study->logPath = logPath;
    if (!reading.error.empty())
        reading.error = "the log " + logPath + " cannot make a study: " + reading.error;
    return reading;
}

std::vector<StudySeries> seriesAgainst(const Study& study, std::size_t parameter) {
    std::map<std::vector<double>, std::vector<std::pair<double, std::size_t>>> lines;
    for (std::size_t i = 0; i < study.combinations.size(); ++i) {
        std::vector<double> others = study.combinations[i].values;
        if (parameter >= others.size()) return {};
        const double x = others[parameter];
        others.erase(others.begin() + std::ptrdiff_t(parameter));
        lines[others].emplace_back(x, i);
    }
    std::vector<StudySeries> series;
    for (auto& [others, points] : lines) {
        std::sort(points.begin(), points.end());
        StudySeries s;
        s.others = others;
        for (const auto& point : points) s.combinations.push_back(point.second);
        series.push_back(std::move(s));
    }
    return series;
}

}  // namespace quorvane
