// The batch runner's reports, as a cluster job writes them: a separate
// process without a display; whole or not at all on a full disk, never into
// the folder they stand in, beside the page a link names.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
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
    /// `fileSizeLimit` >= 0 caps every file written (a full disk fails the same writes).
    int run(std::vector<std::string> extra, long fileSizeLimit = -1) {
        std::vector<std::string> args = {"--quiet",      "--data",       "growing.csv",
                                         "--set",        "N_field_W=16", "--set",
                                         "N_field_H=16", "--set",        "Layers_limit=2"};
        args.insert(args.end(), extra.begin(), extra.end());
        return testing::runBatch(folder_.path(), args, fileSizeLimit);
    }
    std::string read(const std::string& name) const {
        return readWholeFile(folder_.file(name)).value_or("");
    }
    bool has(const std::string& name, const std::string& part) const {
        return read(name).find(part) != std::string::npos;
    }
    /// Every file under `sub` with its bytes.
    std::map<std::string, std::string> files(const std::string& sub) const {
        std::map<std::string, std::string> out;
        for (const auto& entry : fs::recursive_directory_iterator(folder_.file(sub)))
            out[entry.path().string()] = readWholeFile(entry.path().string()).value_or("dir");
        return out;
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
    // Keys side by side are each filled once, in one pass.
    writeFileAtomically(folder_.file("mine.html"), "<p>A = _a| _size_u|_etf|_etf|</p>\n");
    ASSERT_EQ(run({"--no-run", "--full-report", "out.html", "--template", "mine.html"}), 0);
    EXPECT_EQ(read("out.html"), "<p>A = 6\n A0.250.25</p>\n\n");
}

TEST_F(ReportBatchTest, AFailedReportLeavesTheEarlierOneWholeAndGivesStatusOne) {
    fs::create_directories(folder_.file("out/r"));
    fs::create_directories(folder_.file("out/f_img"));
    for (const char* name : {"r.html", "r/view.jpg", "f.html", "f_img/molecule.jpg"})
        writeFileAtomically(folder_.file(std::string("out/") + name), "earlier");
    // A template far larger than any picture: the pictures fit under the second
    // limit, the page does not, so that failure comes after every picture.
    std::ofstream(folder_.file("big.html")) << std::string(300000, 'x') << "\n_a|\n";
    const auto before = files("out");
    EXPECT_EQ(run({"--report", "out/r.html", "--full-report", "out/f.html"}, 3000), 1);
    EXPECT_TRUE(has("stderr.txt", "out/r.html could not be written whole"));
    EXPECT_EQ(files("out"), before);  // no page, picture or stray file changed
    EXPECT_EQ(run({"--full-report", "out/f.html", "--template", "big.html"}, 120000), 1);
    EXPECT_TRUE(has("stderr.txt", "out/f.html could not be written whole"));
    EXPECT_EQ(files("out"), before);
    // Room again: both are replaced whole, pictures and page.
    ASSERT_EQ(run({"--report", "out/r.html", "--full-report", "out/f.html"}), 0);
    EXPECT_TRUE(has("out/r.html", "src='r/view.jpg'"));
    EXPECT_EQ(read("out/r/view.jpg").substr(0, 2), "\xFF\xD8");  // a JPEG now
    EXPECT_EQ(read("out/f_img/molecule.jpg").substr(0, 2), "\xFF\xD8");
}

TEST_F(ReportBatchTest, ANamelessReportIsRefusedAndALinkGetsItsPicturesBesideItsTarget) {
    fs::create_directories(folder_.file("d"));
    for (const char* name : {".html", "d/.html", "..html", "d/...html"}) {
        EXPECT_EQ(run({"--no-run", "--report", name, "--full-report", "d/f.html"}), 2) << name;
        EXPECT_TRUE(has("stderr.txt", "the report file needs a name before .html")) << name;
    }
    EXPECT_TRUE(fs::is_empty(folder_.file("d")));
    // Through links into another folder: the page a link names is written, the
    // link stays, the pictures lie beside that page; two names of one page are refused.
    fs::create_directories(folder_.file("elsewhere"));
    writeFileAtomically(folder_.file("elsewhere/real.html"), "earlier");
    fs::create_symlink("elsewhere/real.html", folder_.file("link.html"));
    fs::create_symlink("real.html", folder_.file("elsewhere/full.html"));
    fs::create_symlink("elsewhere/full.html", folder_.file("full.html"));
    EXPECT_EQ(run({"--report", "link.html", "--full-report", "full.html"}), 2);
    ASSERT_EQ(run({"--report", "link.html"}), 0) << read("stderr.txt");
    EXPECT_TRUE(fs::is_symlink(folder_.file("link.html")));
    EXPECT_TRUE(has("elsewhere/real.html", "src='real/view.jpg'"));
    EXPECT_TRUE(fs::exists(folder_.file("elsewhere/real/view.jpg")));
    ASSERT_EQ(run({"--no-run", "--full-report", "full.html"}), 0) << read("stderr.txt");
    EXPECT_TRUE(fs::exists(folder_.file("elsewhere/real_img/molecule.jpg")));
}

}  // namespace
}  // namespace quorvane
