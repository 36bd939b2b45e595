#include "experiments/run_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/file_io.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"

namespace quorvane {
namespace {

namespace fs = std::filesystem;

class RunLogTest : public ::testing::Test {
  protected:
    std::string path(const std::string& name) const { return folder_.file(name); }

    static RunRecord sampleRecord() {
        RunRecord r;
        r.probIn = 0.000217;
        r.timeStep = 1.5e-9;
        r.fieldW = 160;
        r.fieldH = 150;
        r.a = r.b = r.c = 0.6;
        r.M = 300;
        r.T = 1600;
        r.Ta = 1800;
        r.To = 1700;
        r.dG = 0.0884;
        r.Sm = 11.73;
        r.nRecords = 1200;
        r.curLayer = 3;
        r.simTime = 0;
        r.time = 2.5e-6;
        r.distance = 3.25;
        r.avRatePercent = 12.5;
        r.roughness = 0.75;
        r.porous = false;
        r.mechanism = 2;
        return r;
    }

    testing::TempFolder folder_;
    testing::ScriptedPlatform platform_;
};

TEST_F(RunLogTest, HeaderLinesAreExact) {
    std::string header = runLogHeader();
    auto split = header.find('\n');
    std::string names = header.substr(0, split);
    std::string units = header.substr(split + 1);
    EXPECT_EQ(names.substr(0, 24), "\"Date\",\"Event\",\"Prob. be");
    EXPECT_EQ(names.substr(names.size() - 19), ",\"TypeOfGrowthMech\"");
    EXPECT_EQ(units.substr(0, 21), "\" \",\"integer\",\"parts\"");
    EXPECT_EQ(units.substr(units.size() - 9), ",\"code\",\n");
    EXPECT_EQ(std::count(names.begin(), names.end(), ','), 40);
    // Three units ("K, grad") hold a comma of their own.
    EXPECT_EQ(std::count(units.begin(), units.end(), ','), 44);
}

TEST_F(RunLogTest, RowHasDateFormatsAndNaPorosity) {
    std::tm when = testing::ScriptedPlatform::makeTime(2011, 3, 3, 14, 5, 9);
    std::string row = runLogRow(3, sampleRecord(), when);
    EXPECT_EQ(row,
              "\"03/03/11 14:05:09\",\"3\",\"0.000217\",\"1.5e-09\",\"160\",\"150\",\"0.6\","
              "\"0.6\",\"0.6\",\"300\",\"0\",\"0\",\"0\",\"0\",\"0\",\"1600\",\"1800\",\"1700\","
              "\"0\",\"0\",\"0.0884\",\"11.73\",\"0\",\"0\",\"0\",\"0\",\"0\",\"1200\",\"3\","
              "\"0\",\"2.5e-06\",\"3.25\",\"0\",\"0.125\",\"0\",\"0\",\"0\",\"0.75\",\"n/a\","
              "\"0\",\"2\"\n");
    RunRecord porous = sampleRecord();
    porous.porous = true;
    porous.porosity = 0.0625;
    EXPECT_NE(runLogRow(77, porous, when).find(",\"0.75\",\"0.0625\",\"0\",\"2\"\n"),
              std::string::npos);
}

TEST_F(RunLogTest, NewOrEmptyFileGetsTheHeaderOnce) {
    std::string log = path("log.csv");
    ASSERT_TRUE(appendRunRecord(log, 0, sampleRecord(), platform_));
    std::string text = readWholeFile(log).value();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3);
    ASSERT_TRUE(appendRunRecord(log, 10, sampleRecord(), platform_));
    text = readWholeFile(log).value();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4);
    EXPECT_EQ(text.find(runLogHeader()), 0u);
    EXPECT_EQ(text.find(runLogHeader(), 1), std::string::npos);

    std::string empty = path("empty.csv");
    std::ofstream(empty).close();
    ASSERT_TRUE(appendRunRecord(empty, 1, sampleRecord(), platform_));
    EXPECT_EQ(readWholeFile(empty).value().find(runLogHeader()), 0u);
    EXPECT_TRUE(platform_.questions.empty());
}

TEST_F(RunLogTest, UnwritableLogAsksToRetryAtMostFourAttempts) {
    // A folder in place of the file can never be opened for appending.
    std::string blocked = path("blocked.csv");
    fs::create_directories(blocked);
    platform_.retryAnswers = {true, true, true, true, true};
    EXPECT_FALSE(appendRunRecord(blocked, 3, sampleRecord(), platform_));
    ASSERT_EQ(platform_.questions.size(), 3u);
    EXPECT_EQ(platform_.questions[0],
              "Result of simulation cannot be saved.\nClose corresponding file and try press "
              "'Retry' button.");

    platform_.questions.clear();
    platform_.retryAnswers.clear();  // Cancel
    EXPECT_FALSE(appendRunRecord(blocked, 3, sampleRecord(), platform_));
    EXPECT_EQ(platform_.questions.size(), 1u);
}

TEST_F(RunLogTest, ATornLastRowIsCutOffAndAWholeOneKept) {
    const std::string row = runLogRow(3, sampleRecord(), platform_.localTime);
    std::string log = path("torn.csv");
    std::ofstream(log, std::ios::binary) << runLogHeader() << row << row.substr(0, 57);
    ASSERT_TRUE(appendRunRecord(log, 0, sampleRecord(), platform_));
    EXPECT_EQ(readWholeFile(log).value(),
              runLogHeader() + row + runLogRow(0, sampleRecord(), platform_.localTime));
    ASSERT_EQ(platform_.messages.size(), 1u);
    EXPECT_NE(platform_.messages[0].find("incomplete row (57 characters"), std::string::npos);

    // A whole row without its line end (saved by another program) loses nothing.
    std::string whole = path("whole.csv");
    std::ofstream(whole, std::ios::binary) << runLogHeader() << row.substr(0, row.size() - 1);
    ASSERT_TRUE(appendRunRecord(whole, 3, sampleRecord(), platform_));
    EXPECT_EQ(readWholeFile(whole).value(), runLogHeader() + row + row);
    // A torn header line is cut and the header written again.
    std::string header = path("header.csv");
    std::ofstream(header, std::ios::binary) << "\"Date\",\"Ev";
    ASSERT_TRUE(appendRunRecord(header, 3, sampleRecord(), platform_));
    EXPECT_EQ(readWholeFile(header).value(), runLogHeader() + row);
    EXPECT_EQ(platform_.messages.size(), 2u);
}

}  // namespace
}  // namespace quorvane
