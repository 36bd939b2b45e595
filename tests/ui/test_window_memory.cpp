// What the window keeps from one start to the next: its place and size, the
// panel last shown and the experiment plan come back, while the settings file
// of the working folder keeps its format. The QSettings are a file in a
// temporary folder, never the user's.

#include <QAction>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "experiments/app_state.h"
#include "recording_platform.h"
#include "ui/main_window.h"
#include "ui/plan_list.h"
#include "ui/run_panel.h"
#include "ui/window_memory.h"

using namespace quorvane;

namespace {

/// One start of the program: a window over its own state, with its memory.
struct Start {
    AppState state;
    testing::RecordingPlatform platform;
    MainWindow window;
    WindowMemory memory;

    Start(QSettings& settings, const QString& documents)
        : window(state, platform, documents.toStdString()), memory(window, settings) {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
};

}  // namespace

class WindowMemoryTest : public QObject {
    Q_OBJECT
  private slots:
    void placePanelAndPlanComeBackAtTheNextStart() {
        QTemporaryDir folder;
        QSettings settings(folder.filePath("quorvane.conf"), QSettings::IniFormat);
        QRect place;
        QByteArray settingsFile;
        {
            Start first(settings, folder.path());
            QCOMPARE(first.window.tabs()->currentIndex(), int(MainWindow::kDataTab));
            first.window.runPanel()->action(kCmdAddTemperature)->trigger();
            first.window.runPanel()->action(kCmdAddVolume)->trigger();
            first.state.plan.advance();  // the experiment got one combination on
            first.window.tabs()->setCurrentIndex(MainWindow::kResultsTab);
            first.window.setGeometry(first.window.geometry().adjusted(20, 10, 60, 30));
            place = first.window.geometry();
            QVERIFY(first.window.close());
            QFile file(QString::fromStdString(first.state.paths.settingsFile));
            QVERIFY(file.open(QIODevice::ReadOnly));
            settingsFile = file.readAll();
        }
        Start second(settings, folder.path());
        QCOMPARE(second.window.geometry(), place);
        QCOMPARE(second.window.tabs()->currentIndex(), int(MainWindow::kResultsTab));
        const ExperimentPlan& plan = second.state.plan;
        QCOMPARE(plan.rows().size(), std::size_t(2));
        QCOMPARE(plan.rows()[1].kind, int(kKindVolume));
        QCOMPARE(second.window.runPanel()->planList()->rowCount(), 2);
        // The experiment resumes where it stood.
        QCOMPARE(plan.parameters().back().current, plan.valuesOfKind(kKindVolume).at(1));
        QVERIFY(!settingsFile.contains("geometry") && !settingsFile.contains("plan"));
    }
};

QTEST_MAIN(WindowMemoryTest)
#include "test_window_memory.moc"
