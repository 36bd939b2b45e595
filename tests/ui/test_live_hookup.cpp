// The View and Results panels in the main window, hooked in as the program does:
// the camera keys and "I" through the window's key handling, a new run bringing
// the View panel forward through `pendingTab`, and the panels following the window.

#include <QTabWidget>
#include <QtTest>

#include "ui/main_window.h"
#include "ui/results_panel.h"
#include "ui/view_panel.h"

using namespace quorvane;

namespace {

struct Hooked {
    ViewPanel* view;
    ResultsPanel* results;
};

/// The window's own View and Results panels, hooked in as the program has them.
Hooked hookLivePanels(MainWindow& window) {
    return {window.viewPanel(), window.resultsPanel()};
}

}  // namespace

class LiveHookupTest : public QObject {
    Q_OBJECT
  private slots:
    void cameraKeysAndTheResetKeyReachTheViewThroughTheWindow() {
        AppState state;
        QtPlatform platform;
        MainWindow window(state, platform, "");
        Hooked panels = hookLivePanels(window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.tabs()->setCurrentIndex(MainWindow::kViewTab);
        const views::SurfaceCamera start = panels.view->camera();

        const int frames = panels.view->framesDrawn();
        QTest::keyClick(&window, Qt::Key_Left);
        QCOMPARE(panels.view->camera().azimuth, start.azimuth + 0.03);
        QVERIFY(panels.view->framesDrawn() > frames);  // redrawn at once

        QTest::keyClick(&window, Qt::Key_I);
        QCOMPARE(panels.view->camera().azimuth, start.azimuth);
        QCOMPARE(panels.view->camera().position.z, start.position.z);
    }

    void aNewRunStartedFromAnotherTabBringsTheViewForward() {
        AppState state;
        QtPlatform platform;
        MainWindow window(state, platform, "");
        hookLivePanels(window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.tabs()->currentIndex(), int(MainWindow::kDataTab));
        QVERIFY(window.session().loop.PrepareNewRun());
        QTRY_COMPARE(window.tabs()->currentIndex(), int(MainWindow::kViewTab));
        QCOMPARE(window.pendingTab, -1);
    }

    void thePanelsFollowTheWindowsSize() {
        AppState state;
        QtPlatform platform;
        MainWindow window(state, platform, "");
        Hooked panels = hookLivePanels(window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.tabs()->setCurrentIndex(MainWindow::kResultsTab);
        const QSize before = panels.results->size();
        window.resize(window.size() + QSize(200, 120));
        QTRY_COMPARE(panels.results->size(), before + QSize(200, 120));
        QTRY_COMPARE(panels.results->frame().size(), panels.results->size());
    }
};

QTEST_MAIN(LiveHookupTest)
#include "test_live_hookup.moc"
