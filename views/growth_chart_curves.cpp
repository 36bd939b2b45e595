// The growth chart's curves, one span a pixel column.

#include "views/growth_chart_curves.h"

#include <QLine>
#include <QRect>
#include <QVector>
#include <algorithm>
#include <cstdlib>

namespace quorvane::views {

namespace {

constexpr std::size_t kBlock = RecordEnvelope::kBlockEntries;

/// The first entry after `from` whose column lies right of column `x` (the count
/// when none does). The search starts where evenly spaced times would put that
/// entry and gallops from there, so that a frame reads the record's times only near
/// the columns' edges, however long the run.
std::size_t nextColumn(const ChartFrame& frame, const GrowthRecord& record, double toUnit,
                       std::size_t from, int x) {
    const std::size_t count = record.count(), last = count - 1;
    auto beyond = [&](std::size_t i) { return frame.pixelX(record.time(i) * toUnit) > x; };
    if (from >= last || !beyond(last)) return count;
    // Where the column's right edge falls between `from` and the last entry.
    const double edgeTime = ((x + 1 - frame.px0) / frame.sx + frame.x0) / toUnit;
    const double share = (edgeTime - record.time(from)) / (record.time(last) - record.time(from));
    std::size_t guess = from + 1;
    if (share > 0 && share < 1)
        guess += static_cast<std::size_t>(share * static_cast<double>(last - from));
    // A bracket [low, high] with the answer in it: high is beyond, low - 1 is not.
    std::size_t low = from + 1, high = last;
    for (std::size_t step = 1, probe = guess; probe > low && probe < high; step *= 2) {
        if (beyond(probe)) {
            high = probe;
            probe = probe > low + step ? probe - step : low;
        } else {
            low = probe + 1;
            probe += step;
        }
    }
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (beyond(middle))
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

}  // namespace

std::vector<std::size_t> growthChartColumns(const ChartFrame& frame, const GrowthRecord& record,
                                            double toUnit) {
    std::vector<std::size_t> starts;
    const std::size_t count = record.count();
    // `edge` is where the entries' own pixel column begins, `start` where the chart's
    // column does: a column of eight blocks or more ends on the block edge below its
    // own, so that its extremes need no single entries; the few entries moved on lie
    // within an eighth of a pixel of the next column.
    for (std::size_t start = 0, edge = 0; edge < count;) {
        starts.push_back(start);
        const std::size_t next =
            nextColumn(frame, record, toUnit, edge, frame.pixelX(record.time(edge) * toUnit));
        start = next < count && next - start >= 8 * kBlock ? next / kBlock * kBlock : next;
        edge = next;
    }
    starts.push_back(count);
    return starts;
}

std::vector<std::vector<ColumnSpan>> growthCurveSpans(const ChartFrame& frame,
                                                      const GrowthRecord& record, double toUnit,
                                                      const std::vector<GrowthCurve>& curves) {
    const std::vector<std::size_t> starts = growthChartColumns(frame, record, toUnit);
    const RecordEnvelope& envelope = record.envelope();
    std::vector<ChartFrame> frames(curves.size(), frame);
    for (std::size_t c = 0; c < curves.size(); ++c) frames[c].setYRange(curves[c].y0, curves[c].y1);
    std::vector<std::vector<ColumnSpan>> spans(curves.size());
    // Column by column for all curves: the series of a column share the envelope's
    // blocks, read once into the cache.
    for (std::size_t k = 0; k + 1 < starts.size(); ++k) {
        for (std::size_t c = 0; c < curves.size(); ++c) {
            const GrowthCurve& curve = curves[c];
            const std::size_t a = std::max(starts[k], curve.first), b = starts[k + 1];
            if (a >= b) continue;
            const RecordEnvelope::Extremes e = envelope.extremes(record, curve.series, a, b);
            // The last entry always lies in the column's own pixel column; the first
            // may be one handed on by the column before.
            ColumnSpan span{frame.pixelX(record.time(b - 1) * toUnit),
                            frames[c].pixelY(e.low * curve.scale),
                            frames[c].pixelY(e.high * curve.scale)};
            if (!spans[c].empty()) {
                const int before = spans[c].back().to;
                if (std::abs(before - span.to) < std::abs(before - span.from))
                    std::swap(span.from, span.to);
            }
            spans[c].push_back(span);
        }
    }
    return spans;
}

void drawCurveSpans(QPainter& painter, const std::vector<ColumnSpan>& spans, const QColor& colour) {
    QVector<QRect> bars;
    QVector<QLine> links;
    bars.reserve(static_cast<qsizetype>(spans.size()));
    links.reserve(2 * static_cast<qsizetype>(spans.size()));
    const QPoint down(1, 1);
    for (std::size_t k = 0; k < spans.size(); ++k) {
        const ColumnSpan& s = spans[k];
        bars.append(QRect(QPoint(s.x, std::min(s.from, s.to)),
                          QPoint(s.x + 1, std::max(s.from, s.to) + 1)));
        if (k == 0) continue;
        const QLine link(QPoint(spans[k - 1].x, spans[k - 1].to), QPoint(s.x, s.from));
        links.append(link);
        links.append(link.translated(down));
    }
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawRects(bars);
    painter.setPen(QPen(colour, 0));
    painter.drawLines(links);
    painter.restore();
}

}  // namespace quorvane::views
