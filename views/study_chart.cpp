// The charts of the study report.

#include "views/study_chart.h"

#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include "views/painter_text.h"
#include "views/study_axes.h"

namespace quorvane::views {
namespace {

const QColor kCloudColour(31, 119, 180);
const QColor kTheoryGrey(120, 120, 120);

std::pair<double, double> extent(const std::vector<double>& values) {
    const auto [lo, hi] = std::minmax_element(values.begin(), values.end());
    return {*lo, *hi};
}

void collect(const StudyChartInputs& in, std::vector<double>& means, std::vector<double>& bars,
             std::vector<double>& theory) {
    for (const StudyChartLine& line : in.lines) {
        for (const StudyChartPoint& p : line.points) {
            if (p.mean) means.push_back(*p.mean);
            if (p.mean && p.spread > 0) {
                bars.push_back(*p.mean + p.spread);
                bars.push_back(*p.mean - p.spread);
            }
            if (p.theory) theory.push_back(*p.theory);
        }
    }
}

double minX(const StudyChartInputs& in, bool largest) {
    double best = largest ? -HUGE_VAL : HUGE_VAL;
    for (const auto& line : in.lines)
        for (const auto& p : line.points)
            best = largest ? std::max(best, p.x) : std::min(best, p.x);
    return std::isfinite(best) ? best : 0;
}

/// A value's marker where it is shown, or the edge marker where it lies beyond.
void drawValue(QPainter& painter, const StudyAxes& axes, double x, double y, const QColor& colour,
               bool theory) {
    const QPoint at = axes.at(x, y);
    if (!axes.showsY(y)) {
        const bool above = axes.worldY(y) > axes.frame.y1;
        drawBeyondMarker(painter,
                         QPoint(at.x(), above ? axes.plot.top() + 7 : axes.plot.bottom() - 7),
                         above, colour);
        return;
    }
    if (theory) {
        drawTheoryMarker(painter, at, colour);
    } else {
        drawSimulatedMarker(painter, at, colour);
    }
}

void drawErrorBar(QPainter& painter, const StudyAxes& axes, const StudyChartPoint& p,
                  const QColor& colour) {
    if (!p.mean || !(p.spread > 0)) return;
    const int x = axes.frame.pixelX(p.x);
    const double low = *p.mean - p.spread;
    const int top = axes.clampY(axes.at(p.x, *p.mean + p.spread).y());
    const int bottom =
        axes.logY && low <= 0 ? axes.plot.bottom() : axes.clampY(axes.at(p.x, low).y());
    painter.setPen(QPen(colour, 1.2));
    painter.drawLine(x, top, x, bottom);
    painter.drawLine(x - 4, top, x + 4, top);
    if (!(axes.logY && low <= 0)) painter.drawLine(x - 4, bottom, x + 4, bottom);
}

/// The line through the means (solid) or the theory (dashed) of one line.
void drawJoin(QPainter& painter, const StudyAxes& axes, const StudyChartLine& line,
              const QColor& colour, bool theory) {
    QPolygon polygon;
    for (const StudyChartPoint& p : line.points) {
        const std::optional<double> y = theory ? p.theory : p.mean;
        if (y && (!axes.logY || *y > 0)) polygon << axes.at(p.x, *y);
    }
    if (polygon.size() < 2) return;
    QColor pen = colour;
    if (theory) pen.setAlpha(170);
    painter.setPen(QPen(pen, theory ? 1.2 : 1.6, theory ? Qt::DashLine : Qt::SolidLine));
    painter.drawPolyline(polygon);
}

int legendWidth(QPainter& painter, const StudyChartInputs& in, bool legendOfLines) {
    painter.setFont(studyTextFont());
    int widest = textWidth(painter, "mean ± s.d. of the runs");
    if (legendOfLines)
        for (const auto& line : in.lines) widest = std::max(widest, textWidth(painter, line.label));
    return widest + 32;
}

void drawStudyLegend(QPainter& painter, const StudyAxes& axes, const StudyChartInputs& in,
                     bool legendOfLines) {
    painter.setFont(studyTextFont());
    int y = axes.legend.top();
    const int x = axes.legend.left();
    if (legendOfLines) {
        for (std::size_t k = 0; k < in.lines.size(); ++k) {
            const QColor colour = seriesColour(k);
            y = drawLegendEntry(painter, x, y, in.lines[k].label, [&](QPainter& p, const QRect& r) {
                p.setPen(QPen(colour, 1.6));
                p.drawLine(r.left(), r.center().y(), r.right(), r.center().y());
                drawSimulatedMarker(p, r.center(), colour);
            });
        }
        y += 8;
    }
    y = drawLegendEntry(painter, x, y, "mean ± s.d. of the runs", [](QPainter& p, const QRect& r) {
        p.setPen(QPen(Qt::black, 1.2));
        p.drawLine(r.center().x(), r.top(), r.center().x(), r.bottom());
        drawSimulatedMarker(p, r.center(), Qt::black);
    });
    drawLegendEntry(painter, x, y, "theory (Halvik)", [](QPainter& p, const QRect& r) {
        p.setPen(QPen(Qt::black, 1.2, Qt::DashLine));
        p.drawLine(r.left(), r.center().y(), r.right(), r.center().y());
        drawTheoryMarker(p, r.center(), Qt::black);
    });
}

/// The theory's markers first, then the runs' dots, each colour in one go;
/// a value off the plot gets its edge marker.
void drawScatterPoints(QPainter& painter, const StudyAxes& axes,
                       const std::vector<ScatterPoint>& points) {
    std::vector<QPoint> theory;
    std::map<QRgb, std::vector<QPoint>> dots;
    for (const ScatterPoint& p : points) {
        if (p.theory && axes.showsY(*p.theory)) {
            theory.push_back(axes.at(p.x, *p.theory));
        } else if (p.theory) {
            drawValue(painter, axes, p.x, *p.theory, kTheoryGrey, true);
        }
        if (axes.showsY(p.y)) {
            dots[p.colour.rgb()].push_back(axes.at(p.x, p.y));
        } else {
            drawValue(painter, axes, p.x, p.y, p.colour, false);
        }
    }
    drawTheoryMarkers(painter, theory, kTheoryGrey, 4);
    for (const auto& [colour, at] : dots)
        drawSimulatedMarkers(painter, at, QColor::fromRgb(colour), 3);
}

}  // namespace

ShownRange shownRange(const std::vector<double>& values, const std::vector<double>& bars,
                      const std::vector<double>& theory) {
    ShownRange range;
    if (values.empty() && theory.empty()) return range;
    std::vector<double> all = values.empty() ? theory : values;
    const auto [lo, hi] = extent(all);
    // The theory joins the range while it stays near the values: within two
    // powers of ten of them where all are positive, else within twice their span.
    const double room = 2 * std::max(hi - lo, std::abs(hi) * 0.1);
    for (double t : theory) {
        const bool near =
            lo > 0 && t > 0 ? t > lo / 100 && t < hi * 100 : t > lo - room && t < hi + room;
        if (near) all.push_back(t);
    }
    range.logY = wantsLogAxis(all);
    // Below zero a logarithmic axis has no place: such a bar ends at the edge.
    for (double b : bars)
        if (!range.logY || b > 0) all.push_back(b);
    std::tie(range.lo, range.hi) = extent(all);
    return range;
}

void paintStudyChart(QPainter& painter, const QRect& area, const StudyChartInputs& in) {
    painter.fillRect(area, Qt::white);
    std::vector<double> means, bars, theory;
    collect(in, means, bars, theory);
    const ShownRange range = shownRange(means, bars, theory);
    const bool cloud = in.lines.size() > in.mostLines;
    const bool legendOfLines = !cloud && !(in.lines.size() == 1 && in.lines[0].label.isEmpty());
    StudyAxesRanges ranges{in.title,        in.xTitle,      in.yTitle,
                           minX(in, false), minX(in, true), range.lo,
                           range.hi,        range.logY,     0};
    ranges.legendWidth = legendWidth(painter, in, legendOfLines);
    const StudyAxes axes = drawStudyAxes(painter, area, ranges);
    {
        PainterSaver saver(painter);
        painter.setClipRect(axes.plot.adjusted(1, 1, -1, -1));
        painter.setRenderHint(QPainter::Antialiasing);
        for (std::size_t k = 0; k < in.lines.size() && !cloud; ++k) {
            drawJoin(painter, axes, in.lines[k], seriesColour(k), true);
            drawJoin(painter, axes, in.lines[k], seriesColour(k), false);
        }
    }
    for (std::size_t k = 0; k < in.lines.size(); ++k) {
        const QColor colour = cloud ? kCloudColour : seriesColour(k);
        for (const StudyChartPoint& p : in.lines[k].points) {
            drawErrorBar(painter, axes, p, colour);
            if (p.mean) drawValue(painter, axes, p.x, *p.mean, colour, false);
            if (p.theory)
                drawValue(painter, axes, p.x, *p.theory, cloud ? kTheoryGrey : colour, true);
        }
    }
    drawStudyLegend(painter, axes, in, legendOfLines);
}

void paintScatterChart(QPainter& painter, const QRect& area, const ScatterInputs& in) {
    painter.fillRect(area, Qt::white);
    std::vector<double> ys, theory, xs;
    for (const ScatterPoint& p : in.points) {
        ys.push_back(p.y);
        xs.push_back(p.x);
        if (p.theory) theory.push_back(*p.theory);
    }
    const ShownRange range = shownRange(ys, {}, theory);
    const auto [x0, x1] = xs.empty() ? std::pair(0.0, 1.0) : extent(xs);
    painter.setFont(studyTextFont());
    int widest = textWidth(painter, "theory (Halvik)");
    for (const auto& entry : in.legend) widest = std::max(widest, textWidth(painter, entry.first));
    const StudyAxes axes = drawStudyAxes(
        painter, area,
        {in.title, in.xTitle, in.yTitle, x0, x1, range.lo, range.hi, range.logY, widest + 32});
    drawScatterPoints(painter, axes, in.points);
    painter.setFont(studyTextFont());
    int y = axes.legend.top();
    for (const auto& [text, colour] : in.legend)
        y = drawLegendEntry(
            painter, axes.legend.left(), y, text,
            [&colour](QPainter& p, const QRect& r) { drawSimulatedMarker(p, r.center(), colour); });
    drawLegendEntry(
        painter, axes.legend.left(), y + 6, "theory (Halvik)",
        [](QPainter& p, const QRect& r) { drawTheoryMarker(p, r.center(), kTheoryGrey); });
}

}  // namespace quorvane::views
