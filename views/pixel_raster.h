#pragma once
/// A small rasteriser of the surface pictures: convex quadrilaterals and one-pixel
/// lines straight into a 32-bit image. A rough face has a hundred thousand tiny
/// walls and tops; drawn one by one through QPainter each costs a microsecond of
/// state handling, here a few dozen nanoseconds.

#include <QImage>
#include <QPoint>
#include <QRgb>
#include <algorithm>
#include <cstdlib>
#include <vector>

namespace quorvane::views {

class PixelRaster {
  public:
    /// The image must be Format_RGB32 or Format_ARGB32(_Premultiplied); it is not
    /// reallocated.
    explicit PixelRaster(QImage& image);

    /// Corners of the largest polygon filled (the faces are quadrilaterals).
    static constexpr int kMaxCorners = 8;

    /// Fills every pixel that the convex polygon (corners in order, either way
    /// round) touches, so that faces sharing an edge overlap by up to a pixel and
    /// never leave a gap along it. More than kMaxCorners corners draw nothing.
    void fillConvex(const QPoint* corners, int count, QRgb colour);
    /// A one-pixel line from a to b, both ends included.
    void line(QPoint a, QPoint b, QRgb colour);
    /// The line from a to b and the same one pixel lower: a line two pixels wide,
    /// walked once. The same pixels as line(a, b) and line(a + (0, 1), b + (0, 1)).
    void doubleLine(QPoint a, QPoint b, QRgb colour);

  private:
    bool far(QPoint a, QPoint b) const {
        const int limit = 4 * std::max(width_, height_) + 16;
        return std::abs(a.x()) > limit || std::abs(a.y()) > limit || std::abs(b.x()) > limit ||
               std::abs(b.y()) > limit;
    }
    void put(int x, int y, QRgb colour) {
        if (x >= 0 && x < width_ && y >= 0 && y < height_)
            bits_[static_cast<qsizetype>(y) * stride_ + x] = colour;
    }

    QRgb* bits_;
    qsizetype stride_;
    int width_;
    int height_;
    /// Per whole height of the image (0..height): the polygon's span at that height.
    std::vector<double> left_, right_;
};

}  // namespace quorvane::views
