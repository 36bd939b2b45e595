// The Run panel as a user drives it under the offscreen platform: typing the
// run values, starting, stopping and resuming a simulation, building and
// editing a plan, testing it, saving and opening it, and closing during a run.

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <set>
#include <utility>

#include "common/cformat.h"
#include "experiments/app_state.h"
#include "experiments/experiment_runner.h"
#include "experiments/session.h"
#include "reports/study_report.h"
#include "ui/plan_list.h"
#include "ui/run_panel.h"
#include "ui/ui_test_platform.h"

using namespace quorvane;
using quorvane::testing::UiTestPlatform;

namespace {

/// One panel over its own state, session and platform, writing into a temporary folder.
struct Bench {
    QTemporaryDir folder;
    AppState state;
    UiTestPlatform platform;
    Session session{state, platform};
    RunPanel panel{state, session, platform};

    Bench() {
        state.paths.logPath = path("log.csv");
        session.planFile.paths.plan = path("_Quorvane_defaultplan.csv");
        panel.show();
    }
    std::string path(const char* name) const { return (folder.path() + "/" + name).toStdString(); }
    QLineEdit* edit(int id) { return static_cast<QLineEdit*>(panel.control(id)); }
    QPushButton* button(int id) { return static_cast<QPushButton*>(panel.control(id)); }
    QCheckBox* check(int id) { return static_cast<QCheckBox*>(panel.control(id)); }

    void type(int id, const QString& text) {
        QLineEdit* e = edit(id);
        e->selectAll();
        QTest::keyClicks(e, text);
        QTest::keyClick(e, Qt::Key_Return);
    }
    /// A small field that grows a few layers in a moment: a supercooling at
    /// which every face grows continuously.
    void smallField(const char* layers) {
        state.data.General_Suupercooling = 3;
        type(kFieldWidthEdit, "20");
        type(kFieldHeightEdit, "20");
        type(kLayersLimitEdit, layers);
    }
    /// The rows of the run log after its two header lines.
    QStringList logRows() {
        QFile file(QString::fromStdString(state.paths.logPath));
        if (!file.open(QIODevice::ReadOnly)) return {};
        QStringList lines = QString::fromLatin1(file.readAll()).split('\n', Qt::SkipEmptyParts);
        return lines.mid(2);
    }
    static QString eventCode(const QString& row) { return row.section(',', 1, 1).remove('"'); }
    QString cell(int row, int column) {
        QTableWidgetItem* item = panel.planList()->item(row, column);
        return item ? item->text() : QString();
    }
    void clickCell(int row, int column) {
        PlanList* list = panel.planList();
        const QRect r = list->visualRect(list->model()->index(row, column));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
    }
};

}  // namespace

class RunPanelTest : public QObject {
    Q_OBJECT
  private slots:
    void typedValuesReachTheRunAndPFollowsN() {
        Bench b;
        b.type(kFieldWidthEdit, "20");
        b.type(kFieldHeightEdit, "25");
        b.type(kJumpsPerStepEdit, "5");
        QCOMPARE(b.state.run.N_field_W, 20);
        QCOMPARE(b.state.run.N_field_H, 25);
        QCOMPARE(b.edit(kProbabilityEdit)->text(), QString("0.01"));
        QVERIFY(b.edit(kProbabilityEdit)->isReadOnly());
        // A value shown and not typed in is not read back rounded.
        const double n = b.state.run.N_in_per_step;
        b.type(kFieldWidthEdit, "20");
        QCOMPARE(b.state.run.N_in_per_step, n);
        // Bad input: the program's message, the value kept.
        b.type(kFieldHeightEdit, "0");
        QCOMPARE(b.state.run.N_field_H, 25);
        QCOMPARE(b.edit(kFieldHeightEdit)->text(), QString("25"));
        QCOMPARE(b.platform.messages.size(), size_t(1));
        QVERIFY(b.platform.messages[0].find("Height") != std::string::npos);
        // A run does not start over a refused value.
        b.edit(kJumpsPerStepEdit)->setText("many");
        b.panel.action(kCmdStartSingle)->trigger();
        QCOMPARE(b.platform.messages.size(), size_t(2));
        QCOMPARE(b.state.runState.step_count, 0);
        QCOMPARE(b.edit(kJumpsPerStepEdit)->text(), QString("5"));
    }

    void aTimeUnitChangeShowsWhenThePanelIsShownNotAtAPaint() {
        Bench b;
        QCOMPARE(b.panel.display().timeUnitName, std::string("s"));
        const double seconds = b.state.run.Time_step;
        b.state.data.time = 3;  // minutes, as the Data panel would set it
        b.panel.grab();         // a paint only shows; it changes nothing
        QCOMPARE(b.panel.display().timeUnitName, std::string("s"));
        QCOMPARE(b.state.run.Time_step, seconds);
        b.panel.hide();  // the user comes back to the panel
        b.panel.show();
        QCOMPARE(b.panel.display().timeUnitName, std::string("min"));
        QCOMPARE(b.edit(kTimeStepEdit)->text().toStdString(), cformat("%.4g", seconds / 60));
    }

    void framesFollowTheirControls() {
        Bench b;
        const QColor outer(50, 200, 25);
        QWidget* width = b.panel.control(kFieldWidthEdit);
        QImage before = b.panel.grab().toImage();
        QCOMPARE(before.pixelColor(width->x() - 85, width->y() + 100), outer);
        width->move(width->x() + 40, width->y());
        b.panel.control(kFieldHeightEdit)->move(width->x(), b.panel.control(kFieldHeightEdit)->y());
        QImage after = b.panel.grab().toImage();
        QCOMPARE(after.pixelColor(width->x() - 85, width->y() + 100), outer);
        QVERIFY(after.pixelColor(width->x() - 125, width->y() + 100) != outer);
    }

    void theControlsKeepTheirOwnFontUnderTheTabCaptions() {
        AppState state;
        UiTestPlatform platform;
        Session session(state, platform);
        QWidget tabs;
        QFont caption("Times");
        caption.setPixelSize(20);
        caption.setWeight(QFont::DemiBold);
        tabs.setFont(caption);
        auto* panel = new RunPanel(state, session, platform, &tabs);
        QCOMPARE(panel->control(kFieldWidthEdit)->font().weight(), QFont::Normal);
        QVERIFY(panel->control(kFieldWidthEdit)->font().pixelSize() != 20);
    }

    void neverStopHidesTheLimits() {
        Bench b;
        QTest::mouseClick(b.check(kNeverStopCheck), Qt::LeftButton);
        QCOMPARE(b.state.run.Is_any_limits, 1);
        for (int id : {kLayersLimitEdit, kTimeLimitEdit, kFirstLayerLimitEdit})
            QVERIFY(!b.edit(id)->isVisible());
        QTest::mouseClick(b.check(kNeverStopCheck), Qt::LeftButton);
        QCOMPARE(b.state.run.Is_any_limits, 0);
        for (int id : {kLayersLimitEdit, kTimeLimitEdit, kFirstLayerLimitEdit})
            QVERIFY(b.edit(id)->isVisible());
    }

    void setDefaultProposesAFieldAndAProbability() {
        Bench b;
        b.type(kFieldWidthEdit, "20");
        QTest::mouseClick(b.button(kSetDefaultButton), Qt::LeftButton);
        QVERIFY(b.state.run.N_field_W >= 100);
        QCOMPARE(b.edit(kFieldWidthEdit)->text(), QString::number(b.state.run.N_field_W));
        QCOMPARE(b.edit(kProbabilityEdit)->text().toStdString(),
                 cformat("%.4g", b.state.run.Prob_in_at_step));
    }

    void aSingleSimulationEndsByItsLayerLimitAndLeavesItsRow() {
        Bench b;
        b.smallField("2");
        bool heldDuringRun = false;
        b.session.loop.hooks.stepDone = [&](int step) {
            if (step == 50)
                heldDuringRun = !b.edit(kFieldWidthEdit)->isEnabled() &&
                                b.button(kPauseResumeButton)->isEnabled();
        };
        b.panel.action(kCmdStartSingle)->trigger();
        QVERIFY(heldDuringRun);
        QCOMPARE(b.button(kPauseResumeButton)->text(), QString("Resume"));
        QVERIFY(b.edit(kFieldWidthEdit)->isEnabled());
        const QStringList rows = b.logRows();
        QCOMPARE(rows.size(), 1);
        QCOMPARE(Bench::eventCode(rows[0]), QString("3"));
    }

    void stopThenResumeContinuesTheSameRun() {
        Bench b;
        b.smallField("3");
        int stoppedAt = 0;
        b.session.loop.hooks.stepDone = [&](int step) {
            if (step == 30 && stoppedAt == 0) {
                stoppedAt = step;
                QTimer::singleShot(0, b.button(kPauseResumeButton), &QPushButton::click);
            }
        };
        b.panel.action(kCmdStartSingle)->trigger();
        QVERIFY(stoppedAt > 0);
        QCOMPARE(b.button(kPauseResumeButton)->text(), QString("Resume"));
        QVERIFY(b.logRows().isEmpty());  // a pause leaves no row
        const int pausedAt = b.state.runState.step_count;
        QVERIFY(pausedAt >= 30);
        QVERIFY(b.edit(kFieldWidthEdit)->isEnabled());

        QTest::mouseClick(b.button(kPauseResumeButton), Qt::LeftButton);  // Resume
        QVERIFY(b.state.runState.step_count > pausedAt);
        QCOMPARE(b.button(kPauseResumeButton)->text(), QString("Resume"));
        const QStringList rows = b.logRows();
        QCOMPARE(rows.size(), 1);
        QCOMPARE(Bench::eventCode(rows[0]), QString("3"));
    }

    void closingDuringARunLeavesTheInterruptedRow() {
        Bench b;
        b.smallField("2");
        QTest::mouseClick(b.check(kNeverStopCheck), Qt::LeftButton);
        b.session.loop.hooks.stepDone = [&](int step) {
            if (step == 200) QTimer::singleShot(0, [&] { b.platform.requestClose(); });
        };
        b.panel.action(kCmdStartSingle)->trigger();
        const QStringList rows = b.logRows();
        QCOMPARE(rows.size(), 1);
        QCOMPARE(Bench::eventCode(rows[0]), QString("10"));
    }

    void theEditMenuBuildsAPlanAndCellsAreEditedInPlace() {
        Bench b;
        b.panel.action(kCmdAddGeneralSupercooling)->trigger();
        b.panel.action(kCmdAddTemperature)->trigger();
        b.panel.action(kCmdAddGeneralSupercooling)->trigger();
        PlanList* list = b.panel.planList();
        QCOMPARE(list->rowCount(), 3);
        QCOMPARE(b.cell(0, 0), QString("Specific supercooling"));
        QCOMPARE(b.cell(1, 0), QString("Temperature"));
        QCOMPARE(b.cell(0, 1), QString("1"));
        QCOMPARE(b.cell(0, 2), QString("15"));
        // Columns as wide as their widest text plus 15 pixels.
        const QFontMetrics metrics(list->font());
        QCOMPARE(list->columnWidth(0), metrics.horizontalAdvance("Specific supercooling") + 15);

        // Delete the third row, then move Temperature to the top.
        b.clickCell(2, 0);
        b.panel.action(kCmdDeleteRow)->trigger();
        QCOMPARE(list->rowCount(), 2);
        b.clickCell(1, 0);
        b.panel.action(kCmdRowToTop)->trigger();
        QCOMPARE(b.cell(0, 0), QString("Temperature"));
        b.panel.action(kCmdRowDown)->trigger();  // the selection stays on row 1
        QCOMPARE(b.cell(0, 0), QString("Temperature"));
        b.clickCell(0, 0);
        b.panel.action(kCmdRowDown)->trigger();
        QCOMPARE(b.cell(1, 0), QString("Temperature"));
        // The arrow keys move the selection the commands act on.
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(list->selectedRow(), 1);
        b.panel.action(kCmdRowUp)->trigger();
        QCOMPARE(b.cell(0, 0), QString("Temperature"));
        b.clickCell(0, 0);
        b.panel.action(kCmdRowDown)->trigger();

        // A click on From lays the edit box over the cell; Enter commits.
        b.clickCell(0, 1);
        QLineEdit* box = list->editBox();
        QVERIFY(box->isVisible());
        QCOMPARE(box->text(), QString("1"));
        QCOMPARE(box->geometry(), list->visualRect(list->model()->index(0, 1)));
        box->selectAll();
        QTest::keyClicks(box, "2");
        QTest::keyClick(box, Qt::Key_Return);
        QVERIFY(!box->isVisible());
        QCOMPARE(b.cell(0, 1), QString("2"));
        QCOMPARE(b.state.plan.rows()[0].from, 2.0);
        QCOMPARE(b.cell(0, 4), QString("2"));  // current restarts at the new start

        // Steps: 2.9999999999999996 means 3; a click elsewhere commits too.
        b.clickCell(0, 3);
        box->selectAll();
        QTest::keyClicks(box, "2.9999999999999996");
        b.clickCell(1, 2);
        QCOMPARE(b.state.plan.rows()[0].steps, 3);
        QVERIFY(box->isVisible());  // now over row 1, To
        box->selectAll();
        QTest::keyClicks(box, "abc");
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(b.cell(1, 2), QString("0"));
        // Parameter and Current cells are not edited.
        b.clickCell(0, 4);
        QVERIFY(!box->isVisible());
    }

    void testExperimentPlanWalksEveryCombination() {
        Bench b;
        b.panel.action(kCmdAddGeneralSupercooling)->trigger();
        b.panel.action(kCmdAddGeneralSurfaceEnergy)->trigger();
        for (int row : {0, 1}) {
            b.clickCell(row, 3);
            b.panel.planList()->editBox()->selectAll();
            QTest::keyClicks(b.panel.planList()->editBox(), "1");
            QTest::keyClick(b.panel.planList()->editBox(), Qt::Key_Return);
        }
        std::set<std::pair<QString, QString>> seen;
        bool heldDuringTest = false;
        QTimer sampler;
        QObject::connect(&sampler, &QTimer::timeout, [&] {
            seen.insert({b.cell(0, 4), b.cell(1, 4)});
            if (!b.panel.control(kPlanEditButton)->isEnabled()) heldDuringTest = true;
        });
        sampler.start(50);
        b.panel.action(kCmdTestPlan)->trigger();
        sampler.stop();
        // Two values each: four combinations, each shown in the Current column.
        const std::set<std::pair<QString, QString>> all{
            {"1", "1"}, {"1", "15"}, {"15", "1"}, {"15", "15"}};
        for (const auto& combination : all) QVERIFY(seen.count(combination));
        QVERIFY(heldDuringTest);
        QVERIFY(b.panel.control(kPlanEditButton)->isEnabled());
        QCOMPARE(b.cell(0, 4), QString("1"));  // back at the starts
        QVERIFY(b.logRows().isEmpty());        // nothing simulated
    }

    void stopEndsAnExperimentAndResumeExperimentContinuesIt() {
        Bench b;
        b.panel.action(kCmdAddGeneralSupercooling)->trigger();
        b.panel.action(kCmdAddGeneralSurfaceEnergy)->trigger();
        for (int row : {0, 1}) {
            b.clickCell(row, 3);
            b.panel.planList()->editBox()->selectAll();
            QTest::keyClicks(b.panel.planList()->editBox(), "1");
            QTest::keyClick(b.panel.planList()->editBox(), Qt::Key_Return);
        }
        std::vector<std::pair<QString, QString>> started;
        bool pressed = false;
        b.session.runner.hooks.combinationStarted = [&](long long position, long long) {
            started.push_back({b.cell(0, 4), b.cell(1, 4)});
            if (position == 1 && !std::exchange(pressed, true))
                QTimer::singleShot(100, b.button(kPauseResumeButton), &QPushButton::click);
        };
        b.panel.action(kCmdTestPlan)->trigger();
        QCOMPARE(started.size(), size_t(2));  // stopped during the second combination
        QCOMPARE(b.button(kPauseResumeButton)->text(), QString("Resume"));
        QVERIFY(b.panel.control(kPlanEditButton)->isEnabled());
        QCOMPARE(b.cell(1, 4), QString("15"));  // the interrupted combination stays

        QString said;
        b.session.saidStatus = [&](const std::string& text) {
            said = QString::fromStdString(text);
        };
        b.panel.action(kCmdResumeExperiment)->trigger();
        QVERIFY(said.startsWith("Resuming the test of the plan"));  // not silently a test again
        const std::vector<std::pair<QString, QString>> all{
            {"1", "1"}, {"1", "15"}, {"1", "15"}, {"15", "1"}, {"15", "15"}};
        QCOMPARE(started, all);  // the interrupted one again, then the rest
    }

    void aFullSingleRunLogsItsSeriesAndTheReducedRecord() {
        Bench b;
        b.smallField("1");
        b.panel.action(kCmdRunFullSingle)->trigger();
        const QStringList rows = b.logRows();
        // Three probabilities with porosity, then the extrapolated record.
        QCOMPARE(rows.size(), 4);
        for (int i = 0; i < 3; ++i) QCOMPARE(Bench::eventCode(rows[i]), QString("3"));
        QCOMPARE(Bench::eventCode(rows[3]), QString("77"));
        QVERIFY(b.edit(kFieldWidthEdit)->isEnabled());
    }

    void aSavedPlanOpensAgain() {
        Bench b;
        b.panel.action(kCmdAddTemperature)->trigger();
        b.panel.action(kCmdAddVolume)->trigger();
        const QString temperatureRow = b.cell(0, 1) + b.cell(0, 2) + b.cell(0, 3);
        b.platform.fileAnswers.push_back(b.path("study.csv"));
        b.panel.action(kCmdPlanSaveAs)->trigger();
        QVERIFY(QFile::exists(QString::fromStdString(b.path("study.csv"))));
        QCOMPARE(b.state.paths.logPath, b.path("study_Quorvane_res.csv"));

        b.panel.action(kCmdPlanNew)->trigger();
        QCOMPARE(b.panel.planList()->rowCount(), 0);
        b.platform.fileAnswers.push_back(b.path("study.csv"));
        b.panel.action(kCmdPlanOpen)->trigger();
        QCOMPARE(b.panel.planList()->rowCount(), 2);
        QCOMPARE(b.cell(0, 1) + b.cell(0, 2) + b.cell(0, 3), temperatureRow);
        QCOMPARE(b.cell(1, 0), QString("Volume"));

        // A file of another kind is refused with the program's message.
        QFile other(QString::fromStdString(b.path("other.csv")));
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.write("Content,Data\n");
        other.close();
        b.platform.fileAnswers.push_back(b.path("other.csv"));
        b.panel.action(kCmdPlanOpen)->trigger();
        QCOMPARE(b.platform.messages.back(),
                 std::string("It is not valid file for experiment setting\nTry other one."));
        QCOMPARE(b.panel.planList()->rowCount(), 2);
    }

    void aPlanOfManyKindsMakesRoomForItsMarks() {
        Bench b;
        const int start = b.panel.minimumHeight();
        for (int id : {kCmdAddGeneralSupercooling, kCmdAddGeneralSurfaceEnergy, kCmdAddEnthalpy,
                       kCmdAddSurfaceEnergy, kCmdAddTemperature, kCmdAddVolume, kCmdAddRatioAB})
            b.panel.action(id)->trigger();
        QVERIFY(b.panel.valueMarksBottom() + 20 > start);
        QCOMPARE(b.panel.minimumHeight(), b.panel.valueMarksBottom() + 20);
        QVERIFY(b.panel.height() >= b.panel.minimumHeight());
        b.panel.action(kCmdPlanNew)->trigger();
        QCOMPARE(b.panel.valueMarksBottom(), b.panel.planList()->geometry().bottom());
        QCOMPARE(b.panel.minimumHeight(), start);
    }

    void theReportEntryWaitsForTheReportsModule() {
        Bench b;
        QAction* report = b.panel.action(kCmdSaveRunReport);
        QVERIFY(report);
        QVERIFY(!report->isEnabled());
        int saved = 0;
        b.panel.saveRunReport = [&] { ++saved; };
        b.panel.runCommand(kCmdSaveRunReport);
        QCOMPARE(saved, 1);
        QAction* study = b.panel.action(kSaveStudyReportCommand);
        QVERIFY(study);
        QVERIFY(!study->isEnabled());
        b.panel.saveStudyReport = [&] { saved += 10; };
        b.panel.runCommand(kSaveStudyReportCommand);
        QCOMPARE(saved, 11);
        for (int id : {kCmdStartSingle, kCmdRunFullSingle, kCmdResumeRun, kCmdStartExperiment,
                       kCmdResumeExperiment, kCmdFullResearch, kCmdGeneralExperiment,
                       kCmdCreateSummary, kCmdResearchSettings, kCmdTestPlan})
            QVERIFY(b.panel.action(id));
    }

    void screenshot() {
        const QByteArray folder = qgetenv("QUORVANE_SCREENSHOTS");
        if (folder.isEmpty()) QSKIP("set QUORVANE_SCREENSHOTS to a folder to save the picture");
        Bench b;
        b.panel.action(kCmdAddGeneralSupercooling)->trigger();
        b.panel.action(kCmdAddTemperature)->trigger();
        b.panel.action(kCmdAddTemperature)->trigger();
        b.state.plan.advance();
        b.state.plan.advance();
        b.panel.planList()->refill();
        QVERIFY(b.panel.grab().save(QString(folder) + "/run-panel.png"));
    }
};

QTEST_MAIN(RunPanelTest)
#include "test_run_panel.moc"
