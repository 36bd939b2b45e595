// The rasteriser of the surface pictures.

#include "views/pixel_raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace quorvane::views {

namespace {

// floor and ceil of a span's end, already limited to the image and a pixel
// around it, as ints: cheaper than the library's calls for a span of a few pixels.
int floorToInt(double v) {
    const int i = static_cast<int>(v);
    return i - (v < i ? 1 : 0);
}

int ceilToInt(double v) {
    const int i = static_cast<int>(v);
    return i + (v > i ? 1 : 0);
}

}  // namespace

PixelRaster::PixelRaster(QImage& image)
    : bits_(reinterpret_cast<QRgb*>(image.bits())),
      stride_(image.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb))),
      width_(image.width()),
      height_(image.height()),
      left_(static_cast<std::size_t>(std::max(height_, 0)) + 1),
      right_(left_.size()) {}

void PixelRaster::fillConvex(const QPoint* corners, int count, QRgb colour) {
    if (count < 3 || count > kMaxCorners) return;
    int top = corners[0].y(), bottom = top;
    for (int k = 1; k < count; ++k) {
        top = std::min(top, corners[k].y());
        bottom = std::max(bottom, corners[k].y());
    }
    // Every pixel the polygon touches: faces meeting at an edge overlap by a pixel
    // rather than leave a crack where one face's corner, rounded to a pixel, ends on
    // another face's edge. Drawn far to near, the nearer face wins the overlap.
    // Pixel row y spans the polygon between the heights y and y + 1 (the row above
    // the top gets the top's span), and corners lie on whole heights, so the span of
    // a row is that of its two bounding heights: each height's span once, then rows.
    const int first = std::max(top - 1, 0), last = std::min(bottom, height_ - 1);
    if (first > last) return;
    const int from = std::max(first, top), to = std::min(last + 1, bottom);
    if (from > to) return;
    double* left = left_.data();
    double* right = right_.data();
    std::fill(left + from, left + to + 1, INFINITY);
    std::fill(right + from, right + to + 1, -INFINITY);
    for (int k = 0; k < count; ++k) {
        const QPoint a = corners[k], b = corners[k + 1 < count ? k + 1 : 0];
        const int low = std::max(std::min(a.y(), b.y()), from);
        const int high = std::min(std::max(a.y(), b.y()), to);
        if (low > high) continue;
        if (a.y() == b.y()) {
            const double ax = a.x(), bx = b.x();
            left[low] = std::min(left[low], std::min(ax, bx));
            right[low] = std::max(right[low], std::max(ax, bx));
            continue;
        }
        const double slope = double(b.x() - a.x()) / (b.y() - a.y());
        for (int y = low; y <= high; ++y) {
            const double x = a.x() + (y - a.y()) * slope;
            left[y] = std::min(left[y], x);
            right[y] = std::max(right[y], x);
        }
    }
    for (int y = first; y <= last; ++y) {
        const int y0 = std::max(y, top), y1 = std::min(y + 1, bottom);
        if (y0 > y1) continue;
        const double l = std::min(left[y0], left[y1]), r = std::max(right[y0], right[y1]);
        if (!(l <= r)) continue;
        // Ends beyond a pixel outside the image draw as at that pixel.
        const double edge = width_ + 1.0;
        const int floorLeft = floorToInt(std::clamp(l, -1.0, edge));
        const int x0 = std::max(floorLeft, 0);
        const int x1 =
            std::min(std::max(ceilToInt(std::clamp(r, -1.0, edge)), floorLeft + 1), width_);
        QRgb* row = bits_ + static_cast<qsizetype>(y) * stride_;
        if (x1 - x0 <= 8) {
            // Most spans of a rough face are a few pixels: plain stores.
            for (int x = x0; x < x1; ++x) row[x] = colour;
        } else {
            std::fill(row + x0, row + x1, colour);
        }
    }
}

void PixelRaster::line(QPoint a, QPoint b, QRgb colour) {
    // Far outside the image a line has nothing to draw; this also bounds the loop.
    if (far(a, b)) return;
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

void PixelRaster::doubleLine(QPoint a, QPoint b, QRgb colour) {
    const QPoint down(0, 1);
    const bool upper = !far(a, b), lower = !far(a + down, b + down);
    // Only at the far limit does one of the two lines exist without the other.
    if (!upper || !lower) {
        if (upper) line(a, b, colour);
        if (lower) line(a + down, b + down, colour);
        return;
    }
    int x = a.x(), y = a.y();
    const int dx = std::abs(b.x() - x), dy = -std::abs(b.y() - y);
    const int sx = x < b.x() ? 1 : -1, sy = y < b.y() ? 1 : -1;
    int error = dx + dy;
    for (;;) {
        if (x >= 0 && x < width_) {
            const qsizetype at = static_cast<qsizetype>(y) * stride_ + x;
            if (y >= 0 && y < height_) bits_[at] = colour;
            if (y >= -1 && y + 1 < height_) bits_[at + stride_] = colour;
        }
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
