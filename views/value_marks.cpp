// The value marks of the experiment plan.

#include "views/value_marks.h"

#include <algorithm>
#include <cmath>

#include "views/chart_frame.h"
#include "views/painter_text.h"

namespace quorvane::views {

int paintValueMarks(QPainter& painter, const QPoint& origin, const ValueMarkInputs& inputs) {
    PainterSaver saver(painter);
    painter.setFont(makeFont(kChartFamily, 16, 500));
    painter.setBackgroundMode(Qt::TransparentMode);
    int bottom = origin.y();
    int y = origin.y();
    for (const ValueMarkRow& row : inputs.rows) {
        if (row.values.empty()) continue;
        const auto [low, high] = std::minmax_element(row.values.begin(), row.values.end());
        const double span = *high - *low;
        // A row of one value (or equal values) puts its mark in the middle.
        auto xOf = [&](double v) {
            const double part = span > 0 ? (v - *low) / span : 0.5;
            return origin.x() + static_cast<int>(std::lround(part * inputs.width));
        };
        painter.setPen(Qt::blue);
        painter.drawLine(origin.x(), y, origin.x() + inputs.width, y);
        for (const double v : row.values)
            if (v != row.current) bottom = std::max(bottom, drawNumberMark(painter, v, xOf(v), y));
        painter.setPen(Qt::red);
        bottom = std::max(bottom, drawNumberMark(painter, row.current, xOf(row.current), y));
        y += inputs.rowHeight;
    }
    return bottom;
}

}  // namespace quorvane::views
