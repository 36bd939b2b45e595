// The rasteriser of the surface pictures: no cracks between faces, lines with both ends.

#include "views/pixel_raster.h"

#include <gtest/gtest.h>

#include <QImage>

#include "picture_test_support.h"

namespace quorvane::views {
namespace {

constexpr QRgb kRed = 0xFFFF0000, kBlue = 0xFF0000FF, kWhite = 0xFFFFFFFF;

TEST(PixelRasterFill, FacesSharingASlantedEdgeLeaveNoGap) {
    QImage image(100, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    PixelRaster raster(image);
    // Two quadrilaterals split by a slanted edge, and a third whose corner ends on
    // that edge's middle with a rounding error of a pixel (a T-junction).
    const QPoint left[4] = {{10, 10}, {47, 10}, {61, 90}, {10, 90}};
    const QPoint right[4] = {{47, 10}, {90, 10}, {90, 50}, {54, 50}};
    const QPoint lower[4] = {{55, 51}, {90, 51}, {90, 90}, {61, 90}};
    raster.fillConvex(left, 4, kRed);
    raster.fillConvex(right, 4, kBlue);
    raster.fillConvex(lower, 4, kBlue);
    test::keepPicture(image, "raster_faces");
    EXPECT_EQ(test::countColour(image, kWhite, QRect(11, 11, 78, 78)), 0);
    // The faces stay within a pixel of their corners.
    EXPECT_EQ(test::countColour(image, kWhite, QRect(0, 0, 100, 9)), 100 * 9);
    EXPECT_EQ(test::countColour(image, kWhite, QRect(92, 0, 8, 100)), 8 * 100);
    // Corners outside the image are cut, and degenerate shapes draw nothing.
    const QPoint huge[4] = {{-500, -500}, {600, -500}, {600, 600}, {-500, 600}};
    const QPoint flat[3] = {{5, 5}, {50, 50}, {5, 5}};
    raster.fillConvex(flat, 2, kRed);
    raster.fillConvex(huge, 4, kRed);
    EXPECT_EQ(test::countColour(image, kRed), 100 * 100);
}

TEST(PixelRasterLine, BothEndsAndFarLinesSkipped) {
    QImage image(50, 50, QImage::Format_RGB32);
    image.fill(Qt::white);
    PixelRaster raster(image);
    raster.line({3, 4}, {40, 20}, kRed);
    EXPECT_EQ(image.pixel(3, 4), kRed);
    EXPECT_EQ(image.pixel(40, 20), kRed);
    EXPECT_EQ(test::countColour(image, kRed), 38);  // one pixel per column
    raster.line({45, 45}, {45, 45}, kBlue);
    EXPECT_EQ(image.pixel(45, 45), kBlue);
    // Partly outside: the part inside is drawn, nothing is written beyond the edge.
    raster.line({-20, 30}, {70, 30}, kBlue);
    EXPECT_EQ(test::countColour(image, kBlue, QRect(0, 30, 50, 1)), 50);
    // Ends far away (a point just in front of the camera) are not walked.
    raster.line({-1000000, 0}, {1000000, 0}, kBlue);
    EXPECT_EQ(test::countColour(image, kBlue, QRect(0, 0, 50, 1)), 0);
}

TEST(PixelRasterLine, DoubleLineIsTheLineAndTheOneBelowIt) {
    // Steep, shallow, reversed, partly outside, at the bottom edge and far away.
    const QPoint ends[][2] = {{{3, 4}, {40, 20}},
                              {{10, 45}, {12, 2}},
                              {{47, 3}, {-5, 30}},
                              {{0, 49}, {49, 49}},
                              {{-900000, 7}, {900000, 7}}};
    for (const auto& e : ends) {
        QImage once(50, 50, QImage::Format_RGB32), twice(50, 50, QImage::Format_RGB32);
        once.fill(Qt::white);
        twice.fill(Qt::white);
        PixelRaster(once).doubleLine(e[0], e[1], kRed);
        PixelRaster separate(twice);
        separate.line(e[0], e[1], kRed);
        separate.line(e[0] + QPoint(0, 1), e[1] + QPoint(0, 1), kRed);
        EXPECT_EQ(once, twice) << e[0].x() << "," << e[0].y() << " to " << e[1].x() << ","
                               << e[1].y();
    }
}

}  // namespace
}  // namespace quorvane::views
