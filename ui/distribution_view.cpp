#include "ui/distribution_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "views/distribution_picture.h"

namespace quorvane {

namespace {

const char* modeTip(const RandomArgument& argument) {
    return kEditModeTips[std::clamp(argument.editMode, 0, kEditModeCount - 1)];
}

}  // namespace

DistributionView::DistributionView(RandomArgument& argument, QWidget* parent)
    : QWidget(parent), argument_(argument) {
    setMinimumSize(200, 130);
    setCursor(Qt::SizeVerCursor);
    setToolTip(modeTip(argument));
}

QRect DistributionView::barArea() const {
    return views::distributionBarArea(rect());
}

ArgumentPart DistributionView::partAt(QPoint point, int* bin) const {
    const int slotCount = views::distributionSlotCount(argument_);
    const int slot = views::distributionSlotAt(rect(), slotCount, point.x());
    if (bin) *bin = std::clamp(slot - 1, 0, std::max(0, slotCount - 3));
    if (slot == 0) return ArgumentPart::LowerMass;
    if (slot == slotCount - 1) return ArgumentPart::UpperMass;
    return ArgumentPart::Bin;
}

int DistributionView::centreOf(ArgumentPart part, int bin) const {
    const int slotCount = views::distributionSlotCount(argument_);
    const int slot = part == ArgumentPart::LowerMass   ? 0
                     : part == ArgumentPart::UpperMass ? slotCount - 1
                                                       : bin + 1;
    return views::distributionSlotCentre(rect(), slotCount, slot);
}

void DistributionView::setSelected(bool selected, ArgumentPart part, int bin) {
    selected_ = selected;
    selectedPart_ = part;
    selectedBin_ = bin;
    setToolTip(modeTip(argument_));
    update();
}

int DistributionView::markedSlot() const {
    if (!selected_) return -1;
    switch (selectedPart_) {
        case ArgumentPart::LowerMass:
            return 0;
        case ArgumentPart::UpperMass:
            return views::distributionSlotCount(argument_) - 1;
        case ArgumentPart::Bin:
            return selectedBin_ >= 0 && selectedBin_ < static_cast<int>(argument_.bins.size())
                       ? selectedBin_ + 1
                       : -1;
        default:
            return -1;  // an end of the range has no bar
    }
}

void DistributionView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const double scale = dragging_ ? dragScale_ : views::distributionMassScale(argument_);
    views::paintDistribution(painter, rect(), {&argument_, selected_, markedSlot(), scale});
}

void DistributionView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    int bin = 0;
    dragPart_ = partAt(event->position().toPoint(), &bin);
    dragBin_ = bin;
    atStart_ = argument_;
    start_ = event->position().toPoint();
    dragScale_ = views::distributionMassScale(argument_);
    dragging_ = true;
    emit picked(dragPart_, dragBin_);
}

void DistributionView::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_) return;
    // Positive when the pointer moved down, the direction that lowers the bars.
    const double d = event->position().y() - start_.y();
    const double h = barArea().height();
    RandomArgument changed = atStart_;
    if (dragPart_ == ArgumentPart::Bin) {
        changed = dragged(atStart_, d, h, dragBin_);
    } else {
        // An end bar follows the pointer on the scale it was drawn with.
        const bool lower = dragPart_ == ArgumentPart::LowerMass;
        const double mass = (lower ? atStart_.below : atStart_.above) - d / h * dragScale_;
        if (lower) {
            setLowerMass(changed, mass);
        } else {
            setUpperMass(changed, mass);
        }
    }
    argument_ = changed;
    update();
    emit edited();
}

void DistributionView::mouseReleaseEvent(QMouseEvent* event) {
    if (dragging_) mouseMoveEvent(event);
    dragging_ = false;
    update();
}

}  // namespace quorvane
