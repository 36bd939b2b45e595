#pragma once
/// The status block of the Results panel: the run's state, its averages and its
/// growth mechanism, as the core lays the lines out.

#include <QFont>
#include <QPainter>
#include <QRect>
#include <vector>

#include "engine/status_block.h"

namespace quorvane::views {

struct StatusBlockInputs {
    const RunEvaluation* evaluation = nullptr;  ///< the empty evaluation when null
    StatusDisplay display;
    QFont font;  ///< the surrounding panel's font
};

/// Fills `area` white, outlined with the painter's pen, and writes every line of
/// `statusBlockLines` at its place (top-left of its text) in its colour.
void paintStatusBlock(QPainter& painter, const QRect& area, const StatusBlockInputs& inputs);

/// The same from lines already made.
void paintStatusLines(QPainter& painter, const QRect& area, const std::vector<StatusLine>& lines,
                      const QFont& font);

}  // namespace quorvane::views
