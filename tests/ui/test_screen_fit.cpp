// The window on screens of several sizes and scales. CTest runs this program
// once per screen: QT_SCALE_FACTOR and the offscreen platform's screen (a
// configuration file) come from its environment. On each, the window lies
// within the screen, every field is wide enough for its text, a panel larger
// than its tab scrolls instead of being squashed, and the live pictures are
// drawn with a pixel for every pixel of the screen.

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
        QVERIFY2(screen.contains(window.frameGeometry()), "the window reaches past the screen");
        // The longest number a Data field shows: a sign, four digits, an exponent.
        window.dataPanel()->field(DataField::Density)->setText("-8.888e-88");

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
        // The View panel's picture has a pixel for every pixel of the screen.
        ViewPanel& view = *window.viewPanel();
        window.tabs()->setCurrentIndex(MainWindow::kViewTab);
        view.redraw();
        QCOMPARE(view.frame().devicePixelRatio(), window.devicePixelRatioF());
        QCOMPARE(view.frame().size(), (QSizeF(view.size()) * window.devicePixelRatioF()).toSize());
    }
};

QTEST_MAIN(ScreenFitTest)
#include "test_screen_fit.moc"
