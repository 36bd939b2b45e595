// The status block of the Results panel.

#include "views/status_block_painter.h"

#include "views/painter_text.h"

namespace quorvane::views {

void paintStatusLines(QPainter& painter, const QRect& area, const std::vector<StatusLine>& lines,
                      const QFont& font) {
    PainterSaver saver(painter);
    painter.setBrush(Qt::white);
    painter.drawRect(area);
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setFont(font);
    for (const StatusLine& line : lines) {
        painter.setPen(QColor(line.colour.red, line.colour.green, line.colour.blue));
        drawTextTopLeft(painter, area.left() + line.x, area.top() + line.y,
                        fromWindows1252(line.text));
    }
}

void paintStatusBlock(QPainter& painter, const QRect& area, const StatusBlockInputs& inputs) {
    const RunEvaluation empty;
    const RunEvaluation& evaluation = inputs.evaluation ? *inputs.evaluation : empty;
    paintStatusLines(painter, area, statusBlockLines(evaluation, inputs.display), inputs.font);
}

}  // namespace quorvane::views
