#pragma once
/// The status block of the Results panel: the run's state, its averages and its
/// growth mechanism in three columns, laid out by the widths of their texts.

#include <QFont>
#include <QPainter>
#include <QRect>
#include <vector>

#include "sheets/status_lines.h"

namespace quorvane::views {

struct StatusBlockInputs {
    const RunEvaluation* evaluation = nullptr;  ///< the empty evaluation when null
    StatusDisplay display;
    QFont font;  ///< the surrounding panel's font
};

/// Where the lines go in `area`: the font they are written in (the given one,
/// or smaller where the texts would not fit otherwise) and the box of every line,
/// in the order of `lines`.
struct StatusLayout {
    QFont font;
    std::vector<QRect> boxes;
};
StatusLayout layoutStatusLines(const QRect& area, const std::vector<StatusLine>& lines,
                               const QFont& font);

/// Fills `area` white, outlined with the painter's pen, and writes every line of
/// `statusBlockLines` in its place and in the colour of its tone.
void paintStatusBlock(QPainter& painter, const QRect& area, const StatusBlockInputs& inputs);

/// The same from lines already made.
void paintStatusLines(QPainter& painter, const QRect& area, const std::vector<StatusLine>& lines,
                      const QFont& font);

}  // namespace quorvane::views
