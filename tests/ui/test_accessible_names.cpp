// What a screen reader says for the controls of the Help panel and of the two
// dialogs of the experiments: every field, check box, combo box and button has
// a name, most of them the text of the label beside them.

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "experiments/app_state.h"
#include "model/random_argument.h"
#include "model/research_settings.h"
#include "recording_platform.h"
#include "ui/experiment_dialog.h"
#include "ui/full_run_setting.h"
#include "ui/help_panel.h"

using namespace quorvane;

namespace {

/// The name a screen reader gives a control: its own, its label's or its text.
QString spokenName(QWidget* control) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
    if (!qobject_cast<QComboBox*>(control)) return accessible->text(QAccessible::Name);
    // A combo box answers with its current entry; what names it is its own
    // name or the label pointing at it.
    if (!control->accessibleName().isEmpty()) return control->accessibleName();
    for (const auto& [label, relation] : accessible->relations(QAccessible::Label))
        if (qobject_cast<QLabel*>(label->object())) return label->text(QAccessible::Name);
    return {};
}

QStringList unnamedControls(const QWidget& form) {
    QStringList unnamed;
    for (QWidget* w : form.findChildren<QWidget*>()) {
        const bool control = qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
                             qobject_cast<QAbstractButton*>(w);
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
};

QTEST_MAIN(AccessibleNamesTest)
#include "test_accessible_names.moc"
