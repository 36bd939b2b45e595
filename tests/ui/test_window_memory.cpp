// What the window keeps from one start to the next: its place and size, the
// panel last shown and the experiment plan come back; the settings file of the
// working folder keeps its own format. Every test keeps its QSettings in a
// temporary folder, never in the user's.

#include <QAction>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "experiments/app_state.h"
#include "experiments/plan_file.h"
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
        const QString documents = folder.path();
        QSettings settings(folder.filePath("quorvane.conf"), QSettings::IniFormat);
        QRect place;
        std::vector<task> rows;
        std::string settingsFile;
        {
            Start first(settings, documents);
            QCOMPARE(first.window.tabs()->currentIndex(), int(MainWindow::kDataTab));
            RunPanel& run = *first.window.runPanel();
            run.action(kCmdAddTemperature)->trigger();
            run.action(kCmdAddVolume)->trigger();
            first.state.plan.advance();  // the experiment got one combination on
            first.window.tabs()->setCurrentIndex(MainWindow::kResultsTab);
            first.window.setGeometry(first.window.geometry().adjusted(20, 10, 60, 30));
            QApplication::processEvents();
            place = first.window.geometry();
            rows = first.state.plan.rows();
            QVERIFY(first.window.close());
            settingsFile = first.state.paths.settingsFile;
        }
        const QString settingsText = [&] {
            QFile file(QString::fromStdString(settingsFile));
            return file.open(QIODevice::ReadOnly) ? QString(file.readAll()) : QString();
        }();

        Start second(settings, documents);
        QCOMPARE(second.window.geometry(), place);
        QCOMPARE(second.window.tabs()->currentIndex(), int(MainWindow::kResultsTab));
        QCOMPARE(second.state.plan.rows().size(), rows.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            QCOMPARE(second.state.plan.rows()[i].kind, rows[i].kind);
            QCOMPARE(second.state.plan.rows()[i].from, rows[i].from);
            QCOMPARE(second.state.plan.rows()[i].till, rows[i].till);
        }
        // The list shows them, and the experiment resumes where it stood.
        QCOMPARE(second.window.runPanel()->planList()->rowCount(), int(rows.size()));
        QCOMPARE(second.state.plan.parameters().back().current,
                 second.state.plan.valuesOfKind(kKindVolume).at(1));
        // The settings file holds nothing new: one block per start and close.
        QVERIFY(!settingsText.contains("geometry") && !settingsText.contains("plan"));
    }

    void aFirstStartShowsTheDataPanelWithAnEmptyPlan() {
        QTemporaryDir folder;
        QSettings settings(folder.filePath("quorvane.conf"), QSettings::IniFormat);
        Start start(settings, "");
        QCOMPARE(start.window.tabs()->currentIndex(), int(MainWindow::kDataTab));
        QVERIFY(start.state.plan.rows().empty());
        const QRect screen = start.window.screen()->availableGeometry();
        QVERIFY(screen.contains(start.window.frameGeometry()));
    }
};

QTEST_MAIN(WindowMemoryTest)
#include "test_window_memory.moc"
