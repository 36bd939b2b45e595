#pragma once
/// The histogram of one random argument of the general experiment: its name
/// above, the mass at the lower end, the bins and the mass at the upper end as
/// bars, and the range written below.

#include <QPainter>
#include <QRect>
#include <QString>

#include "model/random_argument.h"

namespace quorvane::views {

struct DistributionInputs {
    const RandomArgument* argument = nullptr;  ///< nothing drawn when null
    bool selected = false;  ///< the argument the dialog's value edit sets: a blue frame
    int markedSlot = -1;    ///< the slot outlined in red (see below); -1 for none
    double massScale = 1;   ///< the mass drawn at the full bar height
};

/// The histogram's slots, left to right: 0 the mass at the lower end, 1..n the
/// bins, n + 1 the mass at the upper end.
int distributionSlotCount(const RandomArgument& argument);
/// Where the bars stand within the picture's `frame`.
QRect distributionBarArea(const QRect& frame);
/// The slot under the horizontal position `x`, the outermost ones beyond the bars.
int distributionSlotAt(const QRect& frame, int slotCount, int x);
/// The horizontal centre of a slot.
int distributionSlotCentre(const QRect& frame, int slotCount, int slot);
/// The mass drawn at the full bar height: the largest mass with some headroom,
/// so that the highest bar can still be dragged upward.
double distributionMassScale(const RandomArgument& argument);
/// An end of the range as it is shown: "auto" or the value.
QString distributionEndText(const RandomArgument& argument, double end);

void paintDistribution(QPainter& painter, const QRect& frame, const DistributionInputs& inputs);

}  // namespace quorvane::views
