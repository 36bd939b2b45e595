#include "experiments/experiment_runner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "common/file_io.h"
#include "common/text.h"
#include "experiments/session.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"

namespace quorvane {
namespace {

namespace fs = std::filesystem;

/// One row of the run log, split into its unquoted cells.
std::vector<std::string> cells(const std::string& line) {
    std::vector<std::string> out;
    for (std::string cell : splitFields(line, ",")) {
        cell.erase(std::remove(cell.begin(), cell.end(), '"'), cell.end());
        out.push_back(cell);
    }
    return out;
}

/// Tiny, fast runs: an 8 x 8 field of the "active" molecule, ending at one layer.
class ExperimentRunnerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        state_.paths.logPath = path("log.csv");
        session_.planFile.paths.plan = path("plan.csv");
        state_.random.SeedForStart();
        PhysicalData& d = state_.data;
        d.General_Suupercooling = 1;
        d.General_Surface_Energy = 3;
        d.edgesRatio = 0.25;
        d.verticesRatio = 0.05;
        RunSettings& run = state_.run;
        run.N_field_W = run.N_field_H = 8;
        run.Is_time_simulattion_limit = 0;
        run.Is_time_simulattion_limit_first_layer = 0;
        run.Is_layers_limit = 1;
        run.Layers_limit = 1;
        state_.research.Sheme_for_running_with_porosity = kNoPorosity;
        state_.research.List_of_values_to_try = "0.01";
        state_.research.values = {0.01};
    }
    std::string path(const std::string& name) const { return folder_.file(name); }

    /// Data rows of the log (the two header lines left out), split into cells.
    std::vector<std::vector<std::string>> logRows() const {
        std::vector<std::vector<std::string>> rows;
        std::istringstream in(readWholeFile(state_.paths.logPath).value_or(""));
        std::string line;
        for (int n = 0; readLine(in, line); ++n)
            if (n >= 2) rows.push_back(cells(line));
        return rows;
    }
    static constexpr int kEvent = 1, kProb = 2, kPorosity = 38;

    /// A plan of kind 4 (three temperatures) first, then kind 2 (two enthalpies).
    void sixCombinations() { state_.plan.setRows({{4, 1500, 1560, 2}, {2, 1e-20, 2e-20, 1}}); }

    testing::TempFolder folder_;
    AppState state_;
    testing::ScriptedPlatform platform_;
    Session session_{state_, platform_};
    ExperimentRunner& runner_ = session_.runner;
};

TEST_F(ExperimentRunnerTest, TestModeVisitsEveryCombinationWithTheFastestKindLast) {
    sixCombinations();
    std::vector<std::pair<double, double>> visited;
    std::string planBeforeFourth;
    runner_.hooks.combinationStarted = [&](long long position, long long total) {
        EXPECT_EQ(total, 6);
        EXPECT_EQ(position, static_cast<long long>(visited.size()));
        visited.emplace_back(state_.plan.currentValueOfKind(4), state_.plan.currentValueOfKind(2));
        if (position == 3) planBeforeFourth = readWholeFile(path("plan.csv")).value_or("");
    };
    runner_.StartExperiment(true);
    ASSERT_EQ(visited.size(), 6u);
    EXPECT_EQ(visited[0], std::make_pair(1500.0, 1e-20));
    EXPECT_EQ(visited[1], std::make_pair(1500.0, 2e-20));
    EXPECT_EQ(visited[2], std::make_pair(1530.0, 1e-20));
    EXPECT_EQ(visited[3], std::make_pair(1530.0, 2e-20));
    EXPECT_EQ(visited[5], std::make_pair(1560.0, 2e-20));
    // The plan file before the fourth run holds the second value of each kind.
    EXPECT_NE(planBeforeFourth.find("4, 1500, 1560, 1530, 2\n"), std::string::npos);
    EXPECT_NE(planBeforeFourth.find("2, 1e-20, 2e-20, 2e-20, 1\n"), std::string::npos);
    EXPECT_EQ(platform_.sleptMilliseconds, 6 * 500);
    EXPECT_TRUE(logRows().empty());                      // nothing was simulated
    EXPECT_EQ(state_.plan.currentValueOfKind(4), 1500);  // back at the start
    EXPECT_FALSE(state_.runState.experimentFlag);
    EXPECT_TRUE(state_.runState.controlsEnabled);
    // The applied values went through the data rules: the temperature is 1560 K.
    EXPECT_DOUBLE_EQ(state_.data.Temperature, 1560);
}

TEST_F(ExperimentRunnerTest, StopDuringTheThirdCombinationThenResumeRunsItAgain) {
    sixCombinations();
    std::vector<long long> started;
    bool stopped = false;
    runner_.hooks.combinationStarted = [&](long long position, long long) {
        started.push_back(position);
        if (position == 2 && !stopped) {  // the Pause button, a few steps into the third run
            stopped = true;
            platform_.at(platform_.cycle + 3, [&] { session_.loop.PressPauseResume(); });
        }
    };
    runner_.StartExperiment(false);
    EXPECT_EQ(started, (std::vector<long long>{0, 1, 2}));
    EXPECT_FALSE(state_.runState.experimentFlag);
    EXPECT_EQ(state_.plan.currentValueOfKind(4), 1530);  // the interrupted combination
    EXPECT_EQ(state_.plan.currentValueOfKind(2), 1e-20);
    // Two full runs: one run and its reduced record each; the stopped run left no row.
    auto rows = logRows();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[1][kEvent], "77");
    EXPECT_EQ(rows[3][kEvent], "77");

    started.clear();
    runner_.ResumeExperiment();
    EXPECT_EQ(started, (std::vector<long long>{2, 3, 4, 5}));
    EXPECT_EQ(logRows().size(), 12u);
}

TEST_F(ExperimentRunnerTest, ALostRowOrPlanFileStopsTheExperimentWhereItCanResume) {
    sixCombinations();
    // From the third combination on the log is a folder: its rows cannot be written.
    fs::create_directories(path("lost.csv"));
    runner_.hooks.combinationStarted = [&](long long position, long long) {
        if (position == 2) state_.paths.logPath = path("lost.csv");
    };
    platform_.retryAnswers = {true};  // Retry once, then Cancel
    runner_.StartExperiment(false);
    EXPECT_EQ(platform_.questions.size(), 2u);
    EXPECT_EQ(state_.runState.logFailures, 1);
    EXPECT_EQ(state_.plan.currentValueOfKind(4), 1530);  // the combination whose row is missing
    EXPECT_NE(readWholeFile(path("plan.csv"))->find("4, 1500, 1560, 1530, 2\n"), std::string::npos);
    state_.paths.logPath = path("log.csv");
    EXPECT_EQ(logRows().size(), 4u);  // the first two combinations

    // A plan file that cannot be rewritten: one message, and nothing runs.
    runner_.hooks.combinationStarted = [&](long long, long long) { ADD_FAILURE(); };
    session_.planFile.paths.plan = path("missing/plan.csv");
    platform_.messages.clear();
    runner_.ResumeExperiment();
    EXPECT_EQ(platform_.messages, (std::vector<std::string>{"Error to open file for writing"}));
    EXPECT_EQ(state_.runState.planWriteFailures, 1);
    EXPECT_FALSE(state_.runState.experimentFlag);
}

TEST_F(ExperimentRunnerTest, OptimisedFullRunUsesOneProbability) {
    // (1 - 2S) sigma' - dG' = -10: far from equilibrium, one run at 0.03 is enough.
    state_.data.General_Surface_Energy = 0;
    state_.data.General_Suupercooling = 10;
    state_.research.Do_optimize_run_probabilities = 1;
    state_.research.Sheme_for_running_with_porosity = kAllWithPorosity;
    state_.runState.experimentFlag = true;
    EXPECT_TRUE(runner_.FullRun());
    auto rows = logRows();
    ASSERT_EQ(rows.size(), 2u);  // the run by its limit, then its record as event 77
    EXPECT_EQ(rows[1][kEvent], "77");
    EXPECT_EQ(rows[1][kProb], "0.03");
    EXPECT_NE(rows[1][kPorosity], "n/a");
}

TEST_F(ExperimentRunnerTest, FirstAlsoWithPorositySchemeWritesTwoReducedRows) {
    state_.research.Sheme_for_running_with_porosity = kFirstAlsoWithPorosity;
    state_.research.values = {0.001, 0.0015, 0.002};
    state_.runState.experimentFlag = true;
    EXPECT_TRUE(runner_.FullRun());
    auto rows = logRows();
    ASSERT_EQ(rows.size(), 6u);
    for (int i : {0, 1, 2, 4}) EXPECT_EQ(rows[i][kEvent], "3");
    EXPECT_EQ(rows[3][kEvent], "77");
    EXPECT_EQ(rows[3][kProb], "0");  // extrapolated to probability zero
    EXPECT_EQ(rows[3][kPorosity], "n/a");
    EXPECT_EQ(rows[5][kEvent], "77");
    EXPECT_EQ(rows[5][kProb], "0.001");
    EXPECT_NE(rows[5][kPorosity], "n/a");
    // The current record is the reduced one of the series.
    EXPECT_EQ(state_.results.current.probIn, 0);
}

TEST_F(ExperimentRunnerTest, EmptyOrImplausibleListFallsBackAndEarlyExitStops) {
    state_.research.values = {0.01, 1e-9};
    state_.research.Do_exit_when_less_than_N_layers_filled = 1;
    state_.research.Theshold_of_layesr_to_fill = 5;  // every run fills only 1 layer
    state_.runState.experimentFlag = true;
    EXPECT_FALSE(runner_.FullRun());
    auto rows = logRows();
    ASSERT_EQ(rows.size(), 1u);  // the first fallback probability, then the early exit
    EXPECT_EQ(rows[0][kProb], "0.004");
}

TEST_F(ExperimentRunnerTest, FullResearchVisitsTheNineteenSupercoolingsOrStops) {
    state_.runState.testMode = true;
    std::vector<double> supercoolings;
    runner_.hooks.repaint = [&] {
        if (supercoolings.empty() || supercoolings.back() != state_.data.General_Suupercooling)
            supercoolings.push_back(state_.data.General_Suupercooling);
    };
    runner_.FullResearchForShape();
    ASSERT_GE(supercoolings.size(), 19u);
    EXPECT_NEAR(supercoolings.back(), 20, 1e-9);
    EXPECT_FALSE(state_.runState.experimentFlag);

    // The Pause button ends the search at once.
    supercoolings.clear();
    platform_.at(platform_.cycle + 2, [&] { session_.loop.PressPauseResume(); });
    runner_.FullResearchForShape();
    EXPECT_EQ(supercoolings.size(), 1u);
}

TEST_F(ExperimentRunnerTest, GeneralExperimentDrawsWithinTheDistributions) {
    state_.runState.testMode = true;
    runner_.seedStandardGenerator(7);
    runner_.GeneralExperiment(3);
    EXPECT_EQ(platform_.sleptMilliseconds, 3 * 500);
    const RandomArgument& axis = state_.randomArguments[kArgumentAxisA];
    // Drawn in nanometres, held in angstroms.
    EXPECT_GE(state_.data.Size_A, std::max(0.1, axis.min) * 10 * 0.999);
    EXPECT_LE(state_.data.Size_A, axis.max * 10 * 1.001);
    EXPECT_GT(state_.data.General_Suupercooling, 0);
    EXPECT_FALSE(state_.runState.experimentFlag);
}

}  // namespace
}  // namespace quorvane
