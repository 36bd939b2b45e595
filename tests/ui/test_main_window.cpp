// The main window under the offscreen platform: its title, its tabs, and the
// random generator seeded at start-up.

#include <QTabWidget>
#include <QtTest>

#include "experiments/app_state.h"
#include "ui/main_window.h"

using namespace quorvane;

class MainWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void showsFiveTabsWithBlanks() {
        AppState state;
        QtPlatform platform;
        MainWindow window(state, platform);
        QCOMPARE(window.windowTitle(), QString("Quorvane"));
        QCOMPARE(window.tabs()->count(), 5);
        const QStringList labels{" Data ", " Run ", " View ", " Results ", " Help "};
        for (int i = 0; i < 5; ++i) QCOMPARE(window.tabs()->tabText(i), labels[i]);
    }

    void seedsTheGeneratorOnceAtStartUp() {
        AppState state;
        QtPlatform platform;
        MainWindow window(state, platform);
        // Only the third seed exceeds its limit; the closing draw then advances all three.
        Taus88 expected;
        expected.Seed(337643, 62047, 2751976);
        QCOMPARE(state.random.z1(), expected.z1());
        QCOMPARE(state.random.z2(), expected.z2());
        QCOMPARE(state.random.z3(), expected.z3());
        Taus88 manual;
        QVERIFY(manual.z3() != expected.z3());
    }
};

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
