// The main window under the offscreen platform: its title, its tabs, and the
// random generator seeded at start-up.

#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <fstream>
#include <sstream>

#include "experiments/app_state.h"
#include "ui/main_window.h"

using namespace quorvane;

class MainWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void showsFiveTabsWithBlanks() {
        AppState state;
        QtPlatform platform;
        MainWindow window(state, platform, "");
        QCOMPARE(window.windowTitle(), QString("Quorvane"));
        QCOMPARE(window.tabs()->count(), 5);
        const QStringList labels{" Data ", " Run ", " View ", " Results ", " Help "};
        for (int i = 0; i < 5; ++i) QCOMPARE(window.tabs()->tabText(i), labels[i]);
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
            window.close();
        }
        std::ifstream in(folder + "/_Quorvane_setting.csv");
        std::stringstream text;
        text << in.rdbuf();
        // One block at the first start, one more at the close.
        QCOMPARE(QString::fromStdString(text.str()).count("Setting Quorvane\n"), 2);

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
    }
};

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
