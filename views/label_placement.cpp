// Free room for the labels of a chart.

#include "views/label_placement.h"

#include <QFontMetrics>
#include <algorithm>
#include <cmath>
#include <tuple>

#include "views/painter_text.h"

namespace quorvane::views {

namespace {

// Places are tried on a grid of this many pixels.
constexpr int kGridStep = 3;
// A point label is a dot of radius 4 and this much room around it.
constexpr int kPointGap = 7;
// How far from its point a label may stand.
constexpr int kPointReach = 140;

/// Whether the segment touches the closed box [left, right] x [top, bottom]: the
/// segment is clipped against the box's four sides in turn (Liang and Barsky).
bool crosses(const QLine& line, double left, double top, double right, double bottom) {
    const double x = line.x1(), y = line.y1();
    const double dx = line.x2() - x, dy = line.y2() - y;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x - left, right - x, y - top, bottom - y};
    double enter = 0, leave = 1;
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0) {
            if (q[k] < 0) return false;  // parallel to this side and outside it
            continue;
        }
        const double t = q[k] / p[k];
        if (p[k] < 0)
            enter = std::max(enter, t);
        else
            leave = std::min(leave, t);
        if (enter > leave) return false;
    }
    return true;
}

bool crosses(const QLine& line, const QRect& box, int clearance) {
    return crosses(line, box.left() - clearance, box.top() - clearance, box.right() + clearance,
                   box.bottom() + clearance);
}

/// The point of `box` nearest to `p`.
QPoint nearestPoint(const QRect& box, const QPoint& p) {
    return {std::clamp(p.x(), box.left(), box.right()), std::clamp(p.y(), box.top(), box.bottom())};
}

double distance(const QRect& box, const QPoint& p) {
    const QPoint d = nearestPoint(box, p) - p;
    return std::hypot(d.x(), d.y());
}

/// Positions along one axis: the near side at `gap` and farther, the far side
/// likewise, and every place in between where the label lies across the anchor.
std::vector<int> offsets(int anchor, int length, int gap, int reach) {
    std::vector<int> at;
    for (int d = 0; d <= reach; d += kGridStep) {
        at.push_back(anchor + gap + d);
        at.push_back(anchor - gap - length - d);
    }
    for (int v = anchor - length - gap + 1; v < anchor + gap; v += kGridStep) at.push_back(v);
    at.push_back(anchor - length / 2);
    return at;
}

}  // namespace

void LabelPlacer::avoid(const QPolygon& curve) {
    for (qsizetype k = 1; k < curve.size(); ++k)
        if (curve[k] != curve[k - 1]) lines_.emplace_back(curve[k - 1], curve[k]);
}

bool LabelPlacer::isFree(const QRect& rect) const {
    if (!bounds_.contains(rect)) return false;
    const QRect wide = rect.adjusted(-kClearance, -kClearance, kClearance, kClearance);
    for (const QRect& taken : rects_)
        if (wide.intersects(taken)) return false;
    for (const QLine& line : lines_)
        if (crosses(line, rect, kClearance)) return false;
    return true;
}

int LabelPlacer::conflicts(const QRect& rect) const {
    int count = bounds_.contains(rect) ? 0 : 1000;
    const QRect wide = rect.adjusted(-kClearance, -kClearance, kClearance, kClearance);
    for (const QRect& taken : rects_) count += wide.intersects(taken) ? 1 : 0;
    for (const QLine& line : lines_) count += crosses(line, rect, kClearance) ? 1 : 0;
    return count;
}

std::vector<QRect> LabelPlacer::candidates(const QPoint& anchor, const QSize& size, int gap,
                                           int reach) const {
    const int w = size.width(), h = size.height();
    const std::vector<int> xs = offsets(anchor.x(), w, gap, reach);
    const std::vector<int> ys = offsets(anchor.y(), h, gap, reach);
    std::vector<std::tuple<double, int, int, QRect>> ranked;
    for (const int y : ys)
        for (const int x : xs) {
            const QRect box(x, y, w, h);
            const double d = distance(box, anchor);
            if (d < gap || d > reach + gap || !bounds_.contains(box)) continue;
            // Nearest first; then right of the anchor before left; then centred on it.
            const int left = x + w <= anchor.x() ? 1 : 0;
            const QPoint off = box.center() - anchor;
            ranked.emplace_back(std::round(d), left, std::abs(off.x()) + std::abs(off.y()), box);
        }
    std::sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) {
        return std::tie(std::get<0>(a), std::get<1>(a), std::get<2>(a)) <
               std::tie(std::get<0>(b), std::get<1>(b), std::get<2>(b));
    });
    std::vector<QRect> boxes;
    boxes.reserve(ranked.size());
    for (const auto& r : ranked) boxes.push_back(std::get<3>(r));
    return boxes;
}

std::optional<QRect> LabelPlacer::findFree(const QPoint& anchor, const QSize& size, int gap,
                                           int reach, bool leader) const {
    for (const QRect& box : candidates(anchor, size, gap, reach)) {
        if (!isFree(box)) continue;
        if (leader && !leaderIsClear(QLine(anchor, nearestPoint(box, anchor)))) continue;
        return box;
    }
    return std::nullopt;
}

bool LabelPlacer::leaderIsClear(const QLine& leader) const {
    for (const QRect& taken : rects_)
        if (!taken.contains(leader.p1()) && crosses(leader, taken, 0)) return false;
    return true;
}

QRect LabelPlacer::bestPlace(const QPoint& anchor, const QSize& size, int gap, int reach) const {
    if (const auto free = findFree(anchor, size, gap, reach)) return *free;
    QRect best;
    int fewest = -1;
    for (const QRect& box : candidates(anchor, size, gap, reach)) {
        const int count = conflicts(box);
        if (fewest < 0 || count < fewest) best = box, fewest = count;
    }
    if (fewest >= 0) return best;
    // Larger than the bounds: its top-left corner inside them, beside the anchor.
    QRect box(anchor + QPoint(gap, -size.height() / 2), size);
    box.moveLeft(std::max(std::min(box.left(), bounds_.right() - size.width()), bounds_.left()));
    box.moveTop(std::max(std::min(box.top(), bounds_.bottom() - size.height()), bounds_.top()));
    return box;
}

QSize LabelText::size(const QPainter& painter) const {
    int width = 0;
    for (const QString& line : lines) width = std::max(width, textWidth(painter, line));
    return {width, static_cast<int>(lines.size()) * painter.fontMetrics().height()};
}

LabelText oneLine(const QString& text) {
    return {QStringList{text}};
}

LabelText twoLines(const QString& text) {
    const qsizetype middle = text.size() / 2;
    qsizetype best = -1;
    for (qsizetype k = 0; k < text.size(); ++k)
        if (text[k] == QLatin1Char(' ') &&
            (best < 0 || std::abs(k - middle) < std::abs(best - middle)))
            best = k;
    if (best < 0) return oneLine(text);
    return {QStringList{text.left(best), text.mid(best + 1)}};
}

void drawLabel(QPainter& painter, const QPoint& at, const LabelText& label) {
    const int lineHeight = painter.fontMetrics().height();
    for (qsizetype k = 0; k < label.lines.size(); ++k)
        drawTextTopLeft(painter, at.x(), at.y() + static_cast<int>(k) * lineHeight, label.lines[k]);
}

QRect placePointLabel(QPainter& painter, LabelPlacer& placer, const QPoint& anchor,
                      const QString& text) {
    LabelText label = oneLine(text);
    std::optional<QRect> box =
        placer.findFree(anchor, label.size(painter), kPointGap, kPointReach, true);
    if (!box) {
        label = twoLines(text);
        box = placer.findFree(anchor, label.size(painter), kPointGap, kPointReach, true);
    }
    if (!box) box = placer.bestPlace(anchor, label.size(painter), kPointGap, kPointReach);
    // A label that stands apart from its point is tied to it by a thin line.
    const QPoint end = nearestPoint(*box, anchor);
    if (distance(*box, anchor) > kPointGap + 4) {
        const QLine leader(anchor, end);
        painter.drawLine(leader);
        placer.avoid(leader);
    }
    drawLabel(painter, box->topLeft(), label);
    placer.avoid(*box);
    return *box;
}

QRect placeText(QPainter& painter, LabelPlacer& placer, const QPoint& anchor, const QString& text,
                int gap) {
    const LabelText label = oneLine(text);
    const QRect box = placer.bestPlace(anchor, label.size(painter), gap, kPointReach);
    drawLabel(painter, box.topLeft(), label);
    placer.avoid(box);
    return box;
}

}  // namespace quorvane::views
