// The rasteriser of the surface pictures.

#include "views/pixel_raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace quorvane::views {

PixelRaster::PixelRaster(QImage& image)
    : bits_(reinterpret_cast<QRgb*>(image.bits())),
      stride_(image.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb))),
      width_(image.width()),
      height_(image.height()) {}

void PixelRaster::fillConvex(const QPoint* corners, int count, QRgb colour) {
    if (count < 3 || count > kMaxCorners) return;
    // The edges once: their rows and slopes.
    struct Edge {
        int ax, ay, bx, low, high;
        double slope;  ///< x per row; 0 for a level edge
    } edges[kMaxCorners];
    int top = corners[0].y(), bottom = top;
    for (int k = 0; k < count; ++k) {
        const QPoint a = corners[k], b = corners[(k + 1) % count];
        const bool level = a.y() == b.y();
        edges[k] = {a.x(),
                    a.y(),
                    b.x(),
                    std::min(a.y(), b.y()),
                    std::max(a.y(), b.y()),
                    level ? 0.0 : double(b.x() - a.x()) / (b.y() - a.y())};
        top = std::min(top, a.y());
        bottom = std::max(bottom, a.y());
    }
    // Every pixel the polygon touches: faces meeting at an edge overlap by a pixel
    // rather than leave a crack where one face's corner, rounded to a pixel, ends on
    // another face's edge. Drawn far to near, the nearer face wins the overlap.
    const int first = std::max(top - 1, 0), last = std::min(bottom, height_ - 1);
    for (int y = first; y <= last; ++y) {
        const int y0 = std::max(y, top), y1 = std::min(y + 1, bottom);
        if (y0 > y1) continue;
        double left = INFINITY, right = -INFINITY;
        for (int k = 0; k < count; ++k) {
            const Edge& e = edges[k];
            const int from = std::max(e.low, y0), to = std::min(e.high, y1);
            if (from > to) continue;
            if (e.low == e.high) {
                left = std::min({left, double(e.ax), double(e.bx)});
                right = std::max({right, double(e.ax), double(e.bx)});
                continue;
            }
            const double xFrom = e.ax + (from - e.ay) * e.slope, xTo = e.ax + (to - e.ay) * e.slope;
            left = std::min({left, xFrom, xTo});
            right = std::max({right, xFrom, xTo});
        }
        if (!(left <= right)) continue;
        const int x0 = static_cast<int>(std::max(std::floor(left), 0.0));
        const int x1 = static_cast<int>(std::min(std::max(std::ceil(right), std::floor(left) + 1),
                                                 static_cast<double>(width_)));
        QRgb* row = bits_ + static_cast<qsizetype>(y) * stride_;
        if (x0 < x1) std::fill(row + x0, row + x1, colour);
    }
}

void PixelRaster::line(QPoint a, QPoint b, QRgb colour) {
    // Far outside the image a line has nothing to draw; this also bounds the loop.
    const int limit = 4 * std::max(width_, height_) + 16;
    if (std::abs(a.x()) > limit || std::abs(a.y()) > limit || std::abs(b.x()) > limit ||
        std::abs(b.y()) > limit)
        return;
    int x = a.x(), y = a.y();
    const int dx = std::abs(b.x() - x), dy = -std::abs(b.y() - y);
    const int sx = x < b.x() ? 1 : -1, sy = y < b.y() ? 1 : -1;
    int error = dx + dy;
    for (;;) {
        put(x, y, colour);
        if (x == b.x() && y == b.y()) return;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += sx;
        }
        if (twice <= dx) {
            error += dx;
            y += sy;
        }
    }
}

}  // namespace quorvane::views
