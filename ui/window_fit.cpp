#include "ui/window_fit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace quorvane {

QRect fittedGeometry(QSize wanted, const QMargins& frame, const QRect& available) {
    const QSize frameSize(frame.left() + frame.right(), frame.top() + frame.bottom());
    const QSize size = wanted.boundedTo(available.size() - frameSize).expandedTo(QSize(1, 1));
    const QSize outer = size + frameSize;
    QPoint corner = available.center() - QPoint(outer.width() / 2, outer.height() / 2);
    corner.setX(std::max(corner.x(), available.left()));
    corner.setY(std::max(corner.y(), available.top()));
    return QRect(corner + QPoint(frame.left(), frame.top()), size);
}

QRect WindowFit::available() const {
    const QScreen* screen = window_.screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

QMargins WindowFit::frame() const {
    // Known once the window is on screen; before, the title bar is unknown.
    if (const QWindow* handle = window_.windowHandle(); handle && handle->isVisible())
        return handle->frameMargins();
    return {};
}

void WindowFit::fit(QSize wanted) {
    const QRect area = available();
    if (!area.isEmpty()) wanted = fittedGeometry(wanted, frame(), area).size();
    window_.resize(wanted);
    minimum_ = window_.size();
    window_.setMinimumSize(minimum_);
    centre();
}

void WindowFit::fitFrame() {
    if (framed_ || !window_.isVisible()) return;
    framed_ = true;
    const QRect area = available();
    if (area.isEmpty() || area.contains(window_.frameGeometry())) return;
    const QRect place = fittedGeometry(window_.size(), frame(), area);
    minimum_ = minimum_.boundedTo(place.size());
    window_.setMinimumSize(minimum_);
    window_.setGeometry(place);
}

void WindowFit::centre() {
    const QRect area = available();
    if (area.isEmpty()) return;
    window_.move(fittedGeometry(window_.size(), frame(), area).topLeft() -
                 QPoint(frame().left(), frame().top()));
}

bool WindowFit::keepMinimum() {
    if (window_.width() >= minimum_.width() && window_.height() >= minimum_.height()) return true;
    // Never smaller than at start: the attempt is undone and the window re-centred.
    window_.resize(window_.size().expandedTo(minimum_));
    centre();
    return false;
}

}  // namespace quorvane
