// The table of growth regimes beside a study's log, however the study was run.

#include <gtest/gtest.h>

#include "batch_fixture.h"
#include "experiments/regime_table.h"

namespace quorvane {
namespace {

/// Each line of the table of `log` must name one row of the log, in order, by its
/// number and its date and event cells.
void expectOneLinePerRow(const std::string& folder, const std::string& log) {
    const std::string logText = readWholeFile(folder + "/" + log).value_or("");
    const std::string table = readWholeFile(regimeTablePath(folder + "/" + log)).value_or("");
    std::istringstream logLines(logText), tableLines(table);
    std::string row, line;
    ASSERT_TRUE(readLine(logLines, row) && readLine(logLines, row));  // the log's header
    ASSERT_TRUE(readLine(tableLines, line));
    EXPECT_EQ(line + "\n", regimeTableHeader());
    int n = 0;
    while (readLine(logLines, row)) {
        ++n;
        ASSERT_TRUE(readLine(tableLines, line)) << log << ": no line for row " << n;
        const auto cells = splitFields(row, "\"");  // date, event, ... between the quotes
        const auto keys = splitFields(line, ",");
        EXPECT_EQ(keys[0], std::to_string(n)) << log;
        EXPECT_EQ(keys[1], cells[0]) << log << " row " << n;
        EXPECT_EQ(keys[2], cells[2]) << log << " row " << n;
        EXPECT_NE(keys[15], "") << log << " row " << n;
    }
    EXPECT_GT(n, 0);
    EXPECT_FALSE(readLine(tableLines, line)) << log << ": a line too many";
}

TEST_F(BatchRunnerTest, RegimeTablesFollowTheLogThroughJobsShardsAndSeries) {
    ASSERT_EQ(
        runBatch(folder(), quick({"--plan", "small_plan.csv", "--log", "jobs.csv", "--jobs", "2"})),
        0);
    expectOneLinePerRow(folder(), "jobs.csv");
    EXPECT_FALSE(exists("jobs_Quorvane_parts"));

    for (const char* k : {"0/2", "1/2"})
        ASSERT_EQ(runBatch(folder(), quick({"--plan", "small_plan.csv", "--shard", k, "--log",
                                            std::string("s") + k[0] + ".csv"})),
                  0);
    ASSERT_EQ(runBatch(folder(), {"merge", "merged.csv", "s0.csv", "s1.csv"}), 0);
    expectOneLinePerRow(folder(), "s1.csv");
    expectOneLinePerRow(folder(), "merged.csv");

    // A full run's series over the workers: its runs and the reduced row.
    ASSERT_EQ(runBatch(folder(), quick({"--data", "growing.csv", "--full", "--log", "full.csv",
                                        "--jobs", "2"})),
              0);
    expectOneLinePerRow(folder(), "full.csv");
    EXPECT_FALSE(exists("full_Quorvane_parts"));
}

}  // namespace
}  // namespace quorvane
