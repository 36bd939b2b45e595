#pragma once
/// The plotting frame every chart shares: a mapping from world values to pixels,
/// the 1-2-5 tick step, the vertical and time axes with their label clean-ups,
/// titles, and the number marks of the experiment plan.

#include <QPainter>
#include <QPen>
#include <QPoint>
#include <climits>
#include <string>

namespace quorvane::views {

/// A pixel coordinate truncated toward zero, limited to +-1e6 (NaN to -1e6).
inline int toPixel(double v) {
    if (!(v > -1e6)) return -1000000;
    if (!(v < 1e6)) return 1000000;
    return static_cast<int>(v);
}

/// World ranges and the pixels they map to. py0 is the lower edge on the screen,
/// so py0 > py1 and sy is negative.
class ChartFrame {
  public:
    double x0 = 0, x1 = 1;
    double y0 = 0, y1 = 1;
    int px0 = 0, px1 = 1;
    int py0 = 1, py1 = 0;
    double sx = 1, sy = -1;

    void setXRange(double from, double to);
    void setYRange(double from, double to);
    /// Pixel x of x0 and x1, pixel y of y0 (lower) and y1 (upper).
    void setPixels(int left, int bottom, int right, int top);
    /// Recomputes the scales; called by every setter.
    void update();

    /// Pixel of a world value, truncated toward zero as the frame's drawing does.
    /// Values far off the picture (a range of 1e-40 scaled to pixels) stop at a
    /// million pixels, and a value that is no number at -1e6, instead of
    /// overflowing the conversion.
    int pixelX(double x) const { return toPixel((x - x0) * sx + px0); }
    int pixelY(double y) const { return toPixel((y - y0) * sy + py0); }
    QPoint map(double x, double y) const { return {pixelX(x), pixelY(y)}; }
};

/// The tick step for a span divided into about v intervals: 1, 2, 5 or 10 times a
/// power of ten. 0 for v <= 0 or a value that is no finite number.
double niceStep(double v);

/// "+0" -> "+" and "-0" -> "-" twice each, putting back the zero of "+." and "-.":
/// 1e+005 reads 1e+5, 1e-005 reads 1e-5, -0.5 stays -0.5.
std::string cleanAxisLabel(std::string label);
/// A tick label: the value with a C format ("%.4g" vertical, "%.3g" time), cleaned.
std::string axisLabel(double value, const char* format);
/// "e-00" -> "e-", "e-0" -> "e-", "e+00" -> "e+", "e+0" -> "e+" throughout.
std::string compactTitle(std::string title);
/// The number of a value mark: "%.2g" with its exponent compacted to e5, e-7.
std::string markLabel(double value);

/// The fonts of the charts: axis titles (turned upward) and tick labels.
QFont axisTitleFont();
QFont tickLabelFont();

/// Draws the axis of the frame's y range at pixel x: its line, ticks `tickLength`
/// long every nice step of about `intervals` intervals, and labels (value times
/// `factor`) `labelOffset` pixels right of the line; where the ticks stand closer
/// than a line of text, only every second, third... is numbered. Returns the widest
/// label's width; 0 and nothing drawn for an empty range.
int drawVerticalAxis(QPainter& painter, const ChartFrame& frame, int x, const QPen& pen,
                     int labelOffset = 6, int intervals = 5, int tickLength = 3, double factor = 1);

/// The grid lines (in `gridPen`, from pixel y up to the frame's top) and labels
/// (below y, with `format`; none when null) of the frame's x range, at each tick
/// inside (x0, x1]. Where the labels of neighbouring lines would run together only
/// every second, third... line is numbered; a label is moved inside
/// [leftLimit, rightLimit] and left out where that would put it onto its neighbour.
void drawTimeAxis(QPainter& painter, const ChartFrame& frame, int y, const QPen& gridPen,
                  int intervals = 5, double factor = 1, const char* format = "%.3g",
                  int rightLimit = INT_MAX, int leftLimit = INT_MIN);

/// A title after `compactTitle`, top-left at (x, y), in the painter's font and pen.
void drawTitle(QPainter& painter, const std::string& title, int x, int y);

/// A tick 4 pixels high rising from (x, y) and the value's `markLabel` centred
/// under it, in the painter's pen and font. Returns the label's lower edge.
int drawNumberMark(QPainter& painter, double value, int x, int y);

}  // namespace quorvane::views
