#pragma once
/// The phase diagram of the full report: the liquidus against the concentration,
/// with the solution's present state on it.

#include <QPainter>
#include <QRect>

#include "model/physical_data.h"

namespace quorvane::views {

/// Draws the diagram of `d` into `area` (already white).
void paintPhaseDiagram(QPainter& painter, const QRect& area, const PhysicalData& d);

}  // namespace quorvane::views
