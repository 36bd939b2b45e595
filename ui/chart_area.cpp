#include "ui/chart_area.h"

#include <QPainter>

namespace quorvane {

ChartArea::ChartArea(QWidget* parent) : QWidget(parent) {
    setMinimumSize(360, 210);
}

void ChartArea::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (painter) painter(p, rect());
    p.setPen(QColor(120, 120, 120));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace quorvane
