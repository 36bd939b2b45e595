#pragma once
/// The value marks of the experiment plan on the Run panel: for each stepped
/// parameter a line of number marks, its values in blue and its current value in red.

#include <QPainter>
#include <QPoint>
#include <vector>

namespace quorvane::views {

/// One stepped parameter: the values it takes, in plan order, and the current one.
struct ValueMarkRow {
    std::vector<double> values;
    double current = 0;
};

struct ValueMarkInputs {
    std::vector<ValueMarkRow> rows;
    int width = 400;     ///< pixels from the first mark to the last
    int rowHeight = 36;  ///< pixels between two rows' lines
};

/// Draws the rows from `origin` (the left end of the first row's line) down, each
/// value at its place between the smallest and the largest of its row, and returns
/// the lower edge of the last row's labels (the plan frame ends 7 pixels below it).
int paintValueMarks(QPainter& painter, const QPoint& origin, const ValueMarkInputs& inputs);

}  // namespace quorvane::views
