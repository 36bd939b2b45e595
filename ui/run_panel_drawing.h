#pragma once
/// What the Run panel draws around its controls besides the labels and the
/// chart: the coloured group frames and the value marks of the experiment plan.

#include <QColor>
#include <QRect>
#include <QString>

#include "experiments/plan.h"

class QPainter;

namespace quorvane {

/// A rectangle outline in its pen with the caption 5 pixels right of its left
/// edge, the caption's baseline 2 pixels above the top edge.
void drawGroupFrame(QPainter& p, const char* caption, const QRect& frame, const QColor& colour,
                    int penWidth);

/// Where the value marks under the plan list end (the list's bottom when the
/// plan is empty).
int planMarksBottom(const QRect& list, const ExperimentPlan& plan);
/// One line per stepped kind under the list: every value of the kind as a
/// blue mark, the value the next run uses in red.
void drawPlanValueMarks(QPainter& p, const QRect& list, const ExperimentPlan& plan);

}  // namespace quorvane
