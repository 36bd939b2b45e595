#include "experiments/run_controller.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/file_io.h"
#include "experiments/run_log.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"

namespace quorvane {
namespace {

namespace fs = std::filesystem;

/// A small, fast-growing run: 12 x 12 columns, the "active" rate parameters.
class RunControllerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        state_.paths.logPath = folder_.file("log.csv");
        state_.data.General_Suupercooling = 1;
        state_.data.General_Surface_Energy = 3;
        state_.data.edgesRatio = 0.25;
        state_.data.verticesRatio = 0.05;
        RunSettings& run = state_.run;
        run.N_field_W = 12;
        run.N_field_H = 12;
        run.Prob_in_at_step = 0.01;
        run.N_in_per_step = 0.01 * 144;
        run.Time_step = 1e-9;
        run.Is_layers_limit = 0;
        run.Is_time_simulattion_limit = 0;
        run.Is_time_simulattion_limit_first_layer = 0;
        run.Is_any_limits = 0;
        state_.random.SeedForStart();
    }

    int logRows() const {
        auto text = readWholeFile(state_.paths.logPath);
        if (!text) return 0;
        return static_cast<int>(std::count(text->begin(), text->end(), '\n')) - 2;
    }
    std::string lastLogEvent() const {
        std::string text = readWholeFile(state_.paths.logPath).value_or("");
        auto lastLine = text.rfind('\n', text.size() - 2);
        return text.substr(lastLine + 21, 4);  // after the date cell: "\"3\"," or "\"10\""
    }

    testing::TempFolder folder_;
    AppState state_;
    testing::ScriptedPlatform platform_;
    RunController loop_{state_, platform_};
};

TEST_F(RunControllerTest, PauseWithEmptyQueueHaltsWithoutLogAndResumesTheSameField) {
    platform_.at(249, [&] { loop_.PressPauseResume(); });  // during step 250
    loop_.StartNewSingleSimulation();
    RunState& rs = state_.runState;
    EXPECT_EQ(rs.step_count, 250);
    EXPECT_TRUE(rs.finished);
    EXPECT_TRUE(rs.paused);
    EXPECT_FALSE(rs.loopActive);
    EXPECT_EQ(rs.pauseButton, PauseButton::Resume);
    EXPECT_TRUE(rs.controlsEnabled);
    EXPECT_EQ(logRows(), 0);
    EXPECT_EQ(state_.results.record.count(), 250u);

    // The second press continues the same field from the same step count.
    auto heightsBefore = state_.engine.interiorHeights();
    platform_.at(platform_.cycle + 50, [&] { loop_.PressPauseResume(); });
    loop_.PressPauseResume();
    EXPECT_EQ(rs.step_count, 301);
    EXPECT_EQ(state_.results.record.count(), 301u);
    EXPECT_EQ(logRows(), 0);
    EXPECT_NE(state_.engine.interiorHeights(), heightsBefore);
}

TEST_F(RunControllerTest, PauseWithMoreMessagesQueuedEndsAsInterrupted) {
    platform_.at(99, [&] { loop_.PressPauseResume(); });
    platform_.at(99, [] {});  // another message waits behind the press
    loop_.StartNewSingleSimulation();
    EXPECT_TRUE(state_.runState.interrupted);
    EXPECT_EQ(state_.runState.step_count, 100);
    EXPECT_EQ(logRows(), 1);
    EXPECT_EQ(state_.runState.lastLogCode, kEventInterrupted);
    EXPECT_EQ(platform_.queue.size(), 1u);  // the waiting message was not handled
}

TEST_F(RunControllerTest, ClosingDuringARunLogsCodeTen) {
    platform_.closeAt(41);
    loop_.StartNewSingleSimulation();
    EXPECT_EQ(state_.runState.step_count, 42);
    EXPECT_EQ(state_.runState.lastLogCode, kEventInterrupted);
    EXPECT_EQ(logRows(), 1);
    EXPECT_EQ(lastLogEvent(), "\"10\"");
}

TEST_F(RunControllerTest, LimitsAreCheckedEveryHundredStepsInOrder) {
    RunSettings& run = state_.run;
    run.Is_time_simulattion_limit = 1;
    run.Time_simulattion_limit = 0;  // zero minutes: the first check ends the run
    run.Is_layers_limit = 1;
    run.Layers_limit = 0;  // would end too, but time is checked first
    loop_.StartNewSingleSimulation();
    EXPECT_EQ(state_.runState.step_count, 100);
    EXPECT_EQ(state_.runState.lastLogCode, kEventTimeLimit);
    EXPECT_EQ(state_.runState.endReason, 1);
    EXPECT_EQ(state_.runState.pauseButton, PauseButton::Resume);

    // After a limit end the next press only turns the caption back; the one
    // after resumes on the same field.
    loop_.PressPauseResume();
    EXPECT_EQ(state_.runState.pauseButton, PauseButton::Stop);
    EXPECT_FALSE(state_.runState.experimentFlag);
    EXPECT_EQ(state_.runState.step_count, 100);
    run.Is_time_simulattion_limit = 0;
    loop_.PressPauseResume();  // resumes; the layer limit of 0 ends it at the next check
    EXPECT_EQ(state_.runState.step_count, 200);
    EXPECT_EQ(state_.runState.lastLogCode, kEventLayersLimit);
    EXPECT_EQ(logRows(), 2);
}

TEST_F(RunControllerTest, FirstLayerLimitAndNegativeDistance) {
    RunSettings& run = state_.run;
    run.Is_time_simulattion_limit_first_layer = 1;
    run.Time_simulattion_limit_first_layer = 0;
    loop_.StartNewSingleSimulation();
    EXPECT_EQ(state_.runState.step_count, 100);
    EXPECT_EQ(state_.runState.lastLogCode, kEventFirstLayerLimit);
    EXPECT_EQ(state_.runState.endReason, 4);

    // A dissolving field: its distance counts by magnitude.
    state_.data.General_Suupercooling = -3;
    run.Is_time_simulattion_limit_first_layer = 0;
    run.Is_layers_limit = 1;
    run.Layers_limit = 2;
    loop_.StartNewSingleSimulation();
    EXPECT_LE(state_.engine.mean_height(), -2);
    EXPECT_EQ(state_.runState.lastLogCode, kEventLayersLimit);
}

TEST_F(RunControllerTest, NeverStopIgnoresEveryLimit) {
    RunSettings& run = state_.run;
    run.Is_any_limits = 1;
    run.Is_time_simulattion_limit = 1;
    run.Time_simulattion_limit = 0;
    run.Is_layers_limit = 1;
    run.Layers_limit = 0;
    run.Is_time_simulattion_limit_first_layer = 1;
    run.Time_simulattion_limit_first_layer = 0;
    platform_.at(499, [&] { loop_.PressPauseResume(); });
    loop_.StartNewSingleSimulation();
    EXPECT_EQ(state_.runState.step_count, 500);
    EXPECT_EQ(logRows(), 0);
}

TEST_F(RunControllerTest, StepCapEndsSilently) {
    state_.runState.step_count = kMaxRunSteps;
    state_.runState.runFlag = true;
    loop_.RunLoop();
    EXPECT_EQ(state_.runState.step_count, kMaxRunSteps);
    EXPECT_FALSE(state_.runState.loopActive);
    EXPECT_EQ(logRows(), 0);
}

TEST_F(RunControllerTest, LoggedRecordCarriesDataAndMeasurements) {
    state_.run.Is_layers_limit = 1;
    state_.run.Layers_limit = 3;
    loop_.StartNewSingleSimulation();
    const RunRecord& r = state_.results.current;
    EXPECT_EQ(r.fieldW, 12);
    EXPECT_DOUBLE_EQ(r.a, 0.6);  // 6 angstroms in nanometres
    EXPECT_GE(r.distance, 3);
    EXPECT_EQ(r.nRecords, state_.runState.step_count);
    EXPECT_GT(r.Scbd, r.Scbd1);  // a lone molecule touches more than its bottom face
    EXPECT_EQ(r.logPath, state_.paths.logPath);
}

TEST_F(RunControllerTest, RefusedFieldStartsNothing) {
    state_.run.N_field_W = 0;
    loop_.StartNewSingleSimulation();
    ASSERT_EQ(platform_.messages.size(), 1u);
    EXPECT_NE(platform_.messages[0].find("at least 1 x 1"), std::string::npos);
    EXPECT_EQ(state_.runState.step_count, 0);
    EXPECT_TRUE(state_.runState.controlsEnabled);
    EXPECT_FALSE(state_.runState.runFlag);
}

TEST_F(RunControllerTest, SetDefaultProposesProbabilityAndField) {
    AppState builtIn;  // the built-in data
    RunController loop(builtIn, platform_);
    loop.SetDefaultRunSettings();
    EXPECT_NEAR(builtIn.run.Prob_in_at_step, 0.000217, 0.0000005);
    EXPECT_EQ(builtIn.run.N_field_W, 160);
    EXPECT_EQ(builtIn.run.N_field_H, 160);
    EXPECT_DOUBLE_EQ(builtIn.run.N_in_per_step, builtIn.run.Prob_in_at_step * 160 * 160);
    EXPECT_GT(builtIn.run.Time_step, 0);
    EXPECT_EQ(builtIn.engine.W(), 160);
}

}  // namespace
}  // namespace quorvane
