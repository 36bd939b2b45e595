// What a screen reader says for the controls of the five panels and of the two
// dialogs of the experiments: every field, check box, combo box and button has
// a name, most of them the text of the label beside them; every combo box has a
// label pointing at it (on Linux the label is what names a combo box); and the
// charts and pictures say what they show, following the data.

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

#include "experiments/app_state.h"
#include "model/random_argument.h"
#include "model/research_settings.h"
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

QStringList unnamedControls(const QWidget& form) {
    QStringList unnamed;
    for (QWidget* w : form.findChildren<QWidget*>()) {
        // A spin box's own line edit and a table's corner button are parts of
        // their control, not controls of their own.
        if (w->objectName() == "qt_spinbox_lineedit" || w->inherits("QTableCornerButton")) continue;
        const bool control = qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
                             qobject_cast<QAbstractButton*>(w) ||
                             qobject_cast<QAbstractSpinBox*>(w);
        if (control && spokenName(w).trimmed().isEmpty()) unnamed << w->objectName();
    }
    return unnamed;
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
        for (int tab = 0; tab < window.tabs()->count(); ++tab)
            QCOMPARE(unnamedControls(*window.panel(tab)).join(","), QString());
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
};

QTEST_MAIN(AccessibleNamesTest)
#include "test_accessible_names.moc"
