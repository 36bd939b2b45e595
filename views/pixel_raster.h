#pragma once
/// A small rasteriser of the surface pictures: convex quadrilaterals and one-pixel
/// lines straight into a 32-bit image. A rough face has a hundred thousand tiny
/// walls and tops; drawn one by one through QPainter each costs a microsecond of
/// state handling, here a few dozen nanoseconds.

#include <QImage>
#include <QPoint>
#include <QRgb>

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

  private:
    void put(int x, int y, QRgb colour) {
        if (x >= 0 && x < width_ && y >= 0 && y < height_)
            bits_[static_cast<qsizetype>(y) * stride_ + x] = colour;
    }

    QRgb* bits_;
    qsizetype stride_;
    int width_;
    int height_;
};

}  // namespace quorvane::views
