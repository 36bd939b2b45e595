#include "ui/tab_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace quorvane {

namespace {

constexpr int kIconSide = 32;

QPixmap blank(int side = kIconSide) {
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

/// A table of physical data: a header row and three rows of two cells.
void drawDataTable(QPainter& p) {
    p.setPen(QPen(QColor(40, 40, 120), 1));
    p.setBrush(QColor(250, 250, 235));
    p.drawRect(3, 4, 25, 24);
    p.fillRect(4, 5, 24, 6, QColor(90, 120, 200));
    for (int y = 11; y < 28; y += 6) p.drawLine(3, y, 28, y);
    p.drawLine(12, 4, 12, 28);
    p.setPen(QPen(QColor(180, 40, 40), 2));
    for (int y = 14; y < 28; y += 6) p.drawLine(15, y, 25, y);
}

/// Run: a green start triangle.
void drawRun(QPainter& p) {
    QPainterPath triangle;
    triangle.moveTo(8, 4);
    triangle.lineTo(28, 16);
    triangle.lineTo(8, 28);
    triangle.closeSubpath();
    p.setPen(QPen(QColor(20, 90, 20), 1.5));
    p.setBrush(QColor(60, 180, 60));
    p.drawPath(triangle);
}

/// One column top of the surface: an isometric box of height h at cell (i, j).
void drawColumn(QPainter& p, double x, double y, double h) {
    const double w = 5, d = 3;
    QPolygonF top{{x, y - h}, {x + w, y - h - d}, {x + 2 * w, y - h}, {x + w, y - h + d}};
    QPolygonF left{{x, y - h}, {x + w, y - h + d}, {x + w, y + d}, {x, y}};
    QPolygonF right{{x + w, y - h + d}, {x + 2 * w, y - h}, {x + 2 * w, y}, {x + w, y + d}};
    p.setPen(QPen(QColor(30, 30, 60), 0.7));
    p.setBrush(QColor(120, 170, 230));
    p.drawPolygon(left);
    p.setBrush(QColor(70, 110, 190));
    p.drawPolygon(right);
    p.setBrush(QColor(200, 225, 250));
    p.drawPolygon(top);
}

/// View: a few columns of a rough surface.
void drawSurface(QPainter& p) {
    drawColumn(p, 11, 14, 6);
    drawColumn(p, 1, 20, 3);
    drawColumn(p, 21, 20, 9);
    drawColumn(p, 11, 26, 4);
}

/// Results: axes with a growth curve.
void drawChart(QPainter& p) {
    p.fillRect(4, 3, 25, 25, QColor(255, 255, 255));
    p.setPen(QPen(Qt::black, 1.5));
    p.drawLine(5, 3, 5, 28);
    p.drawLine(5, 28, 30, 28);
    QPainterPath curve;
    curve.moveTo(6, 26);
    curve.cubicTo(12, 25, 14, 12, 29, 6);
    p.setPen(QPen(QColor(200, 30, 30), 2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(curve);
    p.setPen(QPen(QColor(30, 30, 200), 1.5, Qt::DashLine));
    p.drawLine(6, 20, 29, 14);
}

/// Help: a question mark in a blue disc.
void drawHelp(QPainter& p) {
    p.setPen(QPen(QColor(20, 40, 140), 1));
    p.setBrush(QColor(60, 100, 210));
    p.drawEllipse(2, 2, 28, 28);
    QFont font("Times");
    font.setPixelSize(24);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(2, 2, 28, 28), Qt::AlignCenter, "?");
}

}  // namespace

QIcon tabIcon(int index) {
    if (index < 0 || index > 4) return {};
    QPixmap pixmap = blank();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    switch (index) {
        case 0:
            drawDataTable(painter);
            break;
        case 1:
            drawRun(painter);
            break;
        case 2:
            drawSurface(painter);
            break;
        case 3:
            drawChart(painter);
            break;
        default:
            drawHelp(painter);
            break;
    }
    painter.end();
    return QIcon(pixmap);
}

QIcon programIcon() {
    QIcon icon;
    for (int side : {16, 32, 48, 64}) {
        QPixmap pixmap = blank(32);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        drawSurface(painter);
        painter.end();
        icon.addPixmap(pixmap.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
    return icon;
}

}  // namespace quorvane
