// The map of growth regimes of a study.

#include "views/regime_map.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "views/chart_frame.h"
#include "views/painter_text.h"
#include "views/study_axes.h"

namespace quorvane::views {
namespace {

constexpr int kMargin = 8;
/// The theory's regime is looked up every this many pixels.
constexpr int kSampleStep = 2;

constexpr GrowthRegime kLegendOrder[] = {GrowthRegime::Continuous, GrowthRegime::Intermediate,
                                         GrowthRegime::Nucleation, GrowthRegime::Undetermined};

struct MapLayout {
    ChartFrame frame;
    QRect plot;
    QRect legend;
    std::vector<double> xEdges, yEdges;
};

/// Numbers at the cells' values along the horizontal axis, one left out where
/// it would run into the one before.
void drawXNumbers(QPainter& painter, const MapLayout& m, const std::vector<double>& xs) {
    int previousRight = INT_MIN;
    for (double x : xs) {
        const QString text = QString::fromStdString(axisLabel(x, "%.4g"));
        const int width = textWidth(painter, text);
        const int px = m.frame.pixelX(x);
        painter.drawLine(px, m.plot.bottom(), px, m.plot.bottom() + 4);
        if (px - width / 2 <= previousRight + 6) continue;
        drawTextTopLeft(painter, px - width / 2, m.plot.bottom() + 5, text);
        previousRight = px + width / 2;
    }
}

void drawYNumbers(QPainter& painter, const MapLayout& m, const std::vector<double>& ys) {
    const int line = painter.fontMetrics().height();
    int lastTop = INT_MAX;
    for (double y : ys) {
        const int py = m.frame.pixelY(y);
        painter.drawLine(m.plot.left() - 4, py, m.plot.left(), py);
        const int top = py - line / 2;
        if (top + line > lastTop) continue;
        const QString text = QString::fromStdString(axisLabel(y, "%.4g"));
        drawTextTopLeft(painter, m.plot.left() - 6 - textWidth(painter, text), top, text);
        lastTop = top;
    }
}

int widestNumber(const QPainter& painter, const std::vector<double>& values) {
    int widest = 0;
    for (double v : values)
        widest = std::max(widest, textWidth(painter, QString::fromStdString(axisLabel(v, "%.4g"))));
    return widest;
}

int legendWidth(QPainter& painter) {
    painter.setFont(studyTextFont());
    int widest = 0;
    for (const char* text : {"runs disagree (most runs shown)", "theory: bound of nucleation",
                             "theory: bound of continuous growth", "Regime of the runs"})
        widest = std::max(widest, textWidth(painter, text));
    return widest + 32;
}

MapLayout layOut(QPainter& painter, const QRect& area, const RegimeMapInputs& in) {
    MapLayout m;
    m.xEdges = cellEdges(in.xs);
    m.yEdges = cellEdges(in.ys);
    const int legend = legendWidth(painter);
    painter.setFont(studyTitleFont());
    const int titleLine = painter.fontMetrics().height();
    painter.setFont(studyTextFont());
    const int line = painter.fontMetrics().height();
    const int left = area.left() + kMargin + line + 8 + widestNumber(painter, in.ys) + 8;
    const int right = area.right() - kMargin - legend - 14;
    const int top = area.top() + kMargin + titleLine + 8;
    const int bottom = area.bottom() - kMargin - 2 * line - 10;
    m.plot = QRect(QPoint(left, top), QPoint(right, bottom));
    m.legend = QRect(QPoint(right + 14, top), QPoint(area.right() - kMargin, bottom));
    m.frame.setXRange(m.xEdges.front(), m.xEdges.back());
    m.frame.setYRange(m.yEdges.front(), m.yEdges.back());
    m.frame.setPixels(left, bottom, right, top);
    return m;
}

void drawCells(QPainter& painter, const MapLayout& m, const RegimeMapInputs& in) {
    for (const RegimeMapCell& cell : in.cells) {
        if (cell.i + 1 >= m.xEdges.size() || cell.j + 1 >= m.yEdges.size()) continue;
        const QRect rect(
            QPoint(m.frame.pixelX(m.xEdges[cell.i]), m.frame.pixelY(m.yEdges[cell.j + 1])),
            QPoint(m.frame.pixelX(m.xEdges[cell.i + 1]) - 1, m.frame.pixelY(m.yEdges[cell.j]) - 1));
        painter.fillRect(rect, regimeColour(cell.regime));
        if (cell.unanimous) continue;
        PainterSaver saver(painter);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(Qt::white);
        painter.drawEllipse(rect.center(), 4, 4);
    }
}

/// Thin light lines between the cells show where each combination stands.
void drawSeparators(QPainter& painter, const MapLayout& m) {
    painter.setPen(QPen(QColor(255, 255, 255, 160), 1));
    for (std::size_t k = 1; k + 1 < m.xEdges.size(); ++k)
        painter.drawLine(m.frame.pixelX(m.xEdges[k]), m.plot.top(), m.frame.pixelX(m.xEdges[k]),
                         m.plot.bottom());
    for (std::size_t k = 1; k + 1 < m.yEdges.size(); ++k)
        painter.drawLine(m.plot.left(), m.frame.pixelY(m.yEdges[k]), m.plot.right(),
                         m.frame.pixelY(m.yEdges[k]));
}

/// The theory's boundaries: where the regime of one sample differs from its
/// neighbour's, a mark; solid where nucleation begins, dashed where continuous
/// growth does.
void drawBoundaries(QPainter& painter, const MapLayout& m, const RegimeMapInputs& in) {
    if (!in.theory || m.frame.sx == 0 || m.frame.sy == 0) return;
    const int columns = m.plot.width() / kSampleStep + 1, rows = m.plot.height() / kSampleStep + 1;
    std::vector<std::optional<GrowthRegime>> samples(std::size_t(columns) * std::size_t(rows));
    auto pixelX = [&](int c) { return m.plot.left() + c * kSampleStep; };
    auto pixelY = [&](int r) { return m.plot.top() + r * kSampleStep; };
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            samples[std::size_t(r * columns + c)] =
                in.theory(m.frame.x0 + (pixelX(c) - m.frame.px0) / m.frame.sx,
                          m.frame.y0 + (pixelY(r) - m.frame.py0) / m.frame.sy);
    auto mark = [&](const std::optional<GrowthRegime>& a, const std::optional<GrowthRegime>& b,
                    int x, int y) {
        if (!a || !b || *a == *b) return;
        const bool nucleation = *a == GrowthRegime::Nucleation || *b == GrowthRegime::Nucleation;
        if (!nucleation && (x + y) / 6 % 2 != 0) return;  // the dashes of the continuous bound
        painter.fillRect(x - 1, y - 1, 3, 3, Qt::black);
    };
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const auto& here = samples[std::size_t(r * columns + c)];
            if (c + 1 < columns)
                mark(here, samples[std::size_t(r * columns + c + 1)], pixelX(c) + 1, pixelY(r));
            if (r + 1 < rows)
                mark(here, samples[std::size_t((r + 1) * columns + c)], pixelX(c), pixelY(r) + 1);
        }
    }
}

void drawMapLegend(QPainter& painter, const MapLayout& m, const RegimeMapInputs& in) {
    painter.setFont(studyTextFont());
    const int x = m.legend.left();
    int y = m.legend.top();
    painter.setPen(Qt::black);
    drawTextTopLeft(painter, x, y, "Regime of the runs");
    y += painter.fontMetrics().height() + 4;
    for (GrowthRegime regime : kLegendOrder) {
        const bool shown =
            std::any_of(in.cells.begin(), in.cells.end(),
                        [regime](const RegimeMapCell& c) { return c.regime == regime; });
        if (!shown && regime == GrowthRegime::Undetermined) continue;
        y = drawLegendEntry(painter, x, y, growthRegimeWord(regime),
                            [regime](QPainter& p, const QRect& r) {
                                p.fillRect(r.adjusted(2, 2, -2, -2), regimeColour(regime));
                            });
    }
    if (std::any_of(in.cells.begin(), in.cells.end(),
                    [](const RegimeMapCell& c) { return !c.unanimous; }))
        y = drawLegendEntry(painter, x, y, "runs disagree (most runs shown)",
                            [](QPainter& p, const QRect& r) {
                                p.setPen(Qt::black);
                                p.setBrush(Qt::white);
                                p.drawEllipse(r.center(), 4, 4);
                            });
    y += 8;
    y = drawLegendEntry(painter, x, y, "theory: bound of nucleation",
                        [](QPainter& p, const QRect& r) {
                            p.fillRect(r.left(), r.center().y() - 1, r.width(), 3, Qt::black);
                        });
    drawLegendEntry(painter, x, y, "theory: bound of continuous growth",
                    [](QPainter& p, const QRect& r) {
                        for (int dx = 0; dx < r.width(); dx += 12)
                            p.fillRect(r.left() + dx, r.center().y() - 1, 6, 3, Qt::black);
                    });
}

}  // namespace

QColor regimeColour(GrowthRegime regime) {
    switch (regime) {
        case GrowthRegime::Continuous:
            return {102, 194, 165};
        case GrowthRegime::Intermediate:
            return {252, 174, 97};
        case GrowthRegime::Nucleation:
            return {141, 160, 203};
        case GrowthRegime::Undetermined:
            break;
    }
    return {200, 200, 200};
}

std::vector<double> cellEdges(const std::vector<double>& values) {
    if (values.empty()) return {0, 1};
    if (values.size() == 1) {
        const double room = values[0] != 0 ? std::abs(values[0]) * 0.1 : 0.5;
        return {values[0] - room, values[0] + room};
    }
    std::vector<double> edges;
    edges.push_back(values[0] - (values[1] - values[0]) / 2);
    for (std::size_t k = 0; k + 1 < values.size(); ++k)
        edges.push_back((values[k] + values[k + 1]) / 2);
    edges.push_back(values.back() + (values.back() - values[values.size() - 2]) / 2);
    return edges;
}

void paintRegimeMap(QPainter& painter, const QRect& area, const RegimeMapInputs& in) {
    painter.fillRect(area, Qt::white);
    const MapLayout m = layOut(painter, area, in);
    painter.fillRect(m.plot, QColor(245, 245, 245));  // where nothing ran
    drawCells(painter, m, in);
    drawSeparators(painter, m);
    drawBoundaries(painter, m, in);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(m.plot);
    painter.setFont(studyTextFont());
    drawXNumbers(painter, m, in.xs);
    drawYNumbers(painter, m, in.ys);
    const int line = painter.fontMetrics().height();
    drawTextTopLeft(painter, (m.plot.left() + m.plot.right() - textWidth(painter, in.xTitle)) / 2,
                    area.bottom() - kMargin - line, in.xTitle);
    drawTextUpward(painter, area.left() + kMargin,
                   (m.plot.top() + m.plot.bottom() + textWidth(painter, in.yTitle)) / 2, in.yTitle);
    painter.setFont(studyTitleFont());
    drawTextTopLeft(painter, m.plot.left(), area.top() + kMargin, in.title);
    drawMapLegend(painter, m, in);
}

}  // namespace quorvane::views
