// The status block of the Results panel.

#include "views/status_block_painter.h"

#include <QFontMetrics>
#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

#include "views/painter_text.h"

namespace quorvane::views {
namespace {

/// Where the columns begin on a wide block, as parts of its width: the block
/// was drawn so on a window 1,400 pixels wide.
constexpr std::array<double, 3> kNominalColumnX{10.0 / 1400, 400.0 / 1400, 950.0 / 1400};
/// The smallest text the block shrinks to before it lets a line run out.
constexpr double kSmallestPointSize = 5;

QColor toneColour(StatusTone tone) {
    switch (tone) {
        case StatusTone::State:
            return QColor(0, 0, 0);
        case StatusTone::ComputerTime:
            return QColor(100, 40, 40);
        case StatusTone::Average:
            break;
    }
    return QColor(0, 0, 125);
}

std::size_t columnOf(const StatusLine& line) {
    return static_cast<std::size_t>(line.column);
}

/// The left edges of the columns for texts this wide: where a wide block
/// always put them, pushed right or left where a column needs the room; none
/// when they cannot all fit.
std::optional<std::array<int, 3>> columnEdges(const QRect& area, const std::array<int, 3>& widths,
                                              int margin, int gap) {
    std::array<int, 3> x{};
    int nextFree = margin;
    for (std::size_t c = 0; c < 3; ++c) {
        x[c] = std::max(static_cast<int>(kNominalColumnX[c] * area.width()), nextFree);
        nextFree = x[c] + widths[c] + (widths[c] > 0 ? gap : 0);
    }
    // From the right: a column that runs past the edge moves left into the room
    // the nominal places left between the columns.
    int limit = area.width() - margin;
    for (std::size_t c = 3; c-- > 0;) {
        x[c] = std::min(x[c], limit - widths[c]);
        limit = x[c] - (widths[c] > 0 ? gap : 0);
    }
    if (x[0] < margin) return std::nullopt;
    for (std::size_t c = 1; c < 3; ++c)
        if (x[c] < x[c - 1] + widths[c - 1]) return std::nullopt;
    return x;
}

/// The boxes of the lines in this font, or none when they do not fit the area.
std::optional<std::vector<QRect>> placeLines(const QRect& area,
                                             const std::vector<StatusLine>& lines,
                                             const QFont& font) {
    const QFontMetrics metrics(font);
    const int indent = 4 * metrics.averageCharWidth();
    const int rowHeight = static_cast<int>(std::ceil(metrics.height() * 1.12));
    std::array<int, 3> widths{};
    std::vector<int> advances;
    int lastRow = 0;
    for (const StatusLine& line : lines) {
        advances.push_back(metrics.horizontalAdvance(fromWindows1252(line.text)) + 1);
        int& width = widths[columnOf(line)];
        width = std::max(width, advances.back() + (line.indented ? indent : 0));
        lastRow = std::max(lastRow, line.row);
    }
    const int top = rowHeight / 3;
    if (top + lastRow * rowHeight > area.height()) return std::nullopt;
    const int margin = metrics.averageCharWidth();
    const auto x = columnEdges(area, widths, margin, 3 * margin);
    if (!x) return std::nullopt;
    std::vector<QRect> boxes;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const StatusLine& line = lines[i];
        boxes.emplace_back(area.left() + (*x)[columnOf(line)] + (line.indented ? indent : 0),
                           area.top() + top + (line.row - 1) * rowHeight, advances[i],
                           metrics.height());
    }
    return boxes;
}

}  // namespace

StatusLayout layoutStatusLines(const QRect& area, const std::vector<StatusLine>& lines,
                               const QFont& font) {
    QFont shrunk = font;
    double size = font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * 0.75;
    for (;;) {
        if (auto boxes = placeLines(area, lines, shrunk)) return {shrunk, std::move(*boxes)};
        if (size <= kSmallestPointSize) break;
        size = std::max(kSmallestPointSize, size * 0.92);
        shrunk.setPointSizeF(size);
    }
    // Too small an area for any legible text: the lines keep the smallest size
    // and run out at the right, rather than vanish.
    const QFontMetrics metrics(shrunk);
    std::vector<QRect> boxes;
    for (const StatusLine& line : lines)
        boxes.emplace_back(area.left() + static_cast<int>(columnOf(line)) * area.width() / 3,
                           area.top() + (line.row - 1) * metrics.height(),
                           metrics.horizontalAdvance(fromWindows1252(line.text)), metrics.height());
    return {shrunk, std::move(boxes)};
}

void paintStatusLines(QPainter& painter, const QRect& area, const std::vector<StatusLine>& lines,
                      const QFont& font) {
    PainterSaver saver(painter);
    painter.setBrush(Qt::white);
    painter.drawRect(area);
    painter.setBackgroundMode(Qt::TransparentMode);
    const StatusLayout layout = layoutStatusLines(area, lines, font);
    painter.setFont(layout.font);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        painter.setPen(toneColour(lines[i].tone));
        drawTextTopLeft(painter, layout.boxes[i].left(), layout.boxes[i].top(),
                        fromWindows1252(lines[i].text));
    }
}

void paintStatusBlock(QPainter& painter, const QRect& area, const StatusBlockInputs& inputs) {
    const RunEvaluation empty;
    const RunEvaluation& evaluation = inputs.evaluation ? *inputs.evaluation : empty;
    paintStatusLines(painter, area, statusBlockLines(evaluation, inputs.display), inputs.font);
}

}  // namespace quorvane::views
