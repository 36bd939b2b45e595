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
    // In a low chart only every second, third... tick is numbered, so that the
    // numbers stay a line apart.
    const double pitch = step * std::abs(frame.sy);
    const long long labelEvery =
        pitch > 0
            ? std::max(1LL, std::llround(std::ceil((painter.fontMetrics().height() + 1) / pitch)))
            : 1;
    for (int i = 0; i < kMaxTicks; ++i) {
        const double value = (first + i) * step;
        if (value > frame.y1) break;
        if (value < frame.y0) continue;
        const int y = frame.pixelY(value);
        painter.drawLine(x, y, x + tickLength, y);
        if (std::llround(first + i) % labelEvery != 0) continue;
        const QString label = QString::fromStdString(axisLabel(value * factor, "%.4g"));
        widest = std::max(widest, drawTextTopLeft(painter, x + labelOffset, y - 5, label));
    }
    return widest;
}

namespace {

/// The grid lines of the time axis fall on the step of the 1-2-5 rule; its labels
/// on every `labelEvery`-th of them, counted from 0.
struct TimeTicks {
    double first = 0;  ///< index of the first step at or below x0
    double step = 0;
    long long labelEvery = 1;
};

QString timeLabel(double value, double factor, const char* format) {
    return QString::fromStdString(axisLabel(value * factor, format));
}

bool labelled(const TimeTicks& ticks, int i) {
    return std::llround(ticks.first + i) % ticks.labelEvery == 0;
}

/// The fewest grid lines between two labels that keep the labels apart by their
/// width and a little more: in a narrow chart some lines go without a number.
TimeTicks timeTicks(const QPainter& painter, const ChartFrame& frame, int intervals, double factor,
                    const char* format) {
    TimeTicks ticks;
    ticks.step = niceStep((frame.x1 - frame.x0) / intervals);
    if (ticks.step == 0) return ticks;
    ticks.first = std::floor(frame.x0 / ticks.step);
    if (format == nullptr) return ticks;  // grid lines only
    int widest = 0;
    for (int i = 0; i < kMaxTicks; ++i) {
        const double value = (ticks.first + i) * ticks.step;
        if (value > frame.x1) break;
        widest = std::max(widest, textWidth(painter, timeLabel(value, factor, format)));
    }
    const double pitch = ticks.step * std::abs(frame.sx);
    if (pitch > 0) ticks.labelEvery = std::max(1LL, std::llround(std::ceil((widest + 8) / pitch)));
    return ticks;
}

}  // namespace

void drawTimeAxis(QPainter& painter, const ChartFrame& frame, int y, const QPen& gridPen,
                  int intervals, double factor, const char* format, int rightLimit, int leftLimit) {
    if (frame.x0 >= frame.x1 || intervals <= 0) return;
    const TimeTicks ticks = timeTicks(painter, frame, intervals, factor, format);
    if (ticks.step == 0) return;
    PainterSaver saver(painter);
    const QPen labelPen = painter.pen();
    int previousRight = INT_MIN;
    for (int i = 0; i < kMaxTicks; ++i) {
        const double value = (ticks.first + i) * ticks.step;
        if (value > frame.x1) break;
        if (value <= frame.x0) continue;
        const int x = frame.pixelX(value);
        painter.setPen(gridPen);
        painter.drawLine(x, y, x, frame.py1);
        if (format == nullptr || !labelled(ticks, i)) continue;
        const QString label = timeLabel(value, factor, format);
        const int width = textWidth(painter, label);
        const int left = std::max(std::min(x - width / 2, rightLimit - width), leftLimit);
        if (left <= previousRight + 2) continue;
        painter.setPen(labelPen);
        drawTextTopLeft(painter, left, y + 4, label);
        previousRight = left + width;
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
