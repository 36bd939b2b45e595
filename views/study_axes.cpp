// The frame every picture of the study report shares.

#include "views/study_axes.h"

#include <QFontMetrics>
#include <QPolygon>
#include <algorithm>
#include <climits>
#include <cmath>

#include "views/painter_text.h"

namespace quorvane::views {
namespace {

const QColor kGridColour(210, 210, 210);
constexpr int kMargin = 8;
constexpr int kMaxTicks = 60;

/// The shown range of [lo, hi]: a little room on both sides, some room
/// around a single value.
std::pair<double, double> padded(double lo, double hi, double part, double lone) {
    if (!(hi > lo)) {
        const double room = lo != 0 ? std::abs(lo) * 0.1 : lone;
        return {lo - room, hi + room};
    }
    return {lo - (hi - lo) * part, hi + (hi - lo) * part};
}

/// The tick values (in frame units) of the vertical axis.
std::vector<double> verticalTicks(const ChartFrame& f, bool logY) {
    std::vector<double> ticks;
    if (!logY) {
        const double step = niceStep((f.y1 - f.y0) / 5);
        if (step == 0) return ticks;
        for (double k = std::ceil(f.y0 / step); k * step <= f.y1 && ticks.size() < kMaxTicks; ++k)
            ticks.push_back(k * step);
        return ticks;
    }
    const double decades = f.y1 - f.y0;
    // Within two powers of ten, 2 and 5 times each help; over many, every few.
    const int every = decades > 12 ? int(std::ceil(decades / 6)) : 1;
    for (double k = std::floor(f.y0); k <= f.y1 && ticks.size() < kMaxTicks; ++k) {
        if (std::llround(k) % every != 0) continue;
        for (double m : decades < 2.5 ? std::vector<double>{1, 2, 5} : std::vector<double>{1}) {
            const double t = k + std::log10(m);
            if (t >= f.y0 && t <= f.y1) ticks.push_back(t);
        }
    }
    return ticks;
}

QString tickText(double tick, bool logY) {
    const double value = logY ? std::pow(10.0, tick) : tick;
    // A step of 0.1 leaves 3e-17 where 0 stands.
    return QString::fromStdString(axisLabel(std::abs(value) < 1e-12 && !logY ? 0 : value, "%.3g"));
}

int widestTick(const QPainter& painter, const std::vector<double>& ticks, bool logY) {
    int widest = 0;
    for (double t : ticks) widest = std::max(widest, textWidth(painter, tickText(t, logY)));
    return widest;
}

void drawVerticalNumbers(QPainter& painter, const StudyAxes& axes,
                         const std::vector<double>& ticks) {
    const int lineHeight = painter.fontMetrics().height();
    int lastTop = INT_MAX;
    for (double t : ticks) {
        const int y = axes.frame.pixelY(t);
        painter.setPen(QPen(kGridColour, 1, Qt::DashLine));
        painter.drawLine(axes.plot.left(), y, axes.plot.right(), y);
        painter.setPen(Qt::black);
        painter.drawLine(axes.plot.left() - 4, y, axes.plot.left(), y);
        const int top = y - lineHeight / 2;
        if (top + lineHeight > lastTop) continue;  // numbers stay a line apart
        const QString text = tickText(t, axes.logY);
        drawTextTopLeft(painter, axes.plot.left() - 6 - textWidth(painter, text), top, text);
        lastTop = top;
    }
}

}  // namespace

double StudyAxes::worldY(double value) const {
    return logY ? (value > 0 ? std::log10(value) : -1e9) : value;
}

QPoint StudyAxes::at(double x, double y) const {
    return frame.map(x, worldY(y));
}

int StudyAxes::clampY(int y) const {
    return std::clamp(y, plot.top(), plot.bottom());
}

bool StudyAxes::showsY(double value) const {
    const double w = worldY(value);
    return w >= frame.y0 && w <= frame.y1;
}

bool wantsLogAxis(const std::vector<double>& values) {
    if (values.empty()) return false;
    const auto [lo, hi] = std::minmax_element(values.begin(), values.end());
    return *lo > 0 && *hi / *lo > 100;
}

QFont studyTextFont() {
    return makeFont(kChartFamily, 17, 500);
}

QFont studyTitleFont() {
    return makeFont(kChartFamily, 19, 700);
}

StudyAxes drawStudyAxes(QPainter& painter, const QRect& area, const StudyAxesRanges& ranges) {
    StudyAxes axes;
    axes.logY = ranges.logY;
    const auto [x0, x1] = padded(ranges.xMin, ranges.xMax, 0.06, 0.5);
    const double lo = ranges.logY ? std::log10(ranges.yMin) : ranges.yMin;
    const double hi = ranges.logY ? std::log10(ranges.yMax) : ranges.yMax;
    const auto [y0, y1] = padded(lo, hi, 0.08, ranges.logY ? 0.5 : 1.0);
    axes.frame.setXRange(x0, x1);
    axes.frame.setYRange(y0, y1);
    const std::vector<double> ticks = verticalTicks(axes.frame, ranges.logY);

    painter.setFont(studyTextFont());
    const int line = painter.fontMetrics().height();
    const int numbers = widestTick(painter, ticks, ranges.logY);
    painter.setFont(studyTitleFont());
    const int titleLine = painter.fontMetrics().height();
    const int left = area.left() + kMargin + line + 8 + numbers + 8;
    const int right =
        area.right() - kMargin - (ranges.legendWidth > 0 ? ranges.legendWidth + 14 : 4);
    const int top = area.top() + kMargin + titleLine + 8;
    const int bottom = area.bottom() - kMargin - line - 4 - line - 6;
    axes.plot = QRect(QPoint(left, top), QPoint(right, bottom));
    axes.legend = QRect(QPoint(right + 14, top), QPoint(area.right() - kMargin, bottom));
    axes.frame.setPixels(left, bottom, right, top);

    drawTextTopLeft(painter, left, area.top() + kMargin, ranges.title);
    painter.setFont(studyTextFont());
    drawVerticalNumbers(painter, axes, ticks);
    painter.setPen(Qt::black);
    drawTimeAxis(painter, axes.frame, bottom, QPen(kGridColour, 1, Qt::DashLine), 5, 1, "%.4g",
                 area.right() - kMargin, area.left() + kMargin);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(axes.plot);
    const int xTitleWidth = textWidth(painter, ranges.xTitle);
    drawTextTopLeft(painter, (left + right - xTitleWidth) / 2, area.bottom() - kMargin - line,
                    ranges.xTitle);
    const int yTitleWidth = textWidth(painter, ranges.yTitle);
    drawTextUpward(painter, area.left() + kMargin, (top + bottom + yTitleWidth) / 2, ranges.yTitle);
    return axes;
}

QColor seriesColour(std::size_t k) {
    static const QColor kColours[] = {
        QColor(31, 119, 180), QColor(214, 39, 40), QColor(44, 160, 44),   QColor(148, 103, 189),
        QColor(255, 127, 14), QColor(140, 86, 75), QColor(227, 119, 194), QColor(23, 190, 207)};
    return kColours[k % std::size(kColours)];
}

void drawSimulatedMarker(QPainter& painter, const QPoint& at, const QColor& colour, int radius) {
    drawSimulatedMarkers(painter, {at}, colour, radius);
}

void drawTheoryMarker(QPainter& painter, const QPoint& at, const QColor& colour, int radius) {
    drawTheoryMarkers(painter, {at}, colour, radius);
}

// Many markers under one pen and brush: a scatter plot of a thousand runs
// changes the painter's state four times, not two thousand (and its SVG holds
// one style for them all).
void drawSimulatedMarkers(QPainter& painter, const std::vector<QPoint>& points,
                          const QColor& colour, int radius) {
    PainterSaver saver(painter);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour.darker(130), 1));
    painter.setBrush(colour);
    for (const QPoint& at : points) painter.drawEllipse(at, radius, radius);
}

void drawTheoryMarkers(QPainter& painter, const std::vector<QPoint>& points, const QColor& colour,
                       int radius) {
    PainterSaver saver(painter);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour, 1.5));
    painter.setBrush(Qt::NoBrush);  // the simulated dot at the same place shows through
    for (const QPoint& at : points)
        painter.drawPolygon(
            QPolygon({QPoint(at.x(), at.y() - radius), QPoint(at.x() + radius, at.y()),
                      QPoint(at.x(), at.y() + radius), QPoint(at.x() - radius, at.y())}));
}

void drawBeyondMarker(QPainter& painter, const QPoint& at, bool above, const QColor& colour) {
    PainterSaver saver(painter);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour, 1.5));
    painter.setBrush(Qt::white);
    const int tip = above ? -6 : 6;
    painter.drawPolygon(QPolygon(
        {QPoint(at.x(), at.y() + tip), QPoint(at.x() + 5, at.y()), QPoint(at.x() - 5, at.y())}));
}

int drawLegendEntry(QPainter& painter, int x, int y, const QString& text,
                    const std::function<void(QPainter&, const QRect&)>& sample) {
    const int line = painter.fontMetrics().height();
    sample(painter, QRect(x, y, 22, line));
    painter.setPen(Qt::black);
    drawTextTopLeft(painter, x + 28, y, text);
    return y + line + 2;
}

}  // namespace quorvane::views
