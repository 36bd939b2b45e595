// The three mode icons of the View panel, drawn rather than loaded.

#include <QPainter>
#include <QPolygon>

#include "views/mode_icons.h"
#include "views/surface_pictures.h"

namespace quorvane::views {

namespace {

constexpr int kStripWidth = 117;
constexpr int kStripHeight = 19;
constexpr int kIconPitch = 37;

// A map: a chequer of greys in a green frame.
void drawMapIcon(QPainter& p, int x) {
    const int shades[3][4] = {{100, 175, 125, 200}, {150, 75, 225, 100}, {200, 125, 50, 175}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c) {
            const int v = shades[r][c];
            p.fillRect(x + 6 + c * 6, 2 + r * 5, 6, 5, QColor(v, v, v));
        }
    p.setPen(QPen(QColor(20, 245, 130), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(x + 5, 1, 25, 16);
}

// A block of columns of three heights in oblique view.
void drawBlockIcon(QPainter& p, int x) {
    const int heights[3] = {6, 11, 8};
    for (int k = 0; k < 3; ++k) {
        const int left = x + 6 + k * 8, top = 17 - heights[k];
        p.setPen(QPen(QColor(60, 60, 60), 1));
        p.setBrush(QColor(170, 170, 170));
        p.drawRect(left, top, 7, heights[k]);
        const QPoint roof[4] = {
            {left, top}, {left + 3, top - 3}, {left + 10, top - 3}, {left + 7, top}};
        p.setBrush(QColor(220, 220, 220));
        p.drawPolygon(roof, 4);
    }
}

// A pair of glasses, a red and a blue glass.
void drawGlassesIcon(QPainter& p, int x) {
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(230, 0, 0));
    p.drawEllipse(x + 4, 5, 12, 10);
    p.setBrush(QColor(0, 0, 230));
    p.drawEllipse(x + 21, 5, 12, 10);
    p.drawLine(x + 16, 9, x + 21, 9);
    p.drawLine(x + 4, 9, x + 1, 4);
    p.drawLine(x + 33, 9, x + 36, 4);
}

}  // namespace

QImage modeIconStrip() {
    QImage strip(kStripWidth, kStripHeight, QImage::Format_RGB32);
    strip.fill(QColor(255, 0, 255));
    QPainter p(&strip);
    drawMapIcon(p, 0);
    drawBlockIcon(p, kIconPitch);
    drawGlassesIcon(p, 2 * kIconPitch);
    return strip;
}

void paintModeIcons(QPainter& painter, const QPoint& at) {
    static const QImage strip = [] {
        QImage image = modeIconStrip().convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                if (line[x] == kIconTransparent) line[x] = qRgba(0, 0, 0, 0);
        }
        return image;
    }();
    painter.drawImage(at, strip);
}

std::array<QRect, 3> modeIconRects(int windowRight) {
    std::array<QRect, 3> rects;
    for (int k = 0; k < 3; ++k)
        rects[static_cast<std::size_t>(k)] = QRect(windowRight - 165 + k * kIconPitch, 15, 37, 20);
    return rects;
}

void paintModeIcons(QPainter& painter, const std::array<QRect, 3>& rects, PictureMode selected) {
    painter.save();
    // A light backing keeps the icons visible on the black of the stereo picture;
    // the selected one stands on blue in a dark frame.
    const QRect strip = rects[0].united(rects[2]);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(245, 245, 245, 220));
    painter.drawRect(strip.adjusted(-2, -2, 2, 2));
    const QRect marked = rects[static_cast<std::size_t>(selected)];
    painter.setBrush(QColor(170, 200, 255));
    painter.setPen(QPen(QColor(0, 40, 140), 2));
    painter.drawRect(marked.adjusted(1, 1, -1, -1));
    // Drawn in place rather than from the strip's image: sharp on a scaled screen.
    painter.translate(rects[0].topLeft());
    drawMapIcon(painter, 0);
    drawBlockIcon(painter, kIconPitch);
    drawGlassesIcon(painter, 2 * kIconPitch);
    painter.restore();
}

std::string modeDescription(PictureMode mode) {
    switch (mode) {
        case PictureMode::Map:
            return "Map: the crystal face seen from above, one grey per height of the columns";
        case PictureMode::ThreeD:
            return "Three dimensions: the columns of molecules in perspective";
        case PictureMode::Stereo:
            return "Stereo: the three-dimensional picture in red and blue, for coloured glasses";
    }
    return {};
}

std::string modeIconTip(PictureMode mode) {
    static constexpr const char* kKeys[] = {"Ctrl+1", "Ctrl+2", "Ctrl+3"};
    std::string tip = modeDescription(mode) + " (" + kKeys[static_cast<int>(mode)] + ").";
    if (mode == PictureMode::Map) return tip;
    return tip +
           "\nCamera: Up, Down turn it over the face, Left, Right turn it around (or the "
           "keypad's 8, 2, 4, 6); Ctrl+Up, Ctrl+Down raise and lower it; Ctrl+Left, "
           "Ctrl+Right zoom in and out; I puts it back.\nS pauses a run, R resumes it.";
}

int modeAt(const std::array<QRect, 3>& rects, const QPoint& point) {
    for (int k = 0; k < 3; ++k)
        if (rects[static_cast<std::size_t>(k)].contains(point)) return k;
    return -1;
}

}  // namespace quorvane::views
