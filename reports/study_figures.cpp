#include "reports/study_figures.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <memory>

#include "common/cformat.h"
#include "experiments/study_map.h"
#include "views/regime_map.h"
#include "views/study_chart.h"

namespace quorvane {
namespace {

const QSize kChartSize(640, 400);
const QSize kScatterSize(520, 340);
const QSize kMapSize(760, 520);

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

/// A number of the CSV files: every digit the study computed, in the C locale.
std::string number(double value) {
    return cformat("%.10g", value);
}

std::string optionalNumber(const std::optional<double>& value) {
    return value ? number(*value) : std::string();
}

/// A key as part of a file name: letters and digits, "_" for anything else.
std::string slug(const std::string& key) {
    std::string out;
    for (unsigned char c : key) out += std::isalnum(c) ? char(c) : '_';
    return out;
}

std::string quantityAxis(int q) {
    static const char* const kAxes[kStudyQuantityCount] = {"rate (parts of continuous growth)",
                                                           "roughness (layers)", "porosity (parts)",
                                                           "time to fill a layer (s)"};
    return kAxes[std::clamp(q, 0, kStudyQuantityCount - 1)];
}

/// The CSV header cells of the parameters, `first` in front.
std::string parameterHeader(const Study& study, std::size_t first) {
    std::string header = study.parameters[first].key;
    for (std::size_t k = 0; k < study.parameters.size(); ++k)
        if (k != first) header += "," + study.parameters[k].key;
    return header;
}

std::string parameterCells(const std::vector<double>& values, std::size_t first) {
    std::string cells = number(values[first]);
    for (std::size_t k = 0; k < values.size(); ++k)
        if (k != first) cells += "," + number(values[k]);
    return cells;
}

bool hasAny(const Study& study, int q) {
    for (const StudyCombination& c : study.combinations)
        if (c.measured[std::size_t(q)].count > 0) return true;
    return false;
}

StudyFigure chartFigure(const Study& study, std::size_t p, int q) {
    const StudyParameter& parameter = study.parameters[p];
    const StudyQuantityInfo& info = studyQuantity(q);
    views::StudyChartInputs in;
    in.title = qs(std::string(info.title) + " against " + parameter.symbol);
    in.xTitle = qs(parameter.axisTitle());
    in.yTitle = qs(quantityAxis(q));
    std::string csv = parameterHeader(study, p) + ",runs,mean,sd,theory,log_rows\n";
    for (const StudySeries& series : seriesAgainst(study, p)) {
        views::StudyChartLine line;
        const auto& first = study.combinations[series.combinations.front()];
        line.label = qs(valuesText(study, first.values, p));
        for (std::size_t k : series.combinations) {
            const StudyCombination& c = study.combinations[k];
            const Statistic& s = c.measured[std::size_t(q)];
            views::StudyChartPoint point{c.values[p], std::nullopt, s.spread,
                                         c.theory.value[std::size_t(q)]};
            if (s.count > 0) point.mean = s.mean;
            line.points.push_back(point);
            csv += parameterCells(c.values, p) + cformat(",%d,", s.count) +
                   (s.count > 0 ? number(s.mean) + "," + number(s.spread) : std::string(",")) +
                   "," + optionalNumber(point.theory) + "," + logRowsText(study, c) + "\n";
        }
        in.lines.push_back(std::move(line));
    }
    std::string caption = std::string(info.title) + " against " + parameter.symbol +
                          (parameter.meaning.empty() ? "" : " (" + parameter.meaning + ")") +
                          ": the mean of the runs of each combination with their standard "
                          "deviation as error bars";
    if (study.parameters.size() > 1) caption += ", one line for each value of the others";
    caption += "; hollow diamonds on dashed lines: the theory.";
    return {
        "Against " + parameter.symbol,
        cformat("chart_%s_vs_%s", info.key, slug(parameter.key).c_str()),
        caption,
        kChartSize,
        [in](QPainter& painter, const QRect& area) { views::paintStudyChart(painter, area, in); },
        csv};
}

StudyFigure scatterFigure(const Study& study, std::size_t p, int q) {
    const StudyParameter& parameter = study.parameters[p];
    const StudyQuantityInfo& info = studyQuantity(q);
    views::ScatterInputs in;
    in.title = qs(std::string(info.title) + " against " + parameter.symbol);
    in.xTitle = qs(parameter.axisTitle());
    in.yTitle = qs(quantityAxis(q));
    std::array<bool, 4> grown{};
    for (const StudyRun& run : study.runs)
        grown[std::size_t(study.log.rows[run.row].regime)] = true;
    for (GrowthRegime regime : {GrowthRegime::Continuous, GrowthRegime::Intermediate,
                                GrowthRegime::Nucleation, GrowthRegime::Undetermined})
        if (grown[std::size_t(regime)])
            in.legend.emplace_back(growthRegimeWord(regime), views::regimeColour(regime));
    std::string csv = cformat("log_row,%s,%s,theory,regime\n", parameter.key.c_str(), info.key);
    for (const StudyRun& run : study.runs) {
        const auto& value = run.measured[std::size_t(q)];
        if (!value) continue;
        const StudyLogRow& row = study.log.rows[run.row];
        in.points.push_back({run.parameters[p], *value, run.theory.value[std::size_t(q)],
                             views::regimeColour(row.regime)});
        csv += cformat("%lld,", row.logRow) + number(run.parameters[p]) + "," + number(*value) +
               "," + optionalNumber(run.theory.value[std::size_t(q)]) + "," +
               growthRegimeWord(row.regime) + "\n";
    }
    return {
        "Drawn parameters against the results",
        cformat("scatter_%s_vs_%s", info.key, slug(parameter.key).c_str()),
        std::string(info.title) + " against " + parameter.symbol +
            ": every run, coloured by its growth regime; hollow diamonds: the theory for "
            "the data of that run.",
        kScatterSize,
        [in](QPainter& painter, const QRect& area) { views::paintScatterChart(painter, area, in); },
        csv};
}

StudyFigure mapFigure(const Study& study) {
    auto grid = std::make_shared<RegimeGrid>(regimeGrid(study, 0, 1));
    const StudyParameter& x = study.parameters[0];
    const StudyParameter& y = study.parameters[1];
    views::RegimeMapInputs in;
    in.title = qs("Growth regimes over " + x.symbol + " and " + y.symbol);
    in.xTitle = qs(x.axisTitle());
    in.yTitle = qs(y.axisTitle());
    in.xs = grid->xs;
    in.ys = grid->ys;
    in.theory = [&study, grid](double px, double py) {
        return theoryRegimeAt(study, *grid, px, py);
    };
    std::string csv =
        x.key + "," + y.key +
        ",runs,regime,continuous,intermediate,nucleation,undetermined,theory_regime\n";
    for (std::size_t j = 0; j < grid->ys.size(); ++j) {
        for (std::size_t i = 0; i < grid->xs.size(); ++i) {
            const auto k = grid->at(i, j);
            if (!k) continue;
            const StudyCombination& c = study.combinations[*k];
            in.cells.push_back({i, j, c.regime, c.unanimous()});
            const auto& n = c.regimeCounts;
            csv += number(grid->xs[i]) + "," + number(grid->ys[j]) +
                   cformat(",%zu,%s,%d,%d,%d,%d,%s\n", c.runs.size(), growthRegimeWord(c.regime),
                           n[1], n[2], n[3], n[0],
                           c.theory.regime ? growthRegimeWord(*c.theory.regime) : "");
        }
    }
    return {
        "Growth regimes",
        "map_regimes",
        "The growth regime most runs of each combination grew in (a white dot where its runs "
        "disagree), from the table of regimes beside the log or, without it, from the log's "
        "mechanism code; black lines: the theory's bounds of nucleation (solid) and of "
        "continuous growth (dashed).",
        kMapSize,
        [in](QPainter& painter, const QRect& area) { views::paintRegimeMap(painter, area, in); },
        csv};
}

}  // namespace

std::string valuesText(const Study& study, const std::vector<double>& values, std::size_t except) {
    std::string text;
    for (std::size_t k = 0; k < study.parameters.size() && k < values.size(); ++k) {
        if (k == except) continue;
        if (!text.empty()) text += ", ";
        text += study.parameters[k].symbol + " = " + cformat("%g", values[k]);
    }
    return text;
}

std::string logRowsText(const Study& study, const StudyCombination& combination) {
    std::string text;
    for (std::size_t r : combination.runs)
        text +=
            (text.empty() ? "" : " ") + cformat("%lld", study.log.rows[study.runs[r].row].logRow);
    return text;
}

std::vector<StudyFigure> studyFigures(const Study& study) {
    std::vector<StudyFigure> figures;
    if (study.kind == StudyKind::Plan && study.parameters.size() == 2)
        figures.push_back(mapFigure(study));
    for (std::size_t p = 0; p < study.parameters.size(); ++p) {
        for (int q = 0; q < kStudyQuantityCount; ++q) {
            if (q == kStudyPorosity && !study.porosityMeasured) continue;
            if (!hasAny(study, q)) continue;
            figures.push_back(study.kind == StudyKind::General ? scatterFigure(study, p, q)
                                                               : chartFigure(study, p, q));
        }
    }
    return figures;
}

std::string combinationsCsv(const Study& study) {
    std::string csv;
    for (const StudyParameter& p : study.parameters) csv += p.key + ",";
    csv += "runs";
    for (int q = 0; q < kStudyQuantityCount; ++q) {
        const char* key = studyQuantity(q).key;
        csv += cformat(",%s_mean,%s_sd,%s_theory", key, key, key);
    }
    csv += ",regime,theory_regime,log_rows\n";
    for (const StudyCombination& c : study.combinations) {
        for (double v : c.values) csv += number(v) + ",";
        csv += cformat("%zu", c.runs.size());
        for (int q = 0; q < kStudyQuantityCount; ++q) {
            const Statistic& s = c.measured[std::size_t(q)];
            csv += s.count > 0 ? "," + number(s.mean) + "," + number(s.spread) : std::string(",,");
            csv += "," + optionalNumber(c.theory.value[std::size_t(q)]);
        }
        csv += cformat(",%s,%s,", growthRegimeWord(c.regime),
                       c.theory.regime ? growthRegimeWord(*c.theory.regime) : "") +
               logRowsText(study, c) + "\n";
    }
    return csv;
}

bool isStudyFigureFile(const std::string& name) {
    if (name == "combinations.csv") return true;
    const bool ours = name.rfind("chart_", 0) == 0 || name.rfind("scatter_", 0) == 0 ||
                      name.rfind("map_", 0) == 0;
    const std::size_t dot = name.rfind('.');
    if (!ours || dot == std::string::npos) return false;
    const std::string extension = name.substr(dot);
    return extension == ".png" || extension == ".svg" || extension == ".csv";
}

}  // namespace quorvane
