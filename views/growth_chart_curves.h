#pragma once
/// The curves of the growth chart on the screen: in each pixel column, the span from
/// the smallest to the largest value of the column's entries, however many they are.

#include <QColor>
#include <QPainter>
#include <cstddef>
#include <vector>

#include "engine/growth_record.h"
#include "views/chart_frame.h"

namespace quorvane::views {

/// One curve of the chart: its series, the factor into display units, its range
/// and its first entry.
struct GrowthCurve {
    ChartSeries series;
    double scale = 1;
    double y0 = 0, y1 = 1;
    std::size_t first = 0;
    QColor colour;
};

/// The first entry of every pixel column of `frame` the record's entries fall in
/// (time times `toUnit` along x), then the count. A column of many entries ends on
/// a block of the record's envelope, so that its extremes come from whole blocks.
std::vector<std::size_t> growthChartColumns(const ChartFrame& frame, const GrowthRecord& record,
                                            double toUnit);

/// A curve in one pixel column: from its smallest to its largest value there, in
/// pixels, `from` being the end nearer the column before.
struct ColumnSpan {
    int x;
    int from;
    int to;
};

/// The spans of each curve, column by column.
std::vector<std::vector<ColumnSpan>> growthCurveSpans(const ChartFrame& frame,
                                                      const GrowthRecord& record, double toUnit,
                                                      const std::vector<GrowthCurve>& curves);

/// Draws a curve two pixels wide: each span as a bar, then a line from each span's
/// end to the next one's start. A bar is one fill however long the column's spread,
/// where a line would be walked pixel by pixel up and down through it.
void drawCurveSpans(QPainter& painter, const std::vector<ColumnSpan>& spans, const QColor& colour);

}  // namespace quorvane::views
