// What a screen reader says for the controls of the five panels and of the two
// dialogs of the experiments, and what the mouse shows resting on them: every
// field, check box, combo box and button has a name, most of them the text of
// the label beside them; every combo box has a label pointing at it (on Linux
// the label is what names a combo box); the charts and pictures say what they
// show, following the data; every control has a tooltip, a field's with its
// unit in the units chosen now and how the others follow it; and the View
// panel's mode icons name their picture and show the one selected.

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolTip>
#include <QtTest>

#include "experiments/app_state.h"
#include "model/random_argument.h"
#include "model/research_settings.h"
#include "model/units.h"
#include "recording_platform.h"
#include "ui/chart_area.h"
#include "ui/data_panel.h"
#include "ui/experiment_dialog.h"
#include "ui/full_run_setting.h"
#include "ui/help_panel.h"
#include "ui/main_window.h"
#include "ui/results_panel.h"
#include "ui/run_panel.h"
#include "ui/view_panel.h"

using namespace quorvane;

namespace {

/// The name a screen reader gives a control: its own, its label's or its text.
QString spokenName(QWidget* control) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
    if (!qobject_cast<QComboBox*>(control)) return accessible->text(QAccessible::Name);
    // A combo box answers with its current entry; what names it is the label
    // pointing at it.
    for (const auto& [label, relation] : accessible->relations(QAccessible::Label))
        if (qobject_cast<QLabel*>(label->object())) return label->text(QAccessible::Name);
    return {};
}

/// A field, check box, combo box, button, spin box or list: not a part of
/// one (a spin box's line edit, a table's headers and corner button).
bool isControl(const QWidget* w) {
    const bool part = w->objectName() == "qt_spinbox_lineedit" || w->inherits("QHeaderView") ||
                      w->inherits("QTableCornerButton");
    return !part && (w->inherits("QLineEdit") || w->inherits("QComboBox") ||
                     w->inherits("QAbstractButton") || w->inherits("QAbstractSpinBox") ||
                     w->inherits("QAbstractItemView"));
}

QStringList unnamedControls(const QWidget& form) {
    QStringList unnamed;
    for (QWidget* w : form.findChildren<QWidget*>())
        if (isControl(w) && spokenName(w).trimmed().isEmpty()) unnamed << w->objectName();
    return unnamed;
}

/// The controls shown in `form` that say nothing when the mouse rests on them.
QString silentControls(const QWidget& form) {
    QStringList silent;
    for (QWidget* w : form.findChildren<QWidget*>())
        if (isControl(w) && w->isVisibleTo(&form) && w->toolTip().isEmpty())
            silent << w->objectName();
    return silent.join(",");
}

/// The tooltip `widget` shows at `point`.
QString tipAt(QWidget& widget, QPoint point) {
    QHelpEvent help(QEvent::ToolTip, point, widget.mapToGlobal(point));
    QApplication::sendEvent(&widget, &help);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

QString nameOf(const QWidget& form, const char* objectName) {
    return spokenName(form.findChild<QWidget*>(objectName));
}

}  // namespace

class AccessibleNamesTest : public QObject {
    Q_OBJECT
  private slots:
    void helpPanelControlsAreNamed() {
        AppState state;
        testing::RecordingPlatform platform;
        HelpPanel panel(state, platform);
        QCOMPARE(unnamedControls(panel), QStringList());
        QCOMPARE(spokenName(panel.entry(0)), QString("Formulation of the problem"));
        QCOMPARE(spokenName(panel.browseButton()), QString("Browse"));
    }

    void fullRunSettingFieldsAreNamedByTheirLabels() {
        ResearchSettings settings;
        testing::RecordingPlatform platform;
        FullRunSetting dialog(settings, platform);
        QCOMPARE(unnamedControls(dialog), QStringList());
        QCOMPARE(silentControls(dialog), QString());
        QCOMPARE(spokenName(dialog.control(kLoopStartEdit)), QString("from:"));
        QCOMPARE(spokenName(dialog.control(kLoopStepEdit)), QString("with step:"));
        QCOMPARE(spokenName(dialog.control(kLoopCountEdit)), QString("and number of steps:"));
        QCOMPARE(spokenName(dialog.control(kInterpolationTermsEdit)),
                 QString("Interpolation with"));
        QCOMPARE(spokenName(dialog.control(kPorositySchemeCombo)), QString("Porocity is"));
        QCOMPARE(spokenName(dialog.control(kListEdit)),
                 QString("Set probalilities as list (coma delimited):"));
        QCOMPARE(spokenName(dialog.control(kLoopCheckBox)),
                 QString("Run probabilities to accept molecule in as loop:"));
    }

    void distributionControlsAreNamed() {
        std::vector<RandomArgument> arguments = makeDefaultRandomArguments();
        testing::RecordingPlatform platform;
        ExperimentDialog dialog(arguments, platform);
        QCOMPARE(unnamedControls(dialog), QStringList());
        QCOMPARE(silentControls(dialog), QString());
        QCOMPARE(nameOf(dialog, "mode0"), QString("A-axis (nm) edit mode"));
        // The part choice is named by the caption that says what the value sets.
        dialog.select(kArgumentSupercooling, ArgumentPart::Bin, 1);
        QCOMPARE(spokenName(dialog.partChoice()), QString("Specific supercooling, bin 2:"));
        QCOMPARE(spokenName(dialog.valueEdit()), QString("Value"));
        QCOMPARE(nameOf(dialog, "button1090"), QString("Run"));
    }

    void everyControlOfTheFivePanelsIsNamed() {
        AppState state;
        testing::RecordingPlatform platform;
        MainWindow window(state, platform, "");
        for (int tab = 0; tab < window.tabs()->count(); ++tab) {
            QCOMPARE(unnamedControls(*window.panel(tab)).join(","), QString());
            QCOMPARE(silentControls(*window.panel(tab)), QString());
            QVERIFY(window.tabs()->tabToolTip(tab).contains("Ctrl+PgDown"));
        }
        DataPanel& data = *window.dataPanel();
        QCOMPARE(spokenName(data.field(DataField::SizeA)),
                 QString("a, size of the molecule along the growth direction"));
        QCOMPARE(spokenName(data.unitCombo(1)), QString("Length:"));
        QCOMPARE(spokenName(data.fileButton()), QString("File"));
        RunPanel& run = *window.runPanel();
        QCOMPARE(spokenName(run.control(kFieldWidthEdit)),
                 QString("Width of the field (molecules)"));
        QCOMPARE(spokenName(run.control(kActionButton)), QString("Action"));
        QCOMPARE(spokenName(window.viewPanel()), QString("Surface view"));
    }

    void chartsAndPicturesSayWhatTheyShow() {
        AppState state;
        testing::RecordingPlatform platform;
        MainWindow window(state, platform, "");
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto said = [](QWidget* picture) {
            return QAccessible::queryAccessibleInterface(picture)->text(QAccessible::Description);
        };
        DataPanel& data = *window.dataPanel();
        const QString theory = said(data.chartArea());
        QVERIFY(theory.contains("growth rate V") && !theory.contains("roughness R"));
        // The user shows the roughness curves: the description follows.
        data.curveLabel(1)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(data.curveLabel(1), Qt::Key_Return);
        QVERIFY(said(data.chartArea()).contains("roughness R"));
        QVERIFY(said(data.probabilityChart()).startsWith("Chart: "));
        QVERIFY(said(data.frequencyChart()).startsWith("Chart: "));
        QVERIFY(said(window.runPanel()).startsWith("Chart: "));

        ViewPanel& view = *window.viewPanel();
        window.tabs()->setCurrentIndex(MainWindow::kViewTab);
        QVERIFY(said(&view).startsWith("Map: "));
        QTest::mouseClick(&view, Qt::LeftButton, {}, view.iconRects()[2].center());
        QVERIFY(said(&view).startsWith("Stereo: "));
        window.tabs()->setCurrentIndex(MainWindow::kResultsTab);
        QTRY_VERIFY(said(window.resultsPanel()).startsWith("Growth chart of the current run"));
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

QTEST_MAIN(AccessibleNamesTest)
#include "test_accessible_names.moc"
