// The plotting frame, the tick step and the axes of the charts.

#include "views/chart_frame.h"

#include <QFontMetrics>
#include <algorithm>
#include <cmath>

#include "common/cformat.h"
#include "views/painter_text.h"

namespace quorvane::views {

namespace {

// Replaces the first occurrence of `from`, if any.
void replaceFirst(std::string& text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    if (at != std::string::npos) text.replace(at, from.size(), to);
}

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// At most this many ticks on one axis, whatever the range.
constexpr int kMaxTicks = 100;

}  // namespace

void ChartFrame::setXRange(double from, double to) {
    x0 = from;
    x1 = to;
    update();
}

void ChartFrame::setYRange(double from, double to) {
    y0 = from;
    y1 = to;
    update();
}

void ChartFrame::setPixels(int left, int bottom, int right, int top) {
    px0 = left;
    px1 = right;
    py0 = bottom;
    py1 = top;
    update();
}

void ChartFrame::update() {
    // An empty range maps everything onto its first pixel instead of dividing by 0.
    sx = x1 != x0 ? (px1 - px0) / (x1 - x0) : 0;
    sy = y1 != y0 ? (py1 - py0) / (y1 - y0) : 0;
}

double niceStep(double v) {
    if (!(v > 0) || !std::isfinite(v)) return 0;
    const double lg = std::log10(v);
    const double n = std::floor(lg);
    const double f = lg - n;
    const double power = std::pow(10.0, n);
    if (f < 0.176) return power;
    if (f < 0.5) return 2 * power;
    if (f < 0.875) return 5 * power;
    return 10 * power;
}

std::string cleanAxisLabel(std::string label) {
    replaceFirst(label, "+0", "+");
    replaceFirst(label, "+0", "+");
    replaceFirst(label, "+.", "+0.");
    replaceFirst(label, "-0", "-");
    replaceFirst(label, "-0", "-");
    replaceFirst(label, "-.", "-0.");
    return label;
}

std::string axisLabel(double value, const char* format) {
    return cleanAxisLabel(cformat(format, value));
}

std::string compactTitle(std::string title) {
    replaceAll(title, "e-00", "e-");
    replaceAll(title, "e-0", "e-");
    replaceAll(title, "e+00", "e+");
    replaceAll(title, "e+0", "e+");
    return title;
}

std::string markLabel(double value) {
    std::string label = cformat("%.2g", value);
    replaceFirst(label, "e-00", "e-");
    replaceFirst(label, "e00", "e");
    replaceFirst(label, "e+00", "e");
    for (int pass = 0; pass < 2; ++pass) {
        replaceFirst(label, "e-0", "e-");
        replaceFirst(label, "e0", "e");
        replaceFirst(label, "e+0", "e");
    }
    return label;
}

QFont axisTitleFont() {
    return makeFont(kChartFamily, 20, 600);
}

QFont tickLabelFont() {
    return makeFont(kChartFamily, 20, 550);
}

int drawVerticalAxis(QPainter& painter, const ChartFrame& frame, int x, const QPen& pen,
                     int labelOffset, int intervals, int tickLength, double factor) {
    if (frame.y0 >= frame.y1 || intervals <= 0) return 0;
    const double step = niceStep((frame.y1 - frame.y0) / intervals);
    if (step == 0) return 0;
    PainterSaver saver(painter);
    painter.setPen(pen);
    painter.drawLine(x, frame.py1, x, frame.py0);
    int widest = 0;
    const double first = std::floor(frame.y0 / step);
    for (int i = 0; i < kMaxTicks; ++i) {
        const double value = (first + i) * step;
        if (value > frame.y1) break;
        if (value < frame.y0) continue;
        const int y = frame.pixelY(value);
        painter.drawLine(x, y, x + tickLength, y);
        const QString label = QString::fromStdString(axisLabel(value * factor, "%.4g"));
        widest = std::max(widest, drawTextTopLeft(painter, x + labelOffset, y - 5, label));
    }
    return widest;
}

void drawTimeAxis(QPainter& painter, const ChartFrame& frame, int y, const QPen& gridPen,
                  int intervals, double factor, const char* format) {
    if (frame.x0 >= frame.x1 || intervals <= 0) return;
    const double step = niceStep((frame.x1 - frame.x0) / intervals);
    if (step == 0) return;
    PainterSaver saver(painter);
    const QPen labelPen = painter.pen();
    const double first = std::floor(frame.x0 / step);
    for (int i = 0; i < kMaxTicks; ++i) {
        const double value = (first + i) * step;
        if (value > frame.x1) break;
        if (value <= frame.x0) continue;
        const int x = frame.pixelX(value);
        painter.setPen(gridPen);
        painter.drawLine(x, y, x, frame.py1);
        if (format == nullptr) continue;
        painter.setPen(labelPen);
        const QString label = QString::fromStdString(axisLabel(value * factor, format));
        drawTextTopLeft(painter, x - textWidth(painter, label) / 2, y + 4, label);
    }
}

void drawTitle(QPainter& painter, const std::string& title, int x, int y) {
    drawTextTopLeft(painter, x, y, fromWindows1252(compactTitle(title)));
}

int drawNumberMark(QPainter& painter, double value, int x, int y) {
    painter.drawLine(x, y, x, y - 4);
    const QString label = QString::fromStdString(markLabel(value));
    const QFontMetrics metrics = painter.fontMetrics();
    drawTextTopLeft(painter, x - metrics.horizontalAdvance(label) / 2, y + 1, label);
    return y + 1 + metrics.height();
}

}  // namespace quorvane::views
