// The window on screens of several sizes and scales. CTest runs this program
// once per screen: QT_SCALE_FACTOR and the offscreen platform's screen (a
// configuration file) come from its environment. On each, the window lies
// within the screen, every field is wide enough for its text, a panel larger
// than its tab scrolls instead of being squashed, and the live pictures are
// drawn with a pixel for every pixel of the screen.

#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "experiments/app_state.h"
#include "recording_platform.h"
#include "ui/data_panel.h"
#include "ui/main_window.h"
#include "ui/run_panel.h"
#include "ui/view_panel.h"

using namespace quorvane;

namespace {

/// The fields whose text does not fit their width, with the text.
QStringList squashedFields(const QWidget& panel) {
    QStringList squashed;
    for (const QLineEdit* edit : panel.findChildren<QLineEdit*>()) {
        if (!edit->isVisibleTo(&panel)) continue;
        const int frame = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) * 2;
        const int room = edit->width() - frame - 4;
        if (edit->fontMetrics().horizontalAdvance(edit->text()) > room)
            squashed << edit->objectName() + " \"" + edit->text() + "\"";
    }
    return squashed;
}

}  // namespace

class ScreenFitTest : public QObject {
    Q_OBJECT
  private slots:
    void theWindowFitsTheScreenAndNoPanelIsSquashed() {
        QTemporaryDir documents;
        AppState state;
        testing::RecordingPlatform platform;
        MainWindow window(state, platform, documents.path().toStdString());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QApplication::processEvents();
        const QRect screen = window.screen()->availableGeometry();
        qInfo() << "screen" << window.screen()->geometry() << "scale" << window.devicePixelRatioF()
                << "window" << window.frameGeometry();
        QVERIFY2(screen.contains(window.frameGeometry()), "the window reaches past the screen");

        for (int tab = 0; tab < window.tabs()->count(); ++tab) {
            window.tabs()->setCurrentIndex(tab);
            QApplication::processEvents();
            QWidget* panel = window.panel(tab);
            QCOMPARE(squashedFields(*panel), QStringList());
            // Never smaller than it needs: what does not fit the tab scrolls.
            const QSize least = panel->minimumSize().expandedTo(panel->minimumSizeHint());
            QVERIFY(panel->width() >= least.width() && panel->height() >= least.height());
            auto* scroll = qobject_cast<QScrollArea*>(window.tabs()->currentWidget());
            QVERIFY(scroll);
            if (panel->height() > scroll->viewport()->height())
                QVERIFY(scroll->verticalScrollBar()->maximum() > 0);
            // A window as wide as its panels asked for never scrolls sideways,
            // even when it is too low for them.
            if (window.frameGeometry().width() < screen.width())
                QCOMPARE(scroll->horizontalScrollBar()->maximum(), 0);
        }
        // The Run panel's chart, with its axes, lies inside the panel.
        const QRect chart(kProbabilityChartX, kProbabilityChartY, kProbabilityChartWidth,
                          kProbabilityChartHeight);
        QVERIFY(window.runPanel()->rect().contains(chart));
    }

    void fieldsAreWideEnoughForTheLongestNumbers() {
        AppState state;
        testing::RecordingPlatform platform;
        MainWindow window(state, platform, "");
        DataPanel& data = *window.dataPanel();
        // A density of a few hundred grams in a cubic nanometre, a sign and an exponent.
        for (DataField f : {DataField::Density, DataField::SurfaceEnergy}) {
            data.field(f)->setText("-8.888e-88");
            QCOMPARE(squashedFields(data), QStringList());
        }
    }

    void livePicturesHaveAPixelForEveryScreenPixel() {
        QTemporaryDir documents;
        AppState state;
        testing::RecordingPlatform platform;
        MainWindow window(state, platform, documents.path().toStdString());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.tabs()->setCurrentIndex(MainWindow::kViewTab);
        ViewPanel& view = *window.viewPanel();
        view.redraw();
        const qreal ratio = window.devicePixelRatioF();
        QCOMPARE(view.frame().devicePixelRatio(), ratio);
        QCOMPARE(view.frame().size(), (QSizeF(view.size()) * ratio).toSize());
    }
};

QTEST_MAIN(ScreenFitTest)
#include "test_screen_fit.moc"
