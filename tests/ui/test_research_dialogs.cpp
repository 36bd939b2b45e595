// The two dialogs of the experiments as a user meets them: the settings of a
// full run with their checks and focus moves, and the distributions of the
// general experiment edited by dragging and typing.

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <numeric>

#include "model/random_argument.h"
#include "model/research_settings.h"
#include "ui/experiment_dialog.h"
#include "ui/full_run_setting.h"
#include "ui/ui_test_platform.h"

using namespace quorvane;
using quorvane::testing::UiTestPlatform;

namespace {

double totalMass(const RandomArgument& a) {
    return a.below + a.above + std::accumulate(a.bins.begin(), a.bins.end(), 0.0);
}

QLineEdit* editOf(FullRunSetting& d, int id) {
    return qobject_cast<QLineEdit*>(d.control(id));
}

void retype(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

/// A vertical drag over a histogram from a point, `dy` pixels down.
void drag(QWidget* view, QPoint from, int dy) {
    QTest::mousePress(view, Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(from.x(), from.y() + dy),
                     view->mapToGlobal(QPointF(from.x(), from.y() + dy)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view, &move);
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(from.x(), from.y() + dy));
}

}  // namespace

class ResearchDialogsTest : public QObject {
    Q_OBJECT
  private slots:
    void aBadListItemKeepsTheDialogOpenWithTheFocusInTheList() {
        ResearchSettings settings;
        UiTestPlatform platform;
        FullRunSetting dialog(settings, platform);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QString("Setting of one experiment of full research"));
        QLineEdit* list = editOf(dialog, kListEdit);
        retype(list, "0.001,0.6,0.002");
        QTest::keyClick(list, Qt::Key_Return);  // the hidden Update
        QCOMPARE(platform.messages.size(), size_t(1));
        QCOMPARE(platform.messages[0], std::string(kCheckListMessage));
        QCOMPARE(dialog.focusWidget(), static_cast<QWidget*>(list));
        QCOMPARE(settings.List_of_values_to_try, std::string("0.001,0.6,0.002"));

        // OK over the same error: the message again, and the dialog stays.
        QTest::mouseClick(dialog.control(kResearchOkButton), Qt::LeftButton);
        QCOMPARE(platform.messages.size(), size_t(2));
        QVERIFY(dialog.isVisible());

        retype(list, "0.001, 0.003");
        QTest::mouseClick(dialog.control(kResearchOkButton), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(settings.values, (std::vector<double>{0.001, 0.003}));
    }

    void loopAndListExcludeEachOther() {
        ResearchSettings settings;
        UiTestPlatform platform;
        FullRunSetting dialog(settings, platform);
        dialog.show();
        auto* loop = qobject_cast<QCheckBox*>(dialog.control(kLoopCheckBox));
        auto* list = qobject_cast<QCheckBox*>(dialog.control(kListCheckBox));
        QVERIFY(list->isChecked() && !loop->isChecked());
        QVERIFY(!editOf(dialog, kLoopStartEdit)->isEnabled());
        QTest::mouseClick(loop, Qt::LeftButton);
        QVERIFY(loop->isChecked() && !list->isChecked());
        QVERIFY(editOf(dialog, kLoopStartEdit)->isEnabled());
        QVERIFY(!editOf(dialog, kListEdit)->isEnabled());
        QCOMPARE(settings.Values_to_try_as_loop_or_list, 1);
        QTest::mouseClick(loop, Qt::LeftButton);  // a second click keeps the choice
        QVERIFY(loop->isChecked());

        // Loop 0.05 + 0.03 i, four steps: only the values up to 0.1 stay.
        retype(editOf(dialog, kLoopStartEdit), "0.05");
        retype(editOf(dialog, kLoopStepEdit), "0.03");
        QVERIFY(dialog.updateSettings());
        QCOMPARE(settings.values, (std::vector<double>{0.05, 0.08}));
        retype(editOf(dialog, kLoopStepEdit), "0.5");
        QVERIFY(!dialog.updateSettings());
        QCOMPARE(platform.messages.back(), std::string(kCheckLoopStepMessage));
        QCOMPARE(dialog.focusWidget(), dialog.control(kLoopStepEdit));
    }

    void integerFieldsAndTheSchemeCombo() {
        ResearchSettings settings;
        UiTestPlatform platform;
        FullRunSetting dialog(settings, platform);
        dialog.show();
        auto* scheme = qobject_cast<QComboBox*>(dialog.control(kPorositySchemeCombo));
        QCOMPARE(scheme->count(), 4);
        QCOMPARE(scheme->itemText(2).trimmed(), QString("dublicate all runs with poricity"));
        scheme->setCurrentIndex(3);  // stored at once
        QCOMPARE(settings.Sheme_for_running_with_porosity, 3);
        retype(editOf(dialog, kInterpolationTermsEdit), "11");
        QVERIFY(!dialog.updateSettings());
        QCOMPARE(platform.messages.back(), std::string(kInterpolationRangeMessage));
        QCOMPARE(settings.N_terms_inInterpolation, 2);
        retype(editOf(dialog, kInterpolationTermsEdit), "10");
        QTest::mouseClick(dialog.control(kExitEarlyCheckBox), Qt::LeftButton);
        retype(editOf(dialog, kLayerThresholdEdit), "7");
        QVERIFY(dialog.updateSettings());
        QCOMPARE(settings.N_terms_inInterpolation, 10);
        QCOMPARE(settings.Do_exit_when_less_than_N_layers_filled, 1);
        QCOMPARE(settings.Theshold_of_layesr_to_fill, 7);
    }

    void draggingABarKeepsTheTotalMassAtOne() {
        std::vector<RandomArgument> arguments = makeDefaultRandomArguments();
        const std::vector<RandomArgument> before = arguments;
        UiTestPlatform platform;
        ExperimentDialog dialog(arguments, platform);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.windowTitle(), QString("Set probabilities distributions"));

        for (int mode : {0, 1, 2}) {
            auto* modes = dialog.findChild<QComboBox*>("mode0");
            modes->setCurrentIndex(mode);
            DistributionView* view = dialog.view(0);
            const RandomArgument start = dialog.working()[0];
            const QPoint bar(view->centreOf(ArgumentPart::Bin, 2), view->barArea().center().y());
            drag(view, bar, 20);
            const RandomArgument& now = dialog.working()[0];
            QVERIFY(now.bins != start.bins);
            QVERIFY(std::fabs(totalMass(now) - 1) < 1e-12);
        }
        // An end bar dragged up takes mass from the rest.
        DistributionView* view = dialog.view(3);
        const QPoint end(view->centreOf(ArgumentPart::LowerMass), view->barArea().bottom() - 2);
        drag(view, end, -30);
        QVERIFY(dialog.working()[3].below > before[3].below);
        QVERIFY(std::fabs(totalMass(dialog.working()[3]) - 1) < 1e-12);
        QCOMPARE(dialog.partChoice()->currentIndex(), int(ArgumentPart::LowerMass));

        // Mode 3 moves the range, not the masses.
        dialog.findChild<QComboBox*>("mode1")->setCurrentIndex(3);
        view = dialog.view(1);
        drag(view, QPoint(view->centreOf(ArgumentPart::Bin, 4), view->barArea().center().y()),
             -view->barArea().height() / 4);
        QVERIFY(dialog.working()[1].min > before[1].min);
        QCOMPARE(dialog.working()[1].bins, before[1].bins);

        // Cancel: the arguments stay as they were.
        QTest::mouseClick(dialog.findChild<QPushButton*>("button1091"), Qt::LeftButton);
        QCOMPARE(arguments, before);
    }

    void typedValuesAndAutoEnds() {
        std::vector<RandomArgument> arguments = makeDefaultRandomArguments();
        UiTestPlatform platform;
        ExperimentDialog dialog(arguments, platform);
        dialog.show();
        // The surface energy's ends are derived: shown as "auto".
        dialog.select(kArgumentSurfaceEnergy, ArgumentPart::LowerEnd);
        QCOMPARE(dialog.valueEdit()->text(), QString("auto"));
        dialog.select(kArgumentSupercooling, ArgumentPart::Bin, 1);
        retype(dialog.valueEdit(), "0.5");
        QTest::mouseClick(dialog.findChild<QPushButton*>("button1092"), Qt::LeftButton);
        const RandomArgument& edited = dialog.working()[kArgumentSupercooling];
        QVERIFY(std::fabs(totalMass(edited) - 1) < 1e-12);
        QVERIFY(std::fabs(edited.bins[1] - 0.5) < 1e-12);
        // Refused: no number, a mass above 1, a range turned round.
        retype(dialog.valueEdit(), "many");
        QVERIFY(!dialog.applyValue());
        retype(dialog.valueEdit(), "1.5");
        QVERIFY(!dialog.applyValue());
        dialog.select(kArgumentSupercooling, ArgumentPart::UpperEnd);
        retype(dialog.valueEdit(), "0.01");
        QVERIFY(!dialog.applyValue());
        QCOMPARE(platform.messages.back(), std::string(kRangeOrderMessage));
        retype(dialog.valueEdit(), "auto");
        QVERIFY(dialog.applyValue());
        QVERIFY(isAutoEnd(dialog.working()[kArgumentSupercooling],
                          dialog.working()[kArgumentSupercooling].max));
        // Run keeps the edits.
        QTest::mouseClick(dialog.findChild<QPushButton*>("button1090"), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(arguments, dialog.working());
    }

    void screenshots() {
        const QByteArray folder = qgetenv("QUORVANE_SCREENSHOTS");
        if (folder.isEmpty()) QSKIP("set QUORVANE_SCREENSHOTS to a folder to save the pictures");
        ResearchSettings settings;
        std::vector<RandomArgument> arguments = makeDefaultRandomArguments();
        UiTestPlatform platform;
        FullRunSetting research(settings, platform);
        research.show();
        QVERIFY(research.grab().save(QString(folder) + "/full-run-setting.png"));
        ExperimentDialog distributions(arguments, platform);
        distributions.show();
        distributions.select(2, ArgumentPart::Bin, 3);
        QVERIFY(distributions.grab().save(QString(folder) + "/distributions.png"));
    }
};

QTEST_MAIN(ResearchDialogsTest)
#include "test_research_dialogs.moc"
