#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/file_io.h"
#include "common/text.h"
#include "support/temp_folder.h"

namespace quorvane {
namespace {

namespace fs = std::filesystem;

class TempDir : public ::testing::Test {
  protected:
    std::string path(const std::string& name) const { return folder_.file(name); }
    testing::TempFolder folder_;
    fs::path dir_ = folder_.path();
};

TEST(Text, SplitsLikeStrtokAndTrimsBlanks) {
    EXPECT_EQ(splitFields("a,,b, c\n", ",\n"), (std::vector<std::string>{"a", "b", " c"}));
    EXPECT_TRUE(splitFields(",,,", ",").empty());
    EXPECT_EQ(trimBlanks("  Size_A \t"), "Size_A");
    EXPECT_EQ(trimBlanks("   "), "");
    EXPECT_EQ(prefixBefore("plan.csv.csv", ".csv"), "plan");
    EXPECT_EQ(prefixBefore("plan", ".csv"), "plan");
}

TEST(Text, ReadsLinesOfAnyLengthWithoutLineEnds) {
    std::string longLine(100000, 'q');
    std::istringstream in("first\r\n" + longLine + "\nlast");
    std::string line;
    ASSERT_TRUE(readLine(in, line));
    EXPECT_EQ(line, "first");
    ASSERT_TRUE(readLine(in, line));
    EXPECT_EQ(line.size(), longLine.size());
    ASSERT_TRUE(readLine(in, line));
    EXPECT_EQ(line, "last");
    EXPECT_FALSE(readLine(in, line));
}

TEST_F(TempDir, AtomicWriteReplacesWholeOrKeepsTheOld) {
    std::string file = path("data.csv");
    ASSERT_TRUE(writeFileAtomically(file, "old\n"));
    ASSERT_TRUE(writeFileAtomically(file, "new\n"));
    EXPECT_EQ(readWholeFile(file).value(), "new\n");
    // A folder cannot be written over, and nothing is left beside it.
    EXPECT_FALSE(writeFileAtomically(dir_.string(), "x"));
    EXPECT_FALSE(writeFileAtomically(path("missing/dir/file.csv"), "x"));
    int entries = 0;
    for ([[maybe_unused]] auto& entry : fs::directory_iterator(dir_)) ++entries;
    EXPECT_EQ(entries, 1);
}

TEST_F(TempDir, WritingThroughALinkUpdatesItsTarget) {
    fs::create_directories(dir_ / "real");
    ASSERT_TRUE(writeFileAtomically(path("real/plan.csv"), "old\n"));
    fs::create_symlink("real/plan.csv", dir_ / "plan.csv");     // relative, as users make them
    fs::create_symlink(dir_ / "plan.csv", dir_ / "again.csv");  // a link to a link
    ASSERT_TRUE(writeFileAtomically(path("again.csv"), "new\n"));
    EXPECT_TRUE(fs::is_symlink(dir_ / "plan.csv"));
    EXPECT_TRUE(fs::is_symlink(dir_ / "again.csv"));
    EXPECT_EQ(readWholeFile(path("real/plan.csv")).value(), "new\n");
    // A link to a file not yet there creates the file.
    fs::create_symlink("real/record.csv", dir_ / "record.csv");
    ASSERT_TRUE(writeFileAtomically(path("record.csv"), "r\n"));
    EXPECT_TRUE(fs::is_symlink(dir_ / "record.csv"));
    EXPECT_EQ(readWholeFile(path("real/record.csv")).value(), "r\n");
}

TEST_F(TempDir, TailAndCut) {
    std::string file = path("log.csv");
    ASSERT_TRUE(appendWhole(file, "head\nrow\ntorn"));
    EXPECT_EQ(readTail(file, 6).value(), "w\ntorn");
    EXPECT_EQ(readTail(file, 100).value(), "head\nrow\ntorn");
    EXPECT_TRUE(cutFileBy(file, 4));
    EXPECT_EQ(readWholeFile(file).value(), "head\nrow\n");
    EXPECT_FALSE(cutFileBy(file, 100));
    EXPECT_FALSE(readTail(path("missing.csv"), 10).has_value());
}

TEST_F(TempDir, AppendAddsWholeRowsAndRefusesFolders) {
    std::string file = path("log.csv");
    ASSERT_TRUE(appendWhole(file, "one\n"));
    ASSERT_TRUE(appendWhole(file, "two\n"));
    EXPECT_EQ(readWholeFile(file).value(), "one\ntwo\n");
    EXPECT_FALSE(appendWhole(dir_.string(), "x"));
    EXPECT_FALSE(readWholeFile(dir_.string()).has_value());
    EXPECT_FALSE(readWholeFile(path("absent")).has_value());
    std::string longName(300, 'n');
    EXPECT_TRUE(appendWhole(path(longName.substr(0, 200) + ".csv"), "x\n"));
}

}  // namespace
}  // namespace quorvane
