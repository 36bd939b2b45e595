// What a control says when the mouse rests on it: every control of the panels,
// the tabs and the dialogs has a tooltip; a field's tooltip gives its unit in
// the units chosen now and how the other fields follow it; the mode icons of
// the View panel name their picture and the camera keys, and show which mode
// is selected.

#include <QComboBox>
#include <QHelpEvent>
#include <QLineEdit>
#include <QTabWidget>
#include <QToolTip>
#include <QtTest>

#include "experiments/app_state.h"
#include "model/random_argument.h"
#include "model/research_settings.h"
#include "model/units.h"
#include "recording_platform.h"
#include "ui/data_panel.h"
#include "ui/experiment_dialog.h"
#include "ui/full_run_setting.h"
#include "ui/main_window.h"
#include "ui/run_panel.h"
#include "ui/view_panel.h"

using namespace quorvane;

namespace {

/// The controls a user can reach in `form` that say nothing when pointed at.
QStringList silentControls(const QWidget& form) {
    QStringList silent;
    for (const QWidget* w : form.findChildren<QWidget*>()) {
        const bool control = w->inherits("QLineEdit") || w->inherits("QComboBox") ||
                             w->inherits("QAbstractButton") || w->inherits("QAbstractSpinBox") ||
                             w->inherits("QAbstractItemView");
        // Parts of a control (a spin box's line edit, a table's corner) and
        // controls that are never shown do not count.
        const bool part = w->parentWidget()->inherits("QAbstractSpinBox") ||
                          w->inherits("QTableCornerButton") || !w->isVisibleTo(&form);
        if (control && !part && w->toolTip().isEmpty()) silent << w->objectName();
    }
    return silent;
}

/// The tooltip the View panel shows at `point`.
QString tipAt(QWidget& widget, QPoint point) {
    QHelpEvent help(QEvent::ToolTip, point, widget.mapToGlobal(point));
    QApplication::sendEvent(&widget, &help);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

}  // namespace

class TooltipsTest : public QObject {
    Q_OBJECT
  private slots:
    void everyControlSaysWhatItIs() {
        AppState state;
        testing::RecordingPlatform platform;
        MainWindow window(state, platform, "");
        for (int tab = 0; tab < window.tabs()->count(); ++tab) {
            QCOMPARE(silentControls(*window.panel(tab)).join(","), QString());
            QVERIFY(window.tabs()->tabToolTip(tab).contains("Ctrl+PgDown"));
        }
        ResearchSettings settings;
        FullRunSetting research(settings, platform);
        QCOMPARE(silentControls(research), QStringList());
        std::vector<RandomArgument> arguments = makeDefaultRandomArguments();
        ExperimentDialog distributions(arguments, platform);
        QCOMPARE(silentControls(distributions), QStringList());
    }

    void fieldTipsGiveTheUnitsChosenAndTheRelations() {
        AppState state;
        testing::RecordingPlatform platform;
        MainWindow window(state, platform, "");
        window.show();
        DataPanel& data = *window.dataPanel();
        auto tip = [&](DataField f) { return data.field(f)->toolTip(); };
        const auto unit = [](UnitKind kind, int index) {
            return QString::fromUtf8(unitShortName(kind, index));
        };
        const QString length = unit(UnitKind::Length, data.unitCombo(1)->currentIndex());
        QVERIFY(tip(DataField::Volume).contains("v = abc, in " + length + "\u00b3"));
        QVERIFY(tip(DataField::SizeB).contains("Ctrl"));  // the size keys
        QVERIFY(tip(DataField::JumpFrequency).contains("\u03bd0 e^(-Ea/kT)"));

        // The user picks the units of their own ("Custom", the last system), then
        // the next length unit and the next time unit, all with the keys.
        data.unitCombo(0)->setFocus();
        QTest::keyClick(data.unitCombo(0), Qt::Key_End);
        for (int combo : {1, 4}) {
            data.unitCombo(combo)->setFocus();
            QTest::keyClick(data.unitCombo(combo), Qt::Key_Down);
        }
        const QString now = unit(UnitKind::Length, data.unitCombo(1)->currentIndex());
        QVERIFY(now != length);
        QVERIFY(tip(DataField::Volume).contains("in " + now + "\u00b3"));
        QVERIFY(tip(DataField::Surface).contains("in " + now + "\u00b2"));
        // The Run panel's time step is in the time unit chosen on the Data panel.
        window.tabs()->setCurrentIndex(MainWindow::kRunTab);
        const QString time = unit(UnitKind::Time, data.unitCombo(4)->currentIndex());
        QVERIFY(window.runPanel()->control(kTimeStepEdit)->toolTip().endsWith("in " + time + "."));
        QVERIFY(window.runPanel()->control(kProbabilityEdit)->toolTip().contains("N / (Width"));
    }

    void modeIconsNameTheirPictureAndShowTheOneSelected() {
        AppState state;
        testing::RecordingPlatform platform;
        MainWindow window(state, platform, "");
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.tabs()->setCurrentIndex(MainWindow::kViewTab);
        ViewPanel& view = *window.viewPanel();
        const auto icons = view.iconRects();
        QVERIFY(tipAt(view, icons[0].center()).startsWith("Map: "));
        const QString threeD = tipAt(view, icons[1].center());
        QVERIFY(threeD.contains("Ctrl+2") && threeD.contains("Ctrl+Left") && threeD.contains("I "));
        tipAt(view, QPoint(20, 300));  // the picture itself has none
        QTRY_VERIFY(!QToolTip::isVisible());

        // The selected icon stands in a dark frame; the mark follows the mode.
        const QColor mark(0, 40, 140);
        auto marked = [&](int mode) {
            const QImage shot = view.grab().toImage();
            const QRect icon = icons[static_cast<std::size_t>(mode)];
            return shot.pixelColor(icon.left() + 1, icon.center().y()) == mark;
        };
        QVERIFY(marked(0) && !marked(1) && !marked(2));
        QTest::keyClick(&view, Qt::Key_3, Qt::ControlModifier);
        QCOMPARE(view.mode(), views::PictureMode::Stereo);
        QVERIFY(!marked(0) && !marked(1) && marked(2));
    }
};

QTEST_MAIN(TooltipsTest)
#include "test_tooltips.moc"
