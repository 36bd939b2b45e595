// The batch runner under hostile conditions: full disks, file-size limits,
// links, missing files and refused data. Nothing may be lost quietly.

#include <gtest/gtest.h>

#include <fstream>

#include "batch_fixture.h"

namespace quorvane {
namespace {

constexpr const char* kFirstCombination = "4, 1600, 1650, 1600, 1\n1, 2.5, 3, 2.5, 1\n";
constexpr const char* kSecondCombination = "4, 1600, 1650, 1600, 1\n1, 2.5, 3, 3, 1\n";

/// Every line ends with a line feed and every row has its 41 cells.
void expectWholeRows(const std::string& log) {
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), '\n');
    std::istringstream in(log);
    std::string line;
    for (int n = 0; readLine(in, line); ++n) {
        if (n >= 2) {
            EXPECT_EQ(splitFields(line, ",").size(), 41u) << line;
        }
    }
}

TEST_F(BatchRunnerTest, ALostRowStopsThePlanWhereItCanBeResumed) {
    // Room for the header and three rows: the first combination (two runs and
    // its reduced row) is kept, the first run of the second cannot be.
    EXPECT_EQ(runBatch(folder(), quick({"--plan", "small_plan.csv", "--log", "log.csv"}), 2000), 1);
    EXPECT_EQ(rowsWithCode("log.csv", 77), 1);
    EXPECT_EQ(rowsWithoutDates("log.csv").size(), 3u);
    EXPECT_NE(read("stderr.txt").find("the work stopped at combination 2 of 4"), std::string::npos);
    EXPECT_NE(read("small_plan.csv").find(kSecondCombination), std::string::npos);
    // The same command continues there and the plan ends with every
    // combination reduced exactly once, back at its start.
    ASSERT_EQ(runBatch(folder(), quick({"--plan", "small_plan.csv", "--log", "log.csv"})), 0);
    EXPECT_EQ(rowsWithCode("log.csv", 77), 4);
    EXPECT_EQ(reducedCombinations("log.csv").size(), 4u);
    EXPECT_NE(read("small_plan.csv").find(kFirstCombination), std::string::npos);
}

TEST_F(BatchRunnerTest, APlanFileThatCannotBeRewrittenStopsAtOnce) {
    // Too small a file-size limit for the plan file (but room for the message).
    EXPECT_EQ(runBatch(folder(), {"--quiet", "--plan", "small_plan.csv", "--test"}, 100), 1);
    std::string err = read("stderr.txt");
    EXPECT_EQ(err.find("Error to open file for writing"), 0u);
    EXPECT_EQ(err.find("Error to open file for writing", 1), std::string::npos);
    EXPECT_NE(read("small_plan.csv").find(kFirstCombination), std::string::npos);
}

TEST_F(BatchRunnerTest, AFileSizeLimitNeverTearsTheLog) {
    // Three rows fit under the header; the fourth run cannot write its row.
    auto single = quick({"--steps", "10", "--log", "log.csv"});
    for (int run = 0; run < 3; ++run) ASSERT_EQ(runBatch(folder(), single, 1900), 0) << run;
    EXPECT_EQ(runBatch(folder(), single, 1900), 1);
    expectWholeRows(read("log.csv"));
    EXPECT_EQ(rowsWithoutDates("log.csv").size(), 3u);
    // A row torn by an older program is cut off, with a message, before the next.
    std::ofstream(temp_.file("log.csv"), std::ios::app) << "\"01/02/03 04:05:06\",\"3\",\"0.0";
    ASSERT_EQ(runBatch(folder(), single), 0);
    EXPECT_NE(read("stderr.txt").find("ended with an incomplete row"), std::string::npos);
    expectWholeRows(read("log.csv"));
    EXPECT_EQ(rowsWithoutDates("log.csv").size(), 4u);
    // A full disk from the first byte leaves no empty log behind.
    EXPECT_EQ(runBatch(folder(), quick({"--steps", "10", "--log", "new.csv"}), 0), 1);
    EXPECT_FALSE(exists("new.csv"));
}

TEST_F(BatchRunnerTest, ControlCharactersInSettingsAreRefused) {
    for (std::string text : {"Random_argument__0=A-axis (nm)\nN_field_W,2000000",
                             "List_of_values_to_try=0.001\r0.002", "Size_A\t=1"}) {
        EXPECT_EQ(
            runBatch(folder(), {"--quiet", "--no-run", "--set", text, "--write-data", "out.csv"}),
            2);
        EXPECT_FALSE(exists("out.csv"));
        EXPECT_NE(read("stderr.txt").find("control characters"), std::string::npos);
    }
}

TEST_F(BatchRunnerTest, RefusedDataEndTheWorkWithStatusTwo) {
    for (auto set :
         {std::vector<std::string>{"--set", "Size_A=1e300"},
          std::vector<std::string>{"--set", "N_field_W=1000000", "--set", "N_field_H=1000000"}}) {
        set.insert(set.begin(), "--quiet");
        EXPECT_EQ(runBatch(folder(), set), 2) << set[2];
        EXPECT_NE(read("stderr.txt").find("the work ended early: refused at the first run"),
                  std::string::npos)
            << read("stderr.txt");
        EXPECT_FALSE(exists("_Quorvane_log.csv"));
    }
}

TEST_F(BatchRunnerTest, WritingThroughALinkKeepsTheLink) {
    fs::create_directories(dir_ / "real");
    fs::rename(dir_ / "small_plan.csv", dir_ / "real" / "small_plan.csv");
    fs::create_symlink("real/small_plan.csv", dir_ / "small_plan.csv");
    fs::create_symlink("real/record.csv", dir_ / "record.csv");
    fs::create_symlink("real/data.csv", dir_ / "data.csv");
    ASSERT_EQ(runBatch(folder(), quick({"--plan", "small_plan.csv", "--log", "log.csv", "--record",
                                        "record.csv", "--write-data", "data.csv"})),
              0);
    for (const char* link : {"small_plan.csv", "record.csv", "data.csv"})
        EXPECT_TRUE(fs::is_symlink(dir_ / link)) << link;
    EXPECT_NE(read("real/record.csv").find("step,time_s"), std::string::npos);
    EXPECT_EQ(read("real/data.csv").rfind("Content,Data\n", 0), 0u);
    EXPECT_NE(read("real/small_plan.csv").find(kFirstCombination), std::string::npos);
}

TEST_F(BatchRunnerTest, APlanNamingAMissingDataFileIsRefused) {
    std::string plan = read("small_plan.csv");
    plan.replace(plan.find("growing.csv"), 11, "gone.csv");
    std::ofstream(temp_.file("gone_plan.csv")) << plan;
    EXPECT_EQ(runBatch(folder(), {"--quiet", "--plan", "gone_plan.csv"}), 2);
    EXPECT_NE(read("stderr.txt").find("names the data file gone.csv"), std::string::npos);
    EXPECT_FALSE(exists("small_plan_results.csv"));
}

TEST_F(BatchRunnerTest, AStudyReportOfALogThatMakesNoStudyIsRefused) {
    EXPECT_EQ(runBatch(folder(), {"--study-report", "study.html", "--log", "none.csv"}), 2);
    EXPECT_NE(read("stderr.txt").find("cannot read the log none.csv"), std::string::npos);
    EXPECT_EQ(runBatch(folder(), {"--study-report", "study.html", "--log", "growing.csv"}), 2);
    EXPECT_NE(read("stderr.txt").find("it has no column \"Date\""), std::string::npos);
    EXPECT_FALSE(exists("study.html"));
    EXPECT_FALSE(exists("study"));
}

TEST_F(BatchRunnerTest, OneNumberRuleForOptionsAndSettings) {
    // Hex is a number for --set (the C library reads it), and so for --steps.
    ASSERT_EQ(runBatch(folder(), quick({"--steps", "0x10", "--set", "Layers_limit=0x2"})), 0);
    auto rows = rowsWithoutDates("_Quorvane_log.csv");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(splitFields(rows[0], ",")[26], "\"16\"");  // nRecords
    EXPECT_EQ(runBatch(folder(), {"--steps", "1.5"}), 2);
    EXPECT_EQ(runBatch(folder(), {"--help"}), 0);
    EXPECT_NE(read("stdout.txt").find("as the desktop's Start experiment"), std::string::npos);
}

}  // namespace
}  // namespace quorvane
