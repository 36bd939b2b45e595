// The histogram of one random argument of the general experiment.

#include "views/distribution_picture.h"

#include <algorithm>
#include <utility>

#include "common/cformat.h"
#include "views/painter_text.h"

namespace quorvane::views {

namespace {

constexpr int kTitleHeight = 20;
constexpr int kRangeHeight = 20;

const QColor kEndTint(252, 240, 225);
const QColor kEndBar(230, 140, 40);
const QColor kBinBar(70, 120, 200);

/// The left and right pixel of a slot's column.
std::pair<int, int> slotColumn(const QRect& area, int slotCount, int slot) {
    return {area.left() + slot * area.width() / slotCount,
            area.left() + (slot + 1) * area.width() / slotCount};
}

void paintFrame(QPainter& p, const QRect& frame, const DistributionInputs& inputs) {
    p.fillRect(frame, Qt::white);
    p.setPen(
        QPen(inputs.selected ? QColor(0, 0, 255) : QColor(160, 160, 160), inputs.selected ? 2 : 1));
    p.drawRect(frame.adjusted(0, 0, -1, -1));
    p.setPen(Qt::black);
    p.drawText(QRect(frame.left(), frame.top() + 2, frame.width(), kTitleHeight - 2),
               Qt::AlignCenter, QString::fromStdString(inputs.argument->name));
}

void paintBars(QPainter& p, const QRect& area, const DistributionInputs& inputs) {
    const RandomArgument& a = *inputs.argument;
    const int slotCount = distributionSlotCount(a);
    for (int slot = 0; slot < slotCount; ++slot) {
        const bool end = slot == 0 || slot == slotCount - 1;
        const double mass = slot == 0 ? a.below : end ? a.above : a.bins[slot - 1];
        const auto [left, right] = slotColumn(area, slotCount, slot);
        const QRect column(left + 1, area.top(), right - left - 2, area.height());
        const int barHeight =
            static_cast<int>(std::min(1.0, std::max(0.0, mass / inputs.massScale)) * area.height());
        // The end slots are tinted even without mass: they can be dragged up.
        if (end) p.fillRect(column, kEndTint);
        p.fillRect(QRect(left + 1, area.bottom() - barHeight, right - left - 2, barHeight),
                   end ? kEndBar : kBinBar);
        if (slot == inputs.markedSlot) {
            p.setPen(QPen(QColor(220, 0, 0), 2));
            p.drawRect(column);
        }
    }
    p.setPen(Qt::black);
    p.drawLine(area.bottomLeft(), area.bottomRight());
    if (!a.valid) {
        p.setPen(QColor(200, 0, 0));
        p.drawText(area, Qt::AlignCenter, "no mass");
    }
}

void paintRange(QPainter& p, const QRect& frame, const RandomArgument& a) {
    const QRect range(frame.left() + 4, frame.top() + frame.height() - kRangeHeight,
                      frame.width() - 8, kRangeHeight);
    p.setPen(Qt::black);
    p.drawText(range, Qt::AlignLeft | Qt::AlignVCenter, distributionEndText(a, a.min));
    p.drawText(range, Qt::AlignRight | Qt::AlignVCenter, distributionEndText(a, a.max));
    p.setPen(QColor(100, 100, 100));
    p.drawText(range, Qt::AlignCenter, QString("mode %1").arg(a.editMode));
}

}  // namespace

int distributionSlotCount(const RandomArgument& argument) {
    return static_cast<int>(argument.bins.size()) + 2;
}

QRect distributionBarArea(const QRect& frame) {
    return QRect(frame.left() + 4, frame.top() + kTitleHeight, frame.width() - 8,
                 frame.height() - kTitleHeight - kRangeHeight);
}

int distributionSlotAt(const QRect& frame, int slotCount, int x) {
    const QRect area = distributionBarArea(frame);
    const int slot = (x - area.left()) * slotCount / std::max(1, area.width());
    return std::clamp(slot, 0, slotCount - 1);
}

int distributionSlotCentre(const QRect& frame, int slotCount, int slot) {
    const QRect area = distributionBarArea(frame);
    return area.left() + (2 * slot + 1) * area.width() / (2 * slotCount);
}

double distributionMassScale(const RandomArgument& argument) {
    double largest = std::max(argument.below, argument.above);
    for (double m : argument.bins) largest = std::max(largest, m);
    return std::max(largest, 0.05) * 1.15;
}

QString distributionEndText(const RandomArgument& argument, double end) {
    return isAutoEnd(argument, end) ? QString("auto")
                                    : QString::fromStdString(cformat("%.4g", end));
}

void paintDistribution(QPainter& painter, const QRect& frame, const DistributionInputs& inputs) {
    if (!inputs.argument) return;
    PainterSaver saver(painter);
    painter.setBrush(Qt::NoBrush);
    paintFrame(painter, frame, inputs);
    paintBars(painter, distributionBarArea(frame), inputs);
    paintRange(painter, frame, *inputs.argument);
}

}  // namespace quorvane::views
