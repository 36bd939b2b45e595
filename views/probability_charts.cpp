// The frequency and probability charts of the incorporation probabilities.

#include "views/probability_charts.h"

#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "views/chart_frame.h"
#include "views/label_placement.h"
#include "views/painter_text.h"

namespace quorvane::views {

namespace {

// These charts live in small areas of the panels: a smaller face than the growth chart.
QFont smallChartFont() {
    return makeFont(kChartFamily, 16, 500);
}

// A range with a little room above and below; an empty one opens around its value.
void paddedRange(double low, double high, double& y0, double& y1) {
    if (!std::isfinite(low) || !std::isfinite(high) || low > high) low = 0, high = 1;
    double span = high - low;
    if (span <= std::abs(high) * 1e-12) span = std::max(std::abs(high) * 0.1, 0.1);
    y0 = low - 0.05 * span;
    y1 = high + 0.05 * span;
}

void fillBackground(QPainter& painter, const QRect& area, const QColor& colour) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawRect(area);
    painter.setBrush(Qt::NoBrush);
    painter.setBackgroundMode(Qt::TransparentMode);
}

// The x axis' title, in two lines when one does not fit across the chart.
LabelText xAxisTitle(const QPainter& painter, const QRect& area, const std::string& title) {
    const LabelText one = oneLine(fromWindows1252(title));
    return one.size(painter).width() <= area.width() - 8 ? one : twoLines(one.lines.front());
}

// The frame's plot area: `left` for the axis column, the numbers and the title
// under the x axis. Returns the x of the axis line.
int layOutPlot(QPainter& painter, ChartFrame& frame, const QRect& area, int left,
               const LabelText& xTitle) {
    const int lineHeight = painter.fontMetrics().height();
    const int axisX = area.left() + left;
    // Room for the widest tick label right of the axis line.
    const int labelRoom = textWidth(painter, QStringLiteral("0.0000")) + 10;
    const int below = static_cast<int>(1 + xTitle.lines.size()) * lineHeight + 8;
    frame.setPixels(axisX + labelRoom, area.bottom() - below, area.right() - 15,
                    area.top() + lineHeight + 10);
    return axisX;
}

void drawAxes(QPainter& painter, const ChartFrame& frame, const QRect& area, int axisX,
              const ProbabilityChartStyle& style, const LabelText& xTitle) {
    painter.setPen(style.axis);
    drawVerticalAxis(painter, frame, axisX, QPen(style.axis, 1));
    painter.drawLine(axisX, frame.py0, frame.px1, frame.py0);
    painter.drawLine(frame.px0, frame.py0, frame.px0, frame.py1);
    painter.setPen(style.axis);
    drawTimeAxis(painter, frame, frame.py0, QPen(style.grid, 1, Qt::DashLine), 5, 1, "%.3g",
                 area.right());
    // The x axis' first label (0) is not a tick of (x0, x1]: write it by hand.
    const QString zero = QString::fromStdString(axisLabel(frame.x0, "%.3g"));
    drawTextTopLeft(painter, frame.px0 - textWidth(painter, zero) / 2, frame.py0 + 4, zero);
    // The title under the plot's middle, moved inside the chart where it is wide.
    const QSize size = xTitle.size(painter);
    const int x = std::clamp((frame.px0 + frame.px1 - size.width()) / 2, area.left() + 4,
                             std::max(area.right() - 3 - size.width(), area.left() + 4));
    drawLabel(painter, QPoint(x, frame.py0 + painter.fontMetrics().height() + 6), xTitle);
}

QPolygon curvePoints(const ChartFrame& frame, const std::vector<double>& xs,
                     const std::vector<double>& ys) {
    QPolygon line;
    const std::size_t n = std::min(xs.size(), ys.size());
    line.reserve(static_cast<qsizetype>(n));
    for (std::size_t i = 0; i < n; ++i)
        if (std::isfinite(ys[i]))
            line.append(frame.map(xs[i], std::clamp(ys[i], frame.y0, frame.y1)));
    return line;
}

void drawCurve(QPainter& painter, LabelPlacer& placer, const QPolygon& line, const QColor& colour) {
    drawThickPolyline(painter, line.constData(), static_cast<int>(line.size()), colour);
    placer.avoid(line);
}

// Labels stay over the plot, clear of the axes and their numbers, and may use the
// room above it.
LabelPlacer plotPlacer(const ChartFrame& frame, const QRect& area) {
    return LabelPlacer(
        QRect(QPoint(frame.px0 + 3, area.top() + 2), QPoint(area.right() - 2, frame.py0 - 3)));
}

// The dot of a mark on its curve; nothing for a value that is no number.
std::optional<QPoint> drawMarkDot(QPainter& painter, LabelPlacer& placer, const ChartFrame& frame,
                                  const ChartMark& mark, const QColor& colour) {
    if (!std::isfinite(mark.y)) return std::nullopt;
    const QPoint at = frame.map(mark.x, std::clamp(mark.y, frame.y0, frame.y1));
    painter.setPen(QPen(colour, 1));
    painter.setBrush(colour);
    painter.drawEllipse(at, 4, 4);
    painter.setBrush(Qt::NoBrush);
    placer.avoid(QRect(at - QPoint(4, 4), QSize(9, 9)));
    return at;
}

// The dots of a chart's two marks, drawn before any label so that no label covers
// one of them.
struct MarkDots {
    std::optional<QPoint> first, second;
};

MarkDots drawMarkDots(QPainter& painter, LabelPlacer& placer, const ChartFrame& frame,
                      const ChartMark& first, const ChartMark& second, const QColor& colour) {
    return {drawMarkDot(painter, placer, frame, first, colour),
            drawMarkDot(painter, placer, frame, second, colour)};
}

// Each mark's label where it is free, nearest its dot.
void labelMarks(QPainter& painter, LabelPlacer& placer, const MarkDots& dots,
                const ChartMark& first, const ChartMark& second, const QColor& colour) {
    painter.setPen(QPen(colour, 1));
    if (dots.first) placePointLabel(painter, placer, *dots.first, fromWindows1252(first.label));
    if (dots.second) placePointLabel(painter, placer, *dots.second, fromWindows1252(second.label));
}

using LegendEntries = std::vector<std::pair<std::string, QColor>>;

// A legend entry: a stroke of the curve's colour, then its name.
constexpr int kLegendStroke = 25;
constexpr int kLegendSpacing = 30;

// The legend stands in one row above the plot when it fits beside the value axis,
// else one entry a row.
int legendRows(const QPainter& painter, const ChartFrame& frame, const QRect& area,
               const LegendEntries& entries) {
    int width = 0;
    for (const auto& [title, colour] : entries)
        width += kLegendStroke + textWidth(painter, fromWindows1252(title)) + kLegendSpacing;
    return width - kLegendSpacing <= area.right() - 10 - frame.px0
               ? 1
               : static_cast<int>(entries.size());
}

// The curves' names in the upper right corner, the last entry rightmost (or lowest).
void drawLegend(QPainter& painter, LabelPlacer& placer, const QRect& area, int rows,
                const LegendEntries& entries) {
    const int lineHeight = painter.fontMetrics().height();
    int x = area.right() - 10;
    int y = area.top() + 4 + (rows - 1) * lineHeight;
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        const QString title = fromWindows1252(entry->first);
        const int width = textWidth(painter, title);
        x -= width;
        painter.setPen(QPen(entry->second, 2));
        painter.drawLine(x - kLegendStroke, y + lineHeight / 2, x - 5, y + lineHeight / 2);
        drawTextTopLeft(painter, x, y, title);
        placer.avoid(QRect(x - kLegendStroke, y, width + kLegendStroke, lineHeight));
        if (rows > 1) {
            x = area.right() - 10;
            y -= lineHeight;
        } else {
            x -= kLegendStroke + kLegendSpacing;
        }
    }
}

}  // namespace

void paintFrequencyChart(QPainter& painter, const QRect& area, const FrequencyChart& chart,
                         const ProbabilityChartStyle& style) {
    PainterSaver saver(painter);
    fillBackground(painter, area, style.background);
    painter.setFont(smallChartFont());
    const int lineHeight = painter.fontMetrics().height();
    const int titleLines = static_cast<int>(chart.yTitleLines.size());
    ChartFrame frame;
    const LabelText xTitle = xAxisTitle(painter, area, chart.xTitle);
    const int axisX = layOutPlot(painter, frame, area, 4 + titleLines * lineHeight + 4, xTitle);
    frame.setXRange(0, 100);
    double y0 = 0, y1 = 1;
    paddedRange(chart.yMin, chart.yMax, y0, y1);
    frame.setYRange(y0, y1);
    // The three title lines read upward, the first one outermost.
    painter.setPen(style.axis);
    for (int i = 0; i < titleLines; ++i) {
        const QString line = fromWindows1252(chart.yTitleLines[static_cast<std::size_t>(i)]);
        const int width = textWidth(painter, line);
        const int y = std::clamp((frame.py0 + frame.py1 + width) / 2, area.top() + 2 + width,
                                 std::max(area.bottom() - 2, area.top() + 2 + width));
        drawTextUpward(painter, area.left() + 4 + i * lineHeight, y, line);
    }
    drawAxes(painter, frame, area, axisX, style, xTitle);
    LabelPlacer placer = plotPlacer(frame, area);
    drawCurve(painter, placer, curvePoints(frame, chart.contactPercent, chart.frequency),
              style.outCurve);
    // The frequency to jump in, the unit of every frequency, named above its right end.
    const int lineY = frame.pixelY(chart.lineAt);
    painter.setPen(QPen(style.inCurve, 2, Qt::DashLine));
    painter.drawLine(frame.px0, lineY, frame.px1, lineY);
    placer.avoid(QLine(frame.px0, lineY, frame.px1, lineY));
    const MarkDots dots =
        drawMarkDots(painter, placer, frame, chart.soleMolecule, chart.flatSurface, style.mark);
    painter.setPen(style.inCurve);
    placeText(painter, placer, QPoint(frame.px1, lineY), fromWindows1252(chart.lineLabel));
    labelMarks(painter, placer, dots, chart.soleMolecule, chart.flatSurface, style.mark);
}

void paintProbabilityChart(QPainter& painter, const QRect& area, const ProbabilityChart& chart,
                           const ProbabilityChartStyle& style) {
    PainterSaver saver(painter);
    fillBackground(painter, area, style.background);
    painter.setFont(smallChartFont());
    ChartFrame frame;
    const LabelText xTitle = xAxisTitle(painter, area, chart.xTitle);
    const int axisX = layOutPlot(painter, frame, area, 6, xTitle);
    frame.setXRange(0, 1);
    double y0 = 0, y1 = 1;
    paddedRange(chart.yMin, chart.yMax, y0, y1);
    frame.setYRange(y0, y1);
    // The legend above the plot, which starts below its last row.
    const LegendEntries legend{{chart.inTitle, style.inCurve}, {chart.outTitle, style.outCurve}};
    const int rows = legendRows(painter, frame, area, legend);
    const int lineHeight = painter.fontMetrics().height();
    frame.setPixels(frame.px0, frame.py0, frame.px1, area.top() + rows * lineHeight + 10);
    drawAxes(painter, frame, area, axisX, style, xTitle);
    LabelPlacer placer = plotPlacer(frame, area);
    drawLegend(painter, placer, area, rows, legend);
    drawCurve(painter, placer, curvePoints(frame, chart.contactFraction, chart.outProbability),
              style.outCurve);
    drawCurve(painter, placer, curvePoints(frame, chart.contactFraction, chart.inProbability),
              style.inCurve);
    const MarkDots dots =
        drawMarkDots(painter, placer, frame, chart.flatSurface, chart.topOfSingle, style.mark);
    labelMarks(painter, placer, dots, chart.flatSurface, chart.topOfSingle, style.mark);
}

}  // namespace quorvane::views
