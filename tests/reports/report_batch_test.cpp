// The batch runner's reports, as a cluster job writes them: a separate
// process without a display.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "../batch/batch_process.h"
#include "common/file_io.h"
#include "support/temp_folder.h"

namespace quorvane {
namespace {

namespace fs = std::filesystem;

class ReportBatchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::copy_file(fs::path(QUORVANE_SOURCE_DIR) / "examples" / "growing.csv",
                      folder_.file("growing.csv"));
    }
    int run(std::vector<std::string> extra) {
        std::vector<std::string> args = {"--quiet",      "--data",       "growing.csv",
                                         "--set",        "N_field_W=16", "--set",
                                         "N_field_H=16", "--set",        "Layers_limit=2"};
        args.insert(args.end(), extra.begin(), extra.end());
        return testing::runBatch(folder_.path(), args);
    }
    std::string read(const std::string& name) const {
        return readWholeFile(folder_.file(name)).value_or("");
    }
    testing::TempFolder folder_;
};

TEST_F(ReportBatchTest, RunReportAndFullReportBesideTheLog) {
    // No display, whatever the environment says.
    unsetenv("DISPLAY");
    ASSERT_EQ(run({"--report", "run1.html", "--full-report", "full.html"}), 0)
        << read("stderr.txt");
    const std::string page = read("run1.html");
    EXPECT_NE(page.find("<title>growing.csv</title>"), std::string::npos);
    EXPECT_NE(page.find("<tr><td>Number of steps</td>"), std::string::npos);
    EXPECT_NE(page.find("src='run1/view.jpg'"), std::string::npos);
    EXPECT_TRUE(isRegularFile(folder_.file("run1/results.jpg")));
    EXPECT_TRUE(isRegularFile(folder_.file("full_img/shapes_of_gr_crystal.jpg")));
    EXPECT_NE(read("full.html").find("src=\"full_img/molecule.jpg\""), std::string::npos);
    EXPECT_FALSE(read("_Quorvane_log.csv").empty());

    // A second full report to the same place replaces the earlier one, as a run report does.
    writeFileAtomically(folder_.file("full.html"), "earlier");
    EXPECT_EQ(run({"--no-run", "--full-report", "full.html"}), 0);
    EXPECT_NE(read("full.html").find("src=\"full_img/molecule.jpg\""), std::string::npos);
}

TEST_F(ReportBatchTest, RefusedBeforeAnythingRuns) {
    EXPECT_EQ(run({"--report", "run1.htm"}), 2);
    EXPECT_NE(read("stderr.txt").find("Wrong file extention, must be html"), std::string::npos);
    EXPECT_EQ(run({"--report", "missing/run1.html"}), 2);
    EXPECT_EQ(run({"--full-report", "full.html", "--template", "none.html"}), 2);
    EXPECT_EQ(run({"--template", "growing.csv"}), 2);
    EXPECT_EQ(run({"--report"}), 2);
    EXPECT_FALSE(fs::exists(folder_.file("_Quorvane_log.csv")));
    EXPECT_FALSE(fs::exists(folder_.file("run1")));
}

TEST_F(ReportBatchTest, FullReportFromTheUsersTemplate) {
    writeFileAtomically(folder_.file("mine.html"), "<p>A = _a| _size_u|</p>\n");
    ASSERT_EQ(run({"--no-run", "--full-report", "out.html", "--template", "mine.html"}), 0);
    EXPECT_EQ(read("out.html"), "<p>A = 6\n A</p>\n\n");
}

}  // namespace
}  // namespace quorvane
