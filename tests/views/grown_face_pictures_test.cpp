// The pictures of a face as a user watches them during a long run: the map keeps
// its greys, the stereo picture keeps both sides of the field, and nothing behind
// the field's front wall shows through it, from however low or askew a camera.

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPolygonF>
#include <cmath>
#include <map>
#include <vector>

#include "engine/growth_engine.h"
#include "picture_test_support.h"
#include "views/surface_pictures.h"

namespace quorvane::views {
namespace {

const QSize kWindow(600, 400);

/// A 60 x 60 face grown by plain steps only, as the run loop makes them.
struct GrownFace {
    Taus88 random;
    GrowthEngine engine{random};
    FieldExtent extent{60, 60, 6, 6, 6};
    SurfaceCamera camera;

    explicit GrownFace(int steps) {
        random.SeedForStart();
        const auto fast = static_cast<std::uint32_t>(0.3 * 4294967295.0);
        EXPECT_EQ(engine.InitRun(1, 3, fast, 6, 6, 6, 60, 60, 0.25, 0.05), InitStatus::Ok);
        for (int s = 0; s < steps; ++s) engine.StepPlain();
        takeFieldSize(camera, extent, kWindow);
    }
    SurfaceInputs inputs() const {
        return {engine.heights(), extent, engine.referenceLevel(), &camera};
    }
    QImage picture(PictureMode mode) const {
        QImage image(kWindow, QImage::Format_RGB32);
        SurfacePainter surface;
        QPainter painter(&image);
        surface.paint(painter, image.rect(), inputs(), mode);
        return image;
    }
};

TEST(GrownFacePictures, TheMapFollowsTheSurfaceAtEveryHeight) {
    for (const int steps : {40, 150, 400}) {
        GrownFace face(steps);
        const double mean = face.engine.mean_height();
        ASSERT_GT(mean, steps / 20.0) << "the face grows";
        // The shades centre on the surface itself, not on where it stood at the start.
        EXPECT_LE(std::abs(face.engine.referenceLevel() - mean), 3.5) << steps;
        const QImage map = face.picture(PictureMode::Map);
        if (steps == 400) test::keepPicture(map, "surface_map_many_layers");
        std::map<QRgb, int> greys;
        for (int y = 0; y < map.height(); ++y)
            for (int x = 0; x < map.width(); ++x)
                if (qRed(map.pixel(x, y)) == qBlue(map.pixel(x, y))) ++greys[map.pixel(x, y)];
        int field = 0, commonest = 0;
        for (const auto& [grey, count] : greys)
            field += count, commonest = std::max(commonest, count);
        EXPECT_GE(greys.size(), 4u) << steps << " steps: one grey per height";
        EXPECT_LT(commonest, field * 6 / 10) << steps << " steps";
    }
}

TEST(GrownFacePictures, TheStereoPictureKeepsBothSidesOfTheField) {
    const QImage stereo = GrownFace(60).picture(PictureMode::Stereo);
    test::keepPicture(stereo, "surface_stereo_grown");
    int edges = 0, red = 0, blue = 0;
    for (int y = 0; y < stereo.height(); ++y)
        for (int x = 0; x < stereo.width(); ++x) {
            const QRgb p = stereo.pixel(x, y);
            edges += (x < 2 || x >= stereo.width() - 2) && p != qRgb(0, 0, 0);
            red += qRed(p) > 0;
            blue += qBlue(p) > 0;
        }
    EXPECT_EQ(edges, 0) << "both eyes' fields end inside the picture";
    // Still a picture of the field's size, not a small one in the middle.
    EXPECT_GT(red, kWindow.width() * kWindow.height() / 5);
    EXPECT_GT(blue, kWindow.width() * kWindow.height() / 5);
}

// A terrace at height 5 whose lowest column stands in its far corner, with and
// without pits near its front: seen from low and from the side, the front wall is
// the same picture, for the pits' walls lie behind it.
TEST(GrownFacePictures, NothingBehindTheFrontWallShowsThroughIt) {
    const int side = 30;
    std::vector<std::int32_t> plain(static_cast<std::size_t>((side + 2) * (side + 2)), 5);
    plain[static_cast<std::size_t>(1 * (side + 2) + 1)] = 1;
    std::vector<std::int32_t> pitted = plain;
    // Two pits near the front corners, two and three cells behind the front wall.
    for (const int first : {3, 24})
        for (int i = first; i < first + 4; ++i)
            for (int j = 26; j <= 27; ++j) pitted[static_cast<std::size_t>(i * (side + 2) + j)] = 1;
    const FieldExtent extent{side, side, 6, 6, 6};
    for (const double azimuth : {0.3, 0.6, -0.5}) {
        SurfaceCamera camera;
        takeFieldSize(camera, extent, kWindow);
        const double r = camera.currentDistance(), polar = 1.45;
        camera.azimuth = azimuth;
        camera.polar = polar;
        camera.position = {camera.target.x + r * std::sin(polar) * std::sin(azimuth),
                           camera.target.y + r * std::sin(polar) * std::cos(azimuth),
                           camera.target.z + r * std::cos(polar)};
        fitCamera(camera, kWindow);
        QImage pictures[2];
        for (int k = 0; k < 2; ++k) {
            pictures[k] = QImage(kWindow, QImage::Format_RGB32);
            SurfacePainter surface;
            QPainter painter(&pictures[k]);
            surface.paint(painter, pictures[k].rect(),
                          {k == 0 ? plain : pitted, extent, 0, &camera}, PictureMode::ThreeD);
        }
        // The front wall (y = the field's depth, facing the camera) from its base to
        // the terrace's top, two pixels in from its outline.
        const Camera projection = Camera::make(camera, kWindow);
        const double Y = side * 6.0, X = side * 6.0, top = 5 * 6.0;
        QPolygonF wall;
        for (const D3Point& p :
             {D3Point{0, Y, 0}, D3Point{X, Y, 0}, D3Point{X, Y, top}, D3Point{0, Y, top}}) {
            const Camera::Screen s = projection.screen(p);
            wall << QPointF(s.x, s.y);
        }
        const QPointF middle = wall.boundingRect().center();
        for (QPointF& corner : wall)
            corner += 3 * (middle - corner) /
                      std::hypot(middle.x() - corner.x(), middle.y() - corner.y());
        int inside = 0, differing = 0;
        for (int y = 0; y < kWindow.height(); ++y)
            for (int x = 0; x < kWindow.width(); ++x) {
                if (!wall.containsPoint(QPointF(x, y), Qt::OddEvenFill)) continue;
                ++inside;
                differing += pictures[0].pixel(x, y) != pictures[1].pixel(x, y);
            }
        EXPECT_GT(inside, 1000) << azimuth;
        EXPECT_EQ(differing, 0) << "azimuth " << azimuth;
    }
}

}  // namespace
}  // namespace quorvane::views
