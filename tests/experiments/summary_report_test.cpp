#include "experiments/summary_report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "common/file_io.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"

namespace quorvane {
namespace {

using testing::ScriptedPlatform;
using testing::TempFolder;

const std::vector<std::string> kLogNames{"Date",
                                         "Event",
                                         "Prob. be in",
                                         "Time step",
                                         "N horznt.",
                                         "N vert.",
                                         "a",
                                         "b",
                                         "c",
                                         "M",
                                         "d",
                                         "dH",
                                         "dHm",
                                         "Surf.energy",
                                         "Ea",
                                         "T",
                                         "Ta",
                                         "To",
                                         "Co",
                                         "Fr",
                                         "dG",
                                         "Sm",
                                         "Sedg",
                                         "Svrt",
                                         "Scbd",
                                         "Scbd1",
                                         "Vc",
                                         "nRecords",
                                         "Cur.Layer",
                                         "Sim.Time",
                                         "time",
                                         "distance",
                                         "Av.Rate",
                                         "Av.Rate as part cont.",
                                         "Time To Fill Layer",
                                         "aTimeToBeginFillLayer",
                                         "PartTimeToStartFillLayer",
                                         "Roughness",
                                         "Porosity",
                                         "isStableGrowthIsFound",
                                         "TypeOfGrowthMech"};

/// One log line in the log's own quoting: every cell quoted, commas between.
std::string quotedLine(const std::vector<std::string>& cells) {
    std::string line;
    for (size_t i = 0; i < cells.size(); ++i) {
        line += "\"" + cells[i] + "\"" + (i + 1 < cells.size() ? "," : "");
    }
    return line + "\n";
}

std::string header(const std::vector<std::string>& names = kLogNames) {
    std::vector<std::string> units(names.size(), "parts");
    units[0] = " ";
    units[15] = "K, grad";  // a unit with a comma inside its quotes
    return quotedLine(names) + quotedLine(units);
}

/// A data row of the log: every column 1 unless given.
std::string row(std::map<std::string, std::string> values) {
    std::vector<std::string> cells;
    for (const auto& name : kLogNames) {
        auto found = values.find(name);
        cells.push_back(found != values.end() ? found->second : "1");
    }
    cells[0] = "03/03/11 14:05:09";
    return quotedLine(cells);
}

std::string ordinary(int layers) {
    return row({{"Event", "2"}, {"Cur.Layer", std::to_string(layers)}, {"Porosity", "n/a"}});
}

std::string reduced(const std::string& porosity, const std::string& sm = "1") {
    return row({{"Event", "77"},
                {"Sedg", "0"},
                {"Svrt", "0"},
                {"Sm", sm},
                {"dG", "0.123456"},
                {"Av.Rate as part cont.", "0.25"},
                {"Roughness", "1.5"},
                {"Porosity", porosity}});
}

const std::string kHeaderLine = std::string(kSummaryHeader) + "\n";

struct SummaryTest : ::testing::Test {
    TempFolder folder;
    ScriptedPlatform platform;

    std::string np() {
        return readWholeFile(folder.file("log_Quorvane_summary_np.csv")).value_or("none");
    }
    std::string wp() {
        return readWholeFile(folder.file("log_Quorvane_summary_wp.csv")).value_or("none");
    }
};

TEST(SurfaceShares, UnitCube) {
    SurfaceShares s = surfaceShares(10, 10, 10, 1, 0, 0);
    EXPECT_DOUBLE_EQ(s.s1, 1.0 / 6);
    EXPECT_DOUBLE_EQ(s.sf, 1.0 / 6);
    EXPECT_DOUBLE_EQ(s.s11, 1.0 / 6);
    EXPECT_DOUBLE_EQ(s.sw, 5.0 / 6);
    EXPECT_DOUBLE_EQ(s.s2, 1.0 / 3);
}

TEST_F(SummaryTest, UnitCubeLineInEachFile) {
    std::string log = folder.write(
        "log.csv", header() + ordinary(7) + reduced("n/a") + ordinary(9) + reduced("0.125"));
    createSummaryReports(log, platform);
    EXPECT_TRUE(platform.messages.empty());
    std::string cube =
        "10,10,10,1,1,1,0,0,0.166667,0.166667,0.166667,0.833333,0.333333,"
        "0.666667,0.666667,0.666667,-0.666667,0.333333,0.123,1,0.25,1.5,";
    EXPECT_EQ(np(), kHeaderLine + cube + "na,7\n");
    EXPECT_EQ(wp(), kHeaderLine + cube + "0.125,9\n");
}

TEST_F(SummaryTest, OnlyAReducedRowAfterAnOrdinaryOneIsSummarised) {
    std::string log =
        folder.write("log.csv", header() + ordinary(3) + ordinary(4) + reduced("n/a", "2") +
                                    reduced("n/a", "3") + reduced("n/a", "4") + ordinary(6) +
                                    reduced("n/a", "5"));
    createSummaryReports(log, platform);
    // Reduced rows that follow a reduced row count as ordinary ones.
    std::string lines = np().substr(kHeaderLine.size());
    ASSERT_EQ(std::count(lines.begin(), lines.end(), '\n'), 2);
    EXPECT_NE(lines.find(",0.123,2,0.25,1.5,na,4\n"), std::string::npos);
    EXPECT_NE(lines.find(",0.123,5,0.25,1.5,na,6\n"), std::string::npos);
    EXPECT_EQ(wp(), kHeaderLine);
}

TEST_F(SummaryTest, OrdinaryRowsOnlyGiveHeadersAndShortRowsAreSkipped) {
    std::string cut = "\"03/03/11 14:05:09\",\"77\",\"0.001\"\n";
    std::string longRow = row({{"Event", "2"}, {"M", std::string(100000, '9')}});
    std::string log = folder.write("log.csv", header() + ordinary(2) + cut + longRow + "ab\n");
    createSummaryReports(log, platform);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(np(), kHeaderLine);
    EXPECT_EQ(wp(), kHeaderLine);
}

TEST_F(SummaryTest, BrokenLogsGetTheirMessagesAndKeepEarlierSummaries) {
    std::string log = folder.write("log.csv", header() + ordinary(2) + reduced("n/a"));
    createSummaryReports(log, platform);
    std::string earlier = np();

    std::vector<std::string> noVertices = kLogNames;
    noVertices.erase(noVertices.begin() + 23);
    folder.write("log.csv", header(noVertices) + ordinary(2));
    createSummaryReports(log, platform);
    folder.write("log.csv",
                 "\"Event\",\"a\",\"b\",\"c\",\"Sedg\",\"Svrt\",\"dG\",\"Sm\","
                 "\"Av.Rate as part cont.\",\"Roughness\",\"Porosity\",\"Cur.Layer\"\n");
    createSummaryReports(log, platform);
    folder.write("log.csv", "");
    createSummaryReports(log, platform);
    std::string badHeader = "Mistake in reading header of report file.";
    EXPECT_EQ(platform.messages,
              (std::vector<std::string>{badHeader, badHeader, "Mistake if report file.",
                                        "Mistake if report file.", badHeader, badHeader}));
    EXPECT_EQ(np(), earlier);

    platform.messages.clear();
    createSummaryReports(folder.file("absent.csv"), platform);
    EXPECT_TRUE(platform.messages.empty());

    folder.write("log.csv", header() + ordinary(2) + reduced("n/a"));
    std::filesystem::remove(folder.file("log_Quorvane_summary_wp.csv"));
    std::filesystem::create_directory(folder.file("log_Quorvane_summary_wp.csv"));
    createSummaryReports(log, platform);
    EXPECT_EQ(platform.messages, (std::vector<std::string>{"Mistake in creating summary file."}));
    EXPECT_EQ(np(), earlier);
}

}  // namespace
}  // namespace quorvane
