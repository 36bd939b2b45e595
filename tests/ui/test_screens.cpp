// Pictures of the panels as the program shows them, written as PNG files when
// QUORVANE_SCREENSHOTS names a folder; otherwise it only checks that every
// panel paints at its size.

#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "experiments/app_state.h"
#include "recording_platform.h"
#include "ui/data_panel.h"
#include "ui/help_panel.h"
#include "ui/main_window.h"

using namespace quorvane;

class ScreensTest : public QObject {
    Q_OBJECT
  private slots:
    void everyTabPaints() {
        QTemporaryDir documents;
        AppState state;
        testing::RecordingPlatform platform;
        MainWindow window(state, platform, documents.path().toStdString());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QString folder = qEnvironmentVariable("QUORVANE_SCREENSHOTS");
        const char* names[5] = {"data", "run", "view", "results", "help"};
        for (int tab = 0; tab < 5; ++tab) {
            window.tabs()->setCurrentIndex(tab);
            QApplication::processEvents();
            QImage picture = window.grab().toImage();
            QCOMPARE(picture.size(), window.size());
            if (!folder.isEmpty()) QVERIFY(picture.save(folder + "/" + names[tab] + "-panel.png"));
        }
    }
};

QTEST_MAIN(ScreensTest)
#include "test_screens.moc"
