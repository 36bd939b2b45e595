#pragma once
/// The charts of a study: a result against one varied parameter, the mean of
/// repeated runs with their spread as error bars and the theory's prediction
/// beside each point, one line for each value of the other parameters; and
/// scatter plots of a general experiment, each run coloured by its regime.

#include <QColor>
#include <QPainter>
#include <QRect>
#include <QString>
#include <optional>
#include <utility>
#include <vector>

namespace quorvane::views {

struct StudyChartPoint {
    double x = 0;
    std::optional<double> mean;  ///< none where no run gave the result
    double spread = 0;           ///< standard deviation of the runs, 0 for one run
    std::optional<double> theory;
};

struct StudyChartLine {
    QString label;  ///< "ΔG′ = 0.5"; empty where the chart has one line
    std::vector<StudyChartPoint> points;
};

struct StudyChartInputs {
    QString title;
    QString xTitle;
    QString yTitle;
    std::vector<StudyChartLine> lines;
    /// Lines beyond this many are drawn as points of one colour, without a legend.
    std::size_t mostLines = 8;
};

/// Draws the chart on white into `area`.
void paintStudyChart(QPainter& painter, const QRect& area, const StudyChartInputs& inputs);

struct ScatterPoint {
    double x = 0;
    double y = 0;
    std::optional<double> theory;
    QColor colour;
};

struct ScatterInputs {
    QString title;
    QString xTitle;
    QString yTitle;
    std::vector<ScatterPoint> points;
    std::vector<std::pair<QString, QColor>> legend;  ///< what the colours mean
};

/// Draws the scatter plot on white into `area`.
void paintScatterChart(QPainter& painter, const QRect& area, const ScatterInputs& inputs);

/// The range the values of a chart are shown over: all simulated values and the
/// ends of their error bars, and the theory's where they stay near them (a
/// prediction of 1e30 s would leave the measured points in one pixel row; it is
/// marked at the edge instead). Logarithmic where the values span more than two
/// powers of ten.
struct ShownRange {
    double lo = 0, hi = 1;
    bool logY = false;
};
ShownRange shownRange(const std::vector<double>& values, const std::vector<double>& bars,
                      const std::vector<double>& theory);

}  // namespace quorvane::views
