// The main window under the offscreen platform: its tabs, the start-up that
// seeds the generator and finds the working folder, the minimum size, the
// tab requests, the keys it forwards, and the close that saves.

#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <fstream>
#include <sstream>

#include "common/version/version.h"
#include "experiments/app_state.h"
#include "model/settings_file.h"
#include "recording_platform.h"
#include "support/study_log_builder.h"
#include "ui/data_panel.h"
#include "ui/main_window.h"
#include "ui/run_panel.h"

using namespace quorvane;

namespace {

std::string readAll(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void showsFiveTabsWithBlanksIconsAndFont() {
        AppState state;
        QtPlatform platform;
        MainWindow window(state, platform, "");
        QCOMPARE(window.windowTitle(), QString("Quorvane"));
        QCOMPARE(window.tabs()->count(), 5);
        const QStringList labels{" Data ", " Run ", " View ", " Results ", " Help "};
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(window.tabs()->tabText(i), labels[i]);
            QVERIFY(!window.tabs()->tabIcon(i).isNull());
        }
        QCOMPARE(window.tabs()->iconSize(), QSize(32, 32));
        QCOMPARE(window.tabs()->tabBar()->font().pixelSize(), 20);
        QCOMPARE(window.tabs()->currentIndex(), 0);
        QVERIFY(!window.windowIcon().isNull());
        QVERIFY(
            MainWindow::aboutText().contains(QString::fromStdString("version " + versionNumber())));
    }

    void seedsTheGeneratorOnceAtStartUp() {
        AppState state;
        QtPlatform platform;
        MainWindow window(state, platform, "");
        // Only the third seed exceeds its limit; the closing draw then advances all three.
        Taus88 expected;
        expected.Seed(337643, 62047, 2751976);
        QCOMPARE(state.random.z1(), expected.z1());
        QCOMPARE(state.random.z2(), expected.z2());
        QCOMPARE(state.random.z3(), expected.z3());
        Taus88 manual;
        QVERIFY(manual.z3() != expected.z3());
    }

    void neverSmallerThanAtStart() {
        AppState state;
        QtPlatform platform;
        MainWindow window(state, platform, "");
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QSize start = window.size();
        QCOMPARE(window.minimumWindowSize(), start);
        window.resize(start.width() - 200, start.height() - 100);
        QApplication::processEvents();
        QCOMPARE(window.size(), start);
        window.resize(start.width() + 120, start.height() + 40);
        QApplication::processEvents();
        QCOMPARE(window.size(), QSize(start.width() + 120, start.height() + 40));
        // The tab control follows the window: 3 left, 10 top and right, 36 bottom.
        QCOMPARE(window.tabs()->geometry(),
                 QRect(3, 10, window.width() - 13, window.height() - 46));
    }

    void pendingTabSwitchesAtThePaint() {
        AppState state;
        QtPlatform platform;
        MainWindow window(state, platform, "");
        int runRefreshes = 0;
        window.refreshRunPanel = [&] { ++runRefreshes; };
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.requestTab(MainWindow::kViewTab);
        QCOMPARE(window.pendingTab, 2);
        QTRY_COMPARE(window.tabs()->currentIndex(), 2);
        QCOMPARE(window.pendingTab, -1);

        // A tab click on Run refreshes its values as it is shown.
        QTest::mouseClick(window.tabs()->tabBar(), Qt::LeftButton, {},
                          window.tabs()->tabBar()->tabRect(MainWindow::kRunTab).center());
        QCOMPARE(window.tabs()->currentIndex(), 1);
        QCOMPARE(runRefreshes, 1);
        window.requestTab(MainWindow::kRunTab);  // already there: no second refresh
        window.applyPendingTab();
        QCOMPARE(runRefreshes, 1);
        window.requestTab(MainWindow::kDataTab);
        window.applyPendingTab();
        QCOMPARE(window.tabs()->currentIndex(), 0);
    }

    void aPanelIsHookedInWithOneLine() {
        AppState state;
        QtPlatform platform;
        MainWindow window(state, platform, "");
        auto* run = new QLabel("run panel");
        window.setPanel(MainWindow::kRunTab, run);
        QCOMPARE(window.panel(MainWindow::kRunTab), run);
        QCOMPARE(window.tabs()->tabText(1), QString(" Run "));
        QCOMPARE(window.tabs()->count(), 5);
    }

    void theStatusLineSaysHowARunEndedAndWhereASummaryWent() {
        QTemporaryDir folder;
        AppState state;
        state.paths.logPath = (folder.path() + "/log.csv").toStdString();
        state.run.N_field_W = state.run.N_field_H = 30;
        QtPlatform platform;
        MainWindow window(state, platform, "");
        auto* status = window.findChild<QLabel*>("statusLine");
        QVERIFY(status);
        window.session().loop.setStepLimit(300);
        window.session().loop.StartNewSingleSimulation();
        QVERIFY(status->text().startsWith("Run ended: "));
        QVERIFY(status->text().endsWith("layers grown, stopped by the step limit"));
        QVERIFY(window.session().createSummaryReports());
        QCOMPARE(status->text(), QString("Summary written to %1/log_Quorvane_summary_np.csv and "
                                         "%1/log_Quorvane_summary_wp.csv")
                                     .arg(folder.path()));
    }

    void cameraKeysReachTheViewPanelOnly() {
        AppState state;
        QtPlatform platform;
        MainWindow window(state, platform, "");
        std::vector<views::CameraKeys> seen;
        int resets = 0;
        window.cameraKeys = [&](const views::CameraKeys& keys) {
            seen.push_back(keys);
            return keys.left || keys.pad8;
        };
        window.cameraReset = [&] { ++resets; };
        QWidget* view = window.panel(MainWindow::kViewTab);
        QTest::keyClick(view, Qt::Key_Left);  // the View panel is not shown
        QVERIFY(seen.empty());
        window.tabs()->setCurrentIndex(MainWindow::kViewTab);
        QTest::keyClick(view, Qt::Key_Left, Qt::ControlModifier);
        // The Ctrl key's own press, then Left with Ctrl held: each once.
        QCOMPARE(seen.size(), std::size_t(2));
        QVERIFY(!seen.front().left);
        QVERIFY(seen.back().left && seen.back().control && !seen.back().alt);
        // The keypad's 8 is the camera's, the digit row's 8 is not.
        QTest::keyClick(view, Qt::Key_8, Qt::KeypadModifier);
        QVERIFY(seen.back().pad8);
        QTest::keyClick(view, Qt::Key_8);
        QVERIFY(!seen.back().pad8);
        QTest::keyClick(view, Qt::Key_I);
        QCOMPARE(resets, 1);
    }

    void firstStartCreatesTheWorkingFolderAndCloseSavesIt() {
        QTemporaryDir documents;
        const std::string folder = documents.path().toStdString() + "/Ambrevo";
        {
            AppState state;
            QtPlatform platform;
            MainWindow window(state, platform, documents.path().toStdString());
            QVERIFY(window.workingFolderReady());
            QVERIFY(QFile::exists(QString::fromStdString(folder + "/_Quorvane_setting.csv")));
            QVERIFY(QFile::exists(QString::fromStdString(folder + "/_Quorvane_lastData.csv")));
            // The shipped report template, so that a full report works at once.
            QFile shipped(
                QString::fromStdString(folder + "/_Quorvane_pathToTemlateOfFullReport.html"));
            QVERIFY(shipped.open(QIODevice::ReadWrite));
            QVERIFY(shipped.readAll().contains("_molecule_img|"));
            shipped.resize(0);
            shipped.write("the user's own");
            shipped.close();
            window.dataPanel()->field(DataField::SizeA)->setText("8");
            window.dataPanel()->field(DataField::SizeA)->setModified(true);
            emit window.dataPanel()->field(DataField::SizeA)->editingFinished();
            // A run going on when the window closes is asked to stop.
            state.runState.runFlag = true;
            window.close();
            QVERIFY(!state.runState.runFlag);
        }
        const std::string settings = readAll(folder + "/_Quorvane_setting.csv");
        // One block at the first start, one more at the close.
        QCOMPARE(QString::fromStdString(settings).count("Setting Quorvane\n"), 2);
        QVERIFY(readAll(folder + "/_Quorvane_lastData.csv").find("Size_A,8,") != std::string::npos);

        // The next start reads them: the last data come back, named in the title.
        AppState again;
        QtPlatform platform;
        MainWindow window(again, platform, documents.path().toStdString());
        QVERIFY(window.windowTitle().startsWith("Quorvane - "));
        QVERIFY(window.windowTitle().endsWith("_Quorvane_lastData.csv"));
        // An edited template is never replaced.
        QFile edited(QString::fromStdString(folder + "/_Quorvane_pathToTemlateOfFullReport.html"));
        QVERIFY(edited.open(QIODevice::ReadOnly));
        QCOMPARE(edited.readAll(), QByteArray("the user's own"));
        QCOMPARE(window.dataPanel()->field(DataField::SizeA)->text(), QString("8"));
    }

    void theToolsMenuWritesTheStudyReportOfTheCurrentLog() {
        QTemporaryDir folder;
        const std::string log = folder.path().toStdString() + "/log.csv";
        std::ofstream(log) << testing::logText({{{"Sm", "2"}}, {{"Sm", "4"}}});
        AppState state;
        testing::RecordingPlatform platform;
        MainWindow window(state, platform, "");
        state.paths.logPath = log;
        QMenu* tools = nullptr;
        for (QAction* a : window.runPanel()->actionMenu()->actions())
            if (a->menu() && a->text() == "&Tools") tools = a->menu();
        QVERIFY(tools);
        QAction* entry = nullptr;
        for (QAction* a : tools->actions())
            if (a->text() == QString::fromUtf8("&Study report\u2026")) entry = a;
        QVERIFY(entry);
        emit tools->aboutToShow();
        QVERIFY(entry->isEnabled());
        const std::string page = folder.path().toStdString() + "/study.html";
        platform.fileAnswers.push_back(page);
        entry->trigger();
        QCOMPARE(platform.fileQuestions.size(), size_t(1));
        QCOMPARE(platform.fileQuestions[0].title,
                 std::string("Select html file to save study report"));
        QVERIFY(platform.messages.empty());
        QCOMPARE(platform.opened, std::vector<std::string>{page});
        QVERIFY(readAll(page).find("Study of log.csv") != std::string::npos);
        QVERIFY(QFile::exists(folder.path() + "/study/chart_rate_vs_Sm.png"));
    }

    void anUnwritableSettingsFileIsReportedAndTheCloseGoesOn() {
        QTemporaryDir documents;
        const QString folder = documents.path() + "/Ambrevo";
        AppState state;
        testing::RecordingPlatform platform;
        MainWindow window(state, platform, documents.path().toStdString());
        const std::string lastData = readAll((folder + "/_Quorvane_lastData.csv").toStdString());
        // A folder where the settings file should be cannot be appended to.
        QVERIFY(QFile::remove(folder + "/_Quorvane_setting.csv"));
        QVERIFY(QDir(folder).mkdir("_Quorvane_setting.csv"));
        window.dataPanel()->scaleSize(DataPanel::kSizeAControl, 1, 2);
        window.show();
        QVERIFY(window.close());
        QCOMPARE(platform.messages.back(), std::string("Error to open file for writing"));
        QCOMPARE(readAll((folder + "/_Quorvane_lastData.csv").toStdString()), lastData);
        QVERIFY(!window.isVisible());
    }

    void damagedSettingsNeverCostTheUsersLastData() {
        QTemporaryDir documents;
        const std::string folder = documents.path().toStdString() + "/Ambrevo";
        QDir().mkpath(QString::fromStdString(folder));
        auto write = [&](const std::string& name, const std::string& text) {
            std::ofstream(folder + "/" + name, std::ios::binary) << text;
        };
        auto sizeA = [](MainWindow& w) { return w.dataPanel()->field(DataField::SizeA)->text(); };
        {  // the user's last session
            AppState state;
            testing::RecordingPlatform platform;
            MainWindow window(state, platform, documents.path().toStdString());
            window.dataPanel()->scaleSize(DataPanel::kSizeAControl, 1, 2);  // a = 12
            QVERIFY(window.close());
        }
        const std::string last = readAll(folder + "/_Quorvane_lastData.csv");
        const std::string settings = readAll(folder + "/_Quorvane_setting.csv");
        // An editor's byte-order mark, then a first line torn by a close cut short.
        for (const std::string& damage : {std::string("\xEF\xBB\xBF"), std::string("Sett")}) {
            write("_Quorvane_setting.csv", damage + settings);
            AppState state;
            testing::RecordingPlatform platform;
            MainWindow window(state, platform, documents.path().toStdString());
            QCOMPARE(sizeA(window), QString("12"));
            QCOMPARE(platform.messages.size(), damage == "Sett" ? 2u : 0u);
            QVERIFY(window.close());
            QVERIFY(readAll(folder + "/_Quorvane_lastData.csv").find("Size_A,12,") !=
                    std::string::npos);
            // Whatever the damage, the next start reads the settings file again.
            QVERIFY(parseSettingsText(readAll(folder + "/_Quorvane_setting.csv")).headerAccepted);
        }
        QVERIFY(QFile::exists(QString::fromStdString(folder + "/_Quorvane_setting.csv.damaged")));
        // Last data the start cannot read: the close keeps them until the user changes the data.
        write("_Quorvane_lastData.csv", "Sett" + last);
        for (bool edit : {false, true}) {
            AppState state;
            testing::RecordingPlatform platform;
            MainWindow window(state, platform, documents.path().toStdString());
            QCOMPARE(sizeA(window), QString("6"));  // the built-in data
            if (edit) window.dataPanel()->scaleSize(DataPanel::kSizeAControl, 1, 3);
            QVERIFY(window.close());
            const std::string after = readAll(folder + "/_Quorvane_lastData.csv");
            QCOMPARE(after == "Sett" + last, !edit);
            if (edit) QVERIFY(after.find("Size_A,18,") != std::string::npos);
        }
    }

    void aboutIsOnTheWindowsMenu() {
        AppState state;
        QtPlatform platform;
        MainWindow window(state, platform, "");
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QStringList items;
        QString about;
        QTimer::singleShot(0, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu);
            for (QAction* action : menu->actions()) items << action->text();
            QTimer::singleShot(0, [&] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                QVERIFY(box);
                about = box->text();
                box->accept();
            });
            menu->actions().first()->trigger();
            menu->close();
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                                window.mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(window.tabs()->tabBar(), &event);
        QCOMPARE(items, QStringList{"&About Quorvane..."});
        QCOMPARE(about, MainWindow::aboutText());
    }

    void messagesHaveNoTitleAndKeepTheirLines() {
        QtPlatform platform;
        QString title = "unset", text;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            title = box->windowTitle();
            text = box->text();
            box->accept();
        });
        platform.message("First line\nsecond <b>line</b>");
        QCOMPARE(title.trimmed(), QString());
        QCOMPARE(text, QString("First line\nsecond <b>line</b>"));
    }
};

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
