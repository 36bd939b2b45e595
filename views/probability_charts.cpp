// The frequency and probability charts of the incorporation probabilities.

#include "views/probability_charts.h"

#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "views/chart_frame.h"
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

// The frame's plot area: `left` for the axis column, labels under the x axis.
// Returns the x of the axis line.
int layOutPlot(QPainter& painter, ChartFrame& frame, const QRect& area, int left) {
    const int lineHeight = painter.fontMetrics().height();
    const int axisX = area.left() + left;
    // Room for the widest tick label right of the axis line.
    const int labelRoom = textWidth(painter, QStringLiteral("0.0000")) + 10;
    frame.setPixels(axisX + labelRoom, area.bottom() - 2 * lineHeight - 8, area.right() - 15,
                    area.top() + lineHeight + 10);
    return axisX;
}

void drawAxes(QPainter& painter, const ChartFrame& frame, int axisX,
              const ProbabilityChartStyle& style, const std::string& xTitle) {
    painter.setPen(style.axis);
    drawVerticalAxis(painter, frame, axisX, QPen(style.axis, 1));
    painter.drawLine(axisX, frame.py0, frame.px1, frame.py0);
    painter.drawLine(frame.px0, frame.py0, frame.px0, frame.py1);
    painter.setPen(style.axis);
    drawTimeAxis(painter, frame, frame.py0, QPen(style.grid, 1, Qt::DashLine));
    // The x axis' first label (0) is not a tick of (x0, x1]: write it by hand.
    const QString zero = QString::fromStdString(axisLabel(frame.x0, "%.3g"));
    drawTextTopLeft(painter, frame.px0 - textWidth(painter, zero) / 2, frame.py0 + 4, zero);
    const QString title = fromWindows1252(xTitle);
    const int lineHeight = painter.fontMetrics().height();
    drawTextTopLeft(painter, (frame.px0 + frame.px1 - textWidth(painter, title)) / 2,
                    frame.py0 + lineHeight + 6, title);
}

void drawCurve(QPainter& painter, const ChartFrame& frame, const std::vector<double>& xs,
               const std::vector<double>& ys, const QColor& colour) {
    QPolygon line;
    const std::size_t n = std::min(xs.size(), ys.size());
    line.reserve(static_cast<qsizetype>(n));
    for (std::size_t i = 0; i < n; ++i)
        if (std::isfinite(ys[i]))
            line.append(frame.map(xs[i], std::clamp(ys[i], frame.y0, frame.y1)));
    drawThickPolyline(painter, line.constData(), static_cast<int>(line.size()), colour);
}

// A dot on a curve and its label beside it, kept inside the plot.
void drawMark(QPainter& painter, const ChartFrame& frame, const ChartMark& mark,
              const QColor& colour, int lineOffset) {
    if (!std::isfinite(mark.y)) return;
    const QPoint at = frame.map(mark.x, std::clamp(mark.y, frame.y0, frame.y1));
    painter.setPen(QPen(colour, 1));
    painter.setBrush(colour);
    painter.drawEllipse(at, 4, 4);
    painter.setBrush(Qt::NoBrush);
    const QString label = fromWindows1252(mark.label);
    const int width = textWidth(painter, label);
    int x = at.x() + 8;
    if (x + width > frame.px1) x = std::max(frame.px0 + 2, at.x() - 8 - width);
    const int lineHeight = painter.fontMetrics().height();
    int y = at.y() + lineOffset * lineHeight;
    y = std::clamp(y, frame.py1, frame.py0 - lineHeight);
    painter.drawLine(at, QPoint(x, y + lineHeight / 2));
    drawTextTopLeft(painter, x, y, label);
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
    const int axisX = layOutPlot(painter, frame, area, 4 + titleLines * lineHeight + 4);
    frame.setXRange(0, 100);
    double y0 = 0, y1 = 1;
    paddedRange(chart.yMin, chart.yMax, y0, y1);
    frame.setYRange(y0, y1);
    // The three title lines read upward, the first one outermost.
    painter.setPen(style.axis);
    for (int i = 0; i < titleLines; ++i) {
        const QString line = fromWindows1252(chart.yTitleLines[static_cast<std::size_t>(i)]);
        const int y = (frame.py0 + frame.py1 + textWidth(painter, line)) / 2;
        drawTextUpward(painter, area.left() + 4 + i * lineHeight, y, line);
    }
    drawAxes(painter, frame, axisX, style, chart.xTitle);
    // The frequency to jump in, the unit of every frequency.
    const int lineY = frame.pixelY(chart.lineAt);
    painter.setPen(QPen(style.inCurve, 2, Qt::DashLine));
    painter.drawLine(frame.px0, lineY, frame.px1, lineY);
    painter.setPen(style.inCurve);
    const QString lineLabel = fromWindows1252(chart.lineLabel);
    drawTextTopLeft(painter, frame.px1 - textWidth(painter, lineLabel) - 4, lineY - lineHeight - 1,
                    lineLabel);
    drawCurve(painter, frame, chart.contactPercent, chart.frequency, style.outCurve);
    drawMark(painter, frame, chart.soleMolecule, style.mark, -2);
    drawMark(painter, frame, chart.flatSurface, style.mark, 1);
}

void paintProbabilityChart(QPainter& painter, const QRect& area, const ProbabilityChart& chart,
                           const ProbabilityChartStyle& style) {
    PainterSaver saver(painter);
    fillBackground(painter, area, style.background);
    painter.setFont(smallChartFont());
    const int lineHeight = painter.fontMetrics().height();
    ChartFrame frame;
    const int axisX = layOutPlot(painter, frame, area, 6);
    frame.setXRange(0, 1);
    double y0 = 0, y1 = 1;
    paddedRange(chart.yMin, chart.yMax, y0, y1);
    frame.setYRange(y0, y1);
    drawAxes(painter, frame, axisX, style, chart.xTitle);
    drawCurve(painter, frame, chart.contactFraction, chart.outProbability, style.outCurve);
    drawCurve(painter, frame, chart.contactFraction, chart.inProbability, style.inCurve);
    // The curves' names as a legend in the upper right corner.
    const QString outTitle = fromWindows1252(chart.outTitle);
    const QString inTitle = fromWindows1252(chart.inTitle);
    const int legendX =
        frame.px1 - std::max(textWidth(painter, outTitle), textWidth(painter, inTitle)) - 30;
    const int legendY = area.top() + 4;
    painter.setPen(QPen(style.outCurve, 2));
    painter.drawLine(legendX, legendY + lineHeight / 2, legendX + 20, legendY + lineHeight / 2);
    drawTextTopLeft(painter, legendX + 25, legendY, outTitle);
    painter.setPen(QPen(style.inCurve, 2));
    painter.drawLine(legendX - 30 - textWidth(painter, inTitle) - 25, legendY + lineHeight / 2,
                     legendX - 30 - textWidth(painter, inTitle) - 5, legendY + lineHeight / 2);
    drawTextTopLeft(painter, legendX - 30 - textWidth(painter, inTitle), legendY, inTitle);
    drawMark(painter, frame, chart.flatSurface, style.mark, -3);
    drawMark(painter, frame, chart.topOfSingle, style.mark, 1);
}

}  // namespace quorvane::views
