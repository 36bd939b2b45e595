// The Results panel and the live run under the offscreen platform: the chart and
// status block of an empty and of a running record, the display factors, the
// pacing of the redraws, and a Stop clicked while the loop runs.

#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

#include <atomic>
#include <chrono>
#include <thread>

#include "live_panels_support.h"
#include "sheets/run_sheet.h"
#include "ui/results_panel.h"
#include "ui/view_panel.h"

using namespace quorvane;
using namespace quorvane::testing;

namespace {

const QColor kChartBackground(190, 160, 160);

/// Saves what a panel shows into the folder of the documentation's pictures.
void saveScreenshot(QWidget& panel, const QString& folder, const char* name) {
    QVERIFY(panel.grab().save(folder + "/" + name));
}

}  // namespace

class LiveRunTest : public QObject {
    Q_OBJECT
  private slots:
    void anEmptyRecordDrawsTheNoticeAndTheShortStatusBlock() {
        LiveFixture f(40);
        ResultsPanel results(f.session);
        results.resize(1200, 700);
        const QImage shot = results.grab().toImage();
        QVERIFY(results.chartLayout().empty);
        QCOMPARE(results.chartLayout().columns, 0);
        QCOMPARE(shot.pixelColor(5, 5), kChartBackground);
        // The status block fills the band of the last 200 pixels, white; with no
        // step done it holds only its two first lines, at the left.
        QCOMPARE(shot.pixelColor(600, 700 - 100), QColor(Qt::white));
        QCOMPARE(shot.pixelColor(600, 700 - 210), kChartBackground);
        bool inkRight = false;
        for (int y = 700 - 196; y < 700 - 4; ++y)
            for (int x = 400; x < 1190; ++x) inkRight |= shot.pixelColor(x, y) != Qt::white;
        QVERIFY(!inkRight);
    }

    void theChartFollowsAShortRunAndTheStatusBlockIsFilled() {
        LiveFixture f(60);
        ResultsPanel results(f.session);
        results.resize(1200, 700);
        results.show();
        QVERIFY(QTest::qWaitForWindowExposed(&results));
        connectLiveRun(f.session.loop.hooks, nullptr, &results);
        QImage early;
        int framesEarly = 0;
        f.session.loop.hooks.stepDone = [&](int step) {
            if (step == 1500) {
                early = results.frame().copy();
                framesEarly = results.framesDrawn();
            }
            if (step >= 4000) f.state.runState.runFlag = false;
        };
        f.session.loop.StartNewSingleSimulation();
        QCOMPARE(f.state.runState.step_count, 4000);
        QVERIFY(framesEarly >= 1);
        // Once the loop has returned, the panel shows the record's last step.
        QTRY_VERIFY(results.framesDrawn() > framesEarly);
        QCOMPARE(f.state.results.evaluation.steps, 4000);
        QVERIFY(!results.chartLayout().empty);
        QVERIFY(results.chartLayout().columns >= 2);
        QVERIFY(results.frame() != early);
        // The paint evaluated the record: the run record holds the run's steps.
        QVERIFY(f.state.results.evaluation.timeOfGrowth > 0);
    }

    void thePacingKeepsDrawingToASmallShareAndTheRateAtFiveFramesASecond() {
        // A cheap frame is drawn at most once per screen refresh.
        QCOMPARE(RedrawPacer::quietIntervalNs(1'000'000), RedrawPacer::kMinIntervalNs);
        // Costs up to 10 ms still give five frames a second, and any cost gives
        // drawing at most its share of the wall time.
        for (qint64 cost : {2'000'000LL, 6'000'000LL, 10'000'000LL, 80'000'000LL}) {
            const qint64 period = cost + RedrawPacer::quietIntervalNs(cost);
            QVERIFY(static_cast<double>(cost) / period <= RedrawPacer::kDrawShare + 1e-9);
            if (cost <= 10'000'000) QVERIFY(period <= 200'000'000);
        }
        RedrawPacer pacer;
        QVERIFY(pacer.due());  // the first frame at once
        pacer.begin();
        pacer.end();
        QVERIFY(!pacer.due());
        pacer.restart();  // the panel shown again
        QVERIFY(pacer.due());
        // A slow first frame (warming caches) does not hold the next one back.
        pacer.begin();
        QThread::msleep(120);
        pacer.end();
        QCOMPARE(pacer.frameCostNs(), qint64(0));
        QThread::msleep(40);
        QVERIFY(pacer.due());
    }

    void stopClickedDuringALiveRunEndsItAtOnce() {
        LiveFixture f(160);
        ViewPanel view(f.session);
        view.resize(1000, 640);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QTest::mouseClick(&view, Qt::LeftButton, {}, view.iconRects()[1].center());
        connectLiveRun(f.session.loop.hooks, &view, nullptr);
        QPushButton stop("Stop");
        stop.show();
        QObject::connect(&stop, &QPushButton::clicked, [&] { f.session.loop.PressPauseResume(); });

        // The user: a press and release on the button, posted from outside the
        // loop while it steps, as the window system delivers a real click.
        using Clock = std::chrono::steady_clock;
        std::atomic<bool> clicked{false};
        Clock::time_point clickTime;
        int stepAtClick = 0;
        std::thread user;
        f.session.loop.hooks.stepDone = [&](int step) {
            if (step == 1) {
                user = std::thread([&] {
                    std::this_thread::sleep_for(std::chrono::milliseconds(700));
                    clickTime = Clock::now();
                    clicked = true;
                    const QPointF at = QRectF(stop.rect()).center();
                    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
                        QCoreApplication::postEvent(
                            &stop, new QMouseEvent(type, at, stop.mapToGlobal(at), Qt::LeftButton,
                                                   type == QEvent::MouseButtonPress ? Qt::LeftButton
                                                                                    : Qt::NoButton,
                                                   Qt::NoModifier));
                });
            }
            if (clicked && stepAtClick == 0) stepAtClick = step;
        };
        Clock::time_point ended;
        f.session.loop.hooks.runEnded = [&, earlier = f.session.loop.hooks.runEnded](int code) {
            ended = Clock::now();
            if (earlier) earlier(code);
        };
        f.session.loop.StartNewSingleSimulation();
        user.join();

        QVERIFY(clicked);
        const RunState& rs = f.state.runState;
        QVERIFY(rs.finished && rs.paused && !rs.loopActive);
        QCOMPARE(QString(pauseButtonCaption(rs)), QString("Resume"));
        QVERIFY(view.framesDrawn() >= 2);
        const auto ms = std::chrono::duration<double, std::milli>(ended - clickTime).count();
        qInfo("Stop answered %.1f ms after the click, %d steps later, %d frames drawn", ms,
              rs.step_count - stepAtClick, view.framesDrawn());
    }

    void duringARunTheWindowResizesTabsSwitchAndTheCameraTurns() {
        LiveFixture f(80);
        QTabWidget tabs;
        auto* view = new ViewPanel(f.session);
        auto* results = new ResultsPanel(f.session);
        tabs.addTab(view, " View ");
        tabs.addTab(results, " Results ");
        tabs.resize(900, 600);
        tabs.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tabs));
        QTest::mouseClick(view, Qt::LeftButton, {}, view->iconRects()[1].center());
        connectLiveRun(f.session.loop.hooks, view, results);
        double azimuth = 0;
        int resultsFrames = 0;
        f.session.loop.hooks.stepDone = [&](int step) {
            if (step == 100) tabs.resize(1300, 800);  // handled at the loop's next pump
            if (step == 400) {
                QVERIFY(testing::pressKeys(*view, {Qt::Key_Left}, Qt::NoModifier));
                azimuth = view->camera().azimuth;
                view->repaint();  // as the main window does after a camera key
                tabs.setCurrentWidget(results);
            }
            if (step == 1000) {
                resultsFrames = results->framesDrawn();
                tabs.setCurrentWidget(view);
            }
            if (step >= 1200) f.state.runState.runFlag = false;
        };
        f.session.loop.StartNewSingleSimulation();
        QCOMPARE(f.state.runState.step_count, 1200);
        QVERIFY(resultsFrames >= 1);
        QCOMPARE(view->camera().azimuth, azimuth);
        QTRY_COMPARE(view->frame().size(), view->size());
        QVERIFY(view->width() > 1000);
        QCOMPARE(view->mode(), views::PictureMode::ThreeD);
    }

    // S halts the run as the Stop button does, and the Run sheet's button then
    // says Resume; R goes on and the button says Stop again.
    void theSKeyAndTheStopButtonAreOneState() {
        LiveFixture f(40);
        ViewPanel view(f.session);
        view.resize(400, 300);
        int steps = 0;
        f.session.loop.hooks.stepDone = [&](int step) {
            if (step == 200) QVERIFY(!testing::pressKeys(view, {Qt::Key_S}, Qt::NoModifier));
            steps = step;
        };
        f.session.loop.StartNewSingleSimulation();
        QVERIFY(steps >= 200 && steps < 400);
        QCOMPARE(f.state.runState.pauseButton, PauseButton::Resume);
        QCOMPARE(QString(pauseButtonCaption(f.state.runState)), QString("Resume"));
        f.session.loop.hooks.stepDone = [&](int step) {
            if (step == steps + 100) {
                QCOMPARE(f.state.runState.pauseButton, PauseButton::Stop);
                f.session.loop.PressPauseResume();
            }
        };
        QVERIFY(!testing::pressKeys(view, {Qt::Key_R}, Qt::NoModifier));
        QTRY_VERIFY(f.state.runState.step_count >= steps + 100);
        QCOMPARE(f.state.runState.pauseButton, PauseButton::Resume);
    }

    void picturesForTheDocumentation() {
        const QString folder = qEnvironmentVariable("QUORVANE_SCREENSHOTS");
        if (folder.isEmpty()) QSKIP("QUORVANE_SCREENSHOTS names no folder");
        // Both panels on tabs, each photographed while the run goes on: the grab
        // shows the last frame the pacing drew, as the user sees it.
        LiveFixture f(160);
        QTabWidget tabs;
        auto* view = new ViewPanel(f.session);
        auto* results = new ResultsPanel(f.session);
        tabs.addTab(view, " View ");
        tabs.addTab(results, " Results ");
        tabs.resize(1300, 760);
        tabs.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tabs));
        QTest::mouseClick(view, Qt::LeftButton, {}, view->iconRects()[1].center());
        connectLiveRun(f.session.loop.hooks, view, results);
        f.session.loop.hooks.stepDone = [&](int step) {
            if (step == 1200) {
                saveScreenshot(*view, folder, "view_panel_3d.png");
                // The same face as a map, many layers up, and as a stereo picture.
                QTest::mouseClick(view, Qt::LeftButton, {}, view->iconRects()[0].center());
                saveScreenshot(*view, folder, "view_panel_map.png");
                QTest::mouseClick(view, Qt::LeftButton, {}, view->iconRects()[2].center());
                saveScreenshot(*view, folder, "view_panel_stereo.png");
                tabs.setCurrentWidget(results);
            }
            if (step == 1500) saveScreenshot(*results, folder, "results_panel.png");
            if (step >= 1510) f.state.runState.runFlag = false;
        };
        f.session.loop.StartNewSingleSimulation();
        QCOMPARE(f.state.runState.step_count, 1510);
    }
};

QTEST_MAIN(LiveRunTest)
#include "test_live_run.moc"
