#include "experiments/regime_table.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "common/file_io.h"
#include "common/text.h"
#include "experiments/run_log.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"

namespace quorvane {
namespace {

class RegimeTableTest : public ::testing::Test {
  protected:
    std::string path(const std::string& name) const { return folder_.file(name); }

    /// A run of temperature T whose regime is `regime` with activation `activation`.
    static RunRecord runAt(double T, GrowthRegime regime, double activation) {
        RunRecord r;
        r.probIn = 0.01;
        r.fieldW = r.fieldH = 64;
        r.a = r.b = r.c = 0.6;
        r.T = T;
        r.dG = 0.5;
        r.Sm = 6;
        r.regime.regime = regime;
        r.regime.reason = RegimeReason::WeakActivation;
        r.regime.activation = activation;
        r.regime.rateParts = 0.25;
        return r;
    }

    /// Appends the run to the log and records its regime, as a finished run does.
    void logRun(const std::string& log, int event, const RunRecord& r) {
        ASSERT_TRUE(appendRunRecord(log, event, r, platform_));
        ASSERT_TRUE(recordRegime(log, r.regime));
    }

    /// The table's lines under its header, each split at its commas.
    std::vector<std::vector<std::string>> tableRows(const std::string& log) const {
        std::vector<std::vector<std::string>> rows;
        const std::string text = readWholeFile(regimeTablePath(log)).value_or("");
        std::size_t start = text.find('\n');
        while (start != std::string::npos && start + 1 < text.size()) {
            const std::size_t end = text.find('\n', start + 1);
            rows.push_back(splitFields(text.substr(start + 1, end - start - 1), ","));
            start = end;
        }
        return rows;
    }

    testing::TempFolder folder_;
    testing::ScriptedPlatform platform_;
};

TEST_F(RegimeTableTest, ItsPathHeaderAndRowRepeatTheLogsKeys) {
    EXPECT_EQ(regimeTablePath("study.csv"), "study_Quorvane_regimes.csv");
    EXPECT_EQ(regimeTablePath("/d/plan.csv.old.csv"), "/d/plan_Quorvane_regimes.csv");
    const std::string header = regimeTableHeader();
    EXPECT_EQ(header.rfind("log_row,Date,Event,Prob. be in,N horznt.,N vert.,a,b,c,T,Co,dG,Sm,", 0),
              0u);
    EXPECT_EQ(std::count(header.begin(), header.end(), ','), 24);

    const std::tm when = testing::ScriptedPlatform::makeTime(2011, 3, 3, 14, 5, 9);
    RunRecord r = runAt(1650, GrowthRegime::Nucleation, 1.9);
    r.Co = 0.4;
    r.Sedg = 0.25;
    r.Svrt = 0.05;
    r.regime.reason = RegimeReason::StrongActivation;
    const std::string row = regimeTableRow(7, runLogRow(3, r, when), r.regime);
    EXPECT_EQ(row,
              "7,03/03/11 14:05:09,3,0.01,64,64,0.6,0.6,0.6,1650,0.4,0.5,6,0.25,0.05,nucleation,"
              "strongly activated,1.9,0.25,0,0,0,0,0,0\n");
    EXPECT_EQ(std::count(row.begin(), row.end(), ','), 24);
}

TEST_F(RegimeTableTest, OneLinePerLoggedRowNumberedAsTheLog) {
    const std::string log = path("log.csv");
    EXPECT_FALSE(recordRegime(log, {}));  // no log, no row to name
    EXPECT_FALSE(folder_.exists("log_Quorvane_regimes.csv"));
    logRun(log, 3, runAt(1600, GrowthRegime::Continuous, 0.2));
    logRun(log, 3, runAt(1610, GrowthRegime::Intermediate, 0.9));
    logRun(log, 77, runAt(1620, GrowthRegime::Nucleation, 2.5));
    const auto rows = tableRows(log);
    ASSERT_EQ(rows.size(), 3u);
    for (std::size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i][0], std::to_string(i + 1));
    EXPECT_EQ(rows[2][2], "77");
    EXPECT_EQ(rows[2][9], "1620");
    EXPECT_EQ(rows[1][15], "intermediate");
    EXPECT_EQ(rows[0][17], "0.2");
    // A torn last line (an interrupted write) is cut before the next line goes in.
    ASSERT_TRUE(appendWhole(regimeTablePath(log), "4,03/03/11 14:0"));
    logRun(log, 3, runAt(1630, GrowthRegime::Continuous, 0.1));
    ASSERT_EQ(tableRows(log).size(), 4u);
    EXPECT_EQ(tableRows(log)[3][9], "1630");

    // A new log of the same name starts its table again.
    std::remove(log.c_str());
    logRun(log, 3, runAt(1700, GrowthRegime::Continuous, 0.1));
    ASSERT_EQ(tableRows(log).size(), 1u);
    EXPECT_EQ(tableRows(log)[0][0], "1");
}

TEST_F(RegimeTableTest, PartsJoinRenumberedAndGoMergedShardsStay) {
    const std::string log = path("study.csv");
    logRun(log, 3, runAt(1500, GrowthRegime::Continuous, 0.1));
    // Two parts of a study, of one and two rows, in the order they join.
    const std::string p0 = path("00000000.csv"), p1 = path("00000001.csv");
    logRun(p0, 77, runAt(1600, GrowthRegime::Nucleation, 2));
    logRun(p1, 3, runAt(1700, GrowthRegime::Intermediate, 1));
    logRun(p1, 77, runAt(1700, GrowthRegime::Intermediate, 1.1));
    std::string rows;
    for (const std::string& part : {p0, p1})
        rows += readWholeFile(part).value().substr(runLogHeader().size());
    ASSERT_TRUE(appendRunLogRows(log, rows, platform_));
    EXPECT_EQ(joinRegimeTables(log, {p0, p1}), "");
    auto joined = tableRows(log);
    ASSERT_EQ(joined.size(), 4u);
    const std::vector<std::string> numbers = {joined[1][0], joined[2][0], joined[3][0]};
    EXPECT_EQ(numbers, (std::vector<std::string>{"2", "3", "4"}));
    EXPECT_EQ(joined[1][9] + joined[2][9] + joined[3][2], "1600170077");
    EXPECT_FALSE(folder_.exists("00000000_Quorvane_regimes.csv"));
    EXPECT_FALSE(folder_.exists("00000001_Quorvane_regimes.csv"));

    // Merged shard logs: the table is written anew, the shards keep theirs.
    const std::string s0 = path("s0.csv"), s1 = path("s1.csv"), merged = path("merged.csv");
    logRun(s0, 3, runAt(1800, GrowthRegime::Continuous, 0.3));
    logRun(s1, 3, runAt(1900, GrowthRegime::Nucleation, 3));
    logRun(s1, 3, runAt(1950, GrowthRegime::Nucleation, 3.5));
    logRun(merged, 3, runAt(1000, GrowthRegime::Continuous, 0));  // an older merge
    std::string all = runLogHeader();
    for (const std::string& shard : {s0, s1})
        all += readWholeFile(shard).value().substr(runLogHeader().size());
    ASSERT_TRUE(writeFileAtomically(merged, all));
    EXPECT_EQ(joinRegimeTables(merged, {s0, s1}, true), "");
    const auto anew = tableRows(merged);
    ASSERT_EQ(anew.size(), 3u);
    EXPECT_EQ(anew[2][0] + anew[2][9], "31950");
    EXPECT_TRUE(folder_.exists("s1_Quorvane_regimes.csv"));
    EXPECT_NE(joinRegimeTables(path("missing.csv"), {s0}), "");
}

}  // namespace
}  // namespace quorvane
