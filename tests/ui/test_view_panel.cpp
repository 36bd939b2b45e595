// The View panel under the offscreen platform: its mode icons, the camera keys
// the main window forwards, the camera reset and the field size of a new run.

#include <QtTest>

#include "live_panels_support.h"
#include "ui/view_panel.h"

using namespace quorvane;
using namespace quorvane::testing;

namespace {

struct CameraPose {
    double x, y, z, azimuth, polar, focal;
    bool operator==(const CameraPose&) const = default;
};

CameraPose pose(const views::SurfaceCamera& c) {
    return {c.position.x, c.position.y, c.position.z, c.azimuth, c.polar, c.focal};
}

/// How far outside the picture the field's corners, a layer below its base, lie:
/// the largest |px| / hw and |py| / hh (at most 1 when all are in the picture).
double cornerReach(const views::SurfaceCamera& camera, const QSize& window) {
    const views::Camera projection = views::Camera::make(camera, window);
    const double X = camera.extentX(), Y = camera.extentY(), z = -camera.field.sizeA;
    double reach = 0;
    for (auto [x, y] : {std::pair{0.0, 0.0}, {0.0, Y}, {X, Y}, {X, 0.0}}) {
        const views::Camera::Projected p = projection.project({x, y, z});
        if (p.depth >= 0) return 1e9;  // behind the camera
        reach = std::max({reach, std::fabs(p.px) / projection.hw, std::fabs(p.py) / projection.hh});
    }
    return reach;
}

}  // namespace

class ViewPanelTest : public QObject {
    Q_OBJECT
  private slots:
    void aClickOnEachIconSelectsItsModeAndRedraws() {
        LiveFixture f(40);
        ViewPanel view(f.session);
        view.resize(900, 600);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QCOMPARE(view.mode(), views::PictureMode::Map);
        for (int mode : {1, 2, 0}) {
            const int before = view.framesDrawn();
            QTest::mouseClick(&view, Qt::LeftButton, {}, view.iconRects()[mode].center());
            QCOMPARE(static_cast<int>(view.mode()), mode);
            QVERIFY(view.framesDrawn() > before);
        }
        // A click beside the icons, or with the right button, changes nothing.
        QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(20, 300));
        QTest::mouseClick(&view, Qt::RightButton, {}, view.iconRects()[1].center());
        QCOMPARE(view.mode(), views::PictureMode::Map);
    }

    void diagonalsMoveNothingAndSingleArrowsTurn() {
        LiveFixture f(40);
        ViewPanel view(f.session);
        view.resize(900, 600);
        const CameraPose start = pose(view.camera());
        QVERIFY(!testing::pressKeys(view, {Qt::Key_Up, Qt::Key_Left}, Qt::NoModifier));
        QVERIFY(!testing::pressKeys(view, {Qt::Key_Down, Qt::Key_Right}, Qt::NoModifier));
        QVERIFY(!testing::pressKeys(view, {Qt::Key_7}, Qt::KeypadModifier));
        QVERIFY(!testing::pressKeys(view, {Qt::Key_Up}, Qt::AltModifier));
        QVERIFY(pose(view.camera()) == start);

        QVERIFY(testing::pressKeys(view, {Qt::Key_Up}, Qt::NoModifier));
        QCOMPARE(view.camera().polar, start.polar + 0.03);
        QVERIFY(testing::pressKeys(view, {Qt::Key_4}, Qt::KeypadModifier));  // keypad 4 is Left
        QCOMPARE(view.camera().azimuth, start.azimuth + 0.03);
        // Ctrl+Up raises the camera by the vertical step; the target stays.
        const double z = view.camera().position.z;
        QVERIFY(testing::pressKeys(view, {Qt::Key_Up}, Qt::ControlModifier));
        QCOMPARE(view.camera().position.z, z + view.camera().verticalStep);
        // A digit typed on the main keyboard is no camera key.
        QVERIFY(!testing::pressKeys(view, {Qt::Key_8}, Qt::NoModifier));
    }

    void resetBringsTheWholeFieldBackIntoThePicture() {
        LiveFixture f(60);
        ViewPanel view(f.session);
        view.resize(900, 600);
        for (int i = 0; i < 40; ++i) testing::pressKeys(view, {Qt::Key_Left}, Qt::ControlModifier);
        for (int i = 0; i < 30; ++i) testing::pressKeys(view, {Qt::Key_Down}, Qt::NoModifier);
        view.resetCamera();
        const double reach = cornerReach(view.camera(), view.size());
        QVERIFY2(reach <= 1.05, qPrintable(QString::number(reach)));
        // The fit leaves little room: a bigger zoom would lose a corner.
        QVERIFY(reach > 0.8);
    }

    void aNewRunTakesTheFieldSizeAndResetsTheCamera() {
        LiveFixture f(40);
        ViewPanel view(f.session);
        view.resize(900, 600);
        connectLiveRun(f.session.loop.hooks, &view, nullptr);
        for (int side : {24, 160}) {
            testing::pressKeys(view, {Qt::Key_Right}, Qt::NoModifier);
            f.state.run.N_field_W = side;
            f.state.run.N_field_H = side / 2;
            QVERIFY(f.session.loop.PrepareNewRun());
            QCOMPARE(view.camera().field.W, side);
            QCOMPARE(view.camera().field.H, side / 2);
            QCOMPARE(view.camera().extentX(), side * f.state.data.Size_B);
            QCOMPARE(view.camera().target.x, side * f.state.data.Size_B / 2);
            QVERIFY(cornerReach(view.camera(), view.size()) <= 1.05);
        }
    }

    void aNewRunBringsTheViewForwardUnlessAPanelOfTheRunIsWatched() {
        LiveFixture f(20);
        ViewPanel view(f.session);
        std::vector<int> requested;
        connectLiveRun(f.session.loop.hooks, &view, nullptr,
                       [&](int tab) { requested.push_back(tab); });
        QVERIFY(f.session.loop.PrepareNewRun());  // the user is on another tab
        QCOMPARE(requested, std::vector<int>{2});
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QVERIFY(f.session.loop.PrepareNewRun());
        QCOMPARE(requested.size(), std::size_t{1});
        QCOMPARE(view.camera().field.W, 20);  // the camera still follows the field
    }

    void sPausesARunAndRResumesIt() {
        LiveFixture f(30);
        ViewPanel view(f.session);
        view.resize(600, 400);
        view.show();
        // "R" before any step has nothing to continue.
        testing::pressKeys(view, {Qt::Key_R}, Qt::NoModifier);
        QCoreApplication::processEvents();
        QCOMPARE(f.state.runState.step_count, 0);

        // "S" typed during a run: the loop halts at its next step.
        f.session.loop.hooks.stepDone = [&](int step) {
            if (step == 50) testing::pressKeys(view, {Qt::Key_S}, Qt::NoModifier);
        };
        f.session.loop.StartNewSingleSimulation();
        QCOMPARE(f.state.runState.step_count, 50);
        QVERIFY(f.state.runState.finished);

        // "R" continues the same field from the same step count.
        f.stopAt(80);
        QVERIFY(!testing::pressKeys(view, {Qt::Key_R}, Qt::NoModifier));
        QTRY_COMPARE(f.state.runState.step_count, 80);
    }

    void theMapOfAFlatFieldIsOneGrey() {
        LiveFixture f(20);
        QVERIFY(f.session.loop.PrepareNewRun());
        ViewPanel view(f.session);
        view.resize(500, 400);
        const QImage shot = view.grab().toImage();
        // Index 4 of the greys: 4 x 25 in every channel, at the field's centre.
        QCOMPARE(shot.pixelColor(250, 220), QColor(100, 100, 100));
        // The map icon is at its place at the top right.
        QVERIFY(shot.pixelColor(view.iconRects()[0].center()) != QColor(230, 210, 210));
    }
};

QTEST_MAIN(ViewPanelTest)
#include "test_view_panel.moc"
