// The batch runner's reports against what can go wrong: a full disk or a
// file-size limit, names that leave no picture folder, symbolic links, an
// earlier report of the same name, and data texts that must never reach a page.

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/statvfs.h>

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

class ReportFaultsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::copy_file(fs::path(QUORVANE_SOURCE_DIR) / "examples" / "growing.csv",
                      folder_.file("growing.csv"));
    }
    int run(std::vector<std::string> extra, long fileSizeLimit = -1) {
        std::vector<std::string> args = {"--quiet",      "--data",       "growing.csv",
                                         "--set",        "N_field_W=16", "--set",
                                         "N_field_H=16", "--set",        "Layers_limit=2"};
        args.insert(args.end(), extra.begin(), extra.end());
        return testing::runBatch(folder_.path(), args, fileSizeLimit);
    }
    std::string read(const std::string& name) const { return folder_.read(name); }
    bool has(const std::string& name, const std::string& part) const {
        return read(name).find(part) != std::string::npos;
    }
    /// Every file under `sub` with its bytes.
    std::map<std::string, std::string> files(const std::string& sub) const {
        std::map<std::string, std::string> out;
        for (const auto& entry : fs::recursive_directory_iterator(folder_.file(sub)))
            if (entry.is_regular_file())
                out[entry.path().string()] = readWholeFile(entry.path().string()).value_or("");
        return out;
    }
    /// An earlier report of both kinds, its page and one picture each marked.
    void earlierReports(const std::string& dir) {
        fs::create_directories(folder_.file(dir + "/r"));
        fs::create_directories(folder_.file(dir + "/f_img"));
        folder_.write(dir + "/r.html", "earlier run report");
        folder_.write(dir + "/r/view.jpg", "earlier surface");
        folder_.write(dir + "/f.html", "earlier full report");
        folder_.write(dir + "/f_img/molecule.jpg", "earlier molecule");
    }
    testing::TempFolder folder_;
};

TEST_F(ReportFaultsTest, AFailedReportLeavesTheEarlierOneWholeAndGivesStatusOne) {
    earlierReports("out");
    // A template far larger than any picture: the pictures fit under the limit,
    // the page does not, so the failure comes after every picture was written.
    std::ofstream(folder_.file("big.html")) << std::string(300000, 'x') << "\n_a|\n";
    const auto before = files("out");
    EXPECT_EQ(run({"--report", "out/r.html", "--full-report", "out/f.html"}, 3000), 1);
    EXPECT_TRUE(has("stderr.txt", "out/r.html could not be written whole"));
    EXPECT_TRUE(has("stderr.txt", "out/f.html could not be written whole"));
    EXPECT_EQ(files("out"), before);  // no page, picture or stray file changed
    EXPECT_EQ(run({"--full-report", "out/f.html", "--template", "big.html"}, 120000), 1);
    EXPECT_TRUE(has("stderr.txt", "out/f.html could not be written whole"));
    EXPECT_EQ(files("out"), before);
    // Room again: both are replaced whole, pictures and page.
    ASSERT_EQ(run({"--report", "out/r.html", "--full-report", "out/f.html"}), 0)
        << read("stderr.txt");
    EXPECT_TRUE(has("out/r.html", "src='r/view.jpg'"));
    EXPECT_TRUE(has("out/f.html", "src=\"f_img/molecule.jpg\""));
    EXPECT_EQ(read("out/r/view.jpg").substr(0, 2), "\xFF\xD8");  // a JPEG now
    EXPECT_EQ(read("out/f_img/molecule.jpg").substr(0, 2), "\xFF\xD8");
}

TEST_F(ReportFaultsTest, AFullFileSystemLeavesTheEarlierReport) {
    const std::string disk = folder_.file("disk");
    fs::create_directories(disk);
    if (::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=256k") != 0)
        GTEST_SKIP() << "no tmpfs can be mounted here";
    earlierReports("disk");
    struct statvfs info {};
    ASSERT_EQ(::statvfs(disk.c_str(), &info), 0);
    // All the room but 12 pages: a picture fits, not all.
    std::ofstream(disk + "/filler") << std::string((info.f_bavail - 12) * info.f_bsize, 'x');
    const auto before = files("disk");
    EXPECT_EQ(run({"--report", "disk/r.html", "--full-report", "disk/f.html"}), 1);
    EXPECT_EQ(files("disk"), before);
    ::umount2(disk.c_str(), MNT_DETACH);
}

TEST_F(ReportFaultsTest, ANamelessReportIsRefusedAndALinkGetsItsPicturesBesideItsTarget) {
    fs::create_directories(folder_.file("d"));
    for (const char* name : {".html", "d/.html", "..html", "d/...html"}) {
        EXPECT_EQ(run({"--no-run", "--report", name}), 2) << name;
        EXPECT_TRUE(has("stderr.txt", "the report file needs a name before .html")) << name;
        EXPECT_EQ(run({"--no-run", "--full-report", name}), 2) << name;
    }
    EXPECT_TRUE(fs::is_empty(folder_.file("d")));
    EXPECT_FALSE(fs::exists(folder_.file("probabilities.jpg")));

    // Written through a link into another folder: the page the link names is
    // updated, the link stays, and its pictures lie beside that page.
    fs::create_directories(folder_.file("elsewhere"));
    folder_.write("elsewhere/real.html", "earlier");
    fs::create_symlink("elsewhere/real.html", folder_.file("link.html"));
    fs::create_symlink("elsewhere/real.html", folder_.file("full.html"));
    ASSERT_EQ(run({"--report", "link.html"}), 0) << read("stderr.txt");
    EXPECT_TRUE(fs::is_symlink(folder_.file("link.html")));
    EXPECT_TRUE(has("elsewhere/real.html", "src='real/view.jpg'"));
    EXPECT_TRUE(fs::exists(folder_.file("elsewhere/real/view.jpg")));
    EXPECT_FALSE(fs::exists(folder_.file("link")));
    ASSERT_EQ(run({"--no-run", "--full-report", "full.html"}), 0) << read("stderr.txt");
    EXPECT_TRUE(has("elsewhere/real.html", "src=\"real_img/molecule.jpg\""));
    EXPECT_TRUE(fs::exists(folder_.file("elsewhere/real_img/molecule.jpg")));
}

TEST_F(ReportFaultsTest, DataTextsNeverReachAPageAsMarkupOrPlaceholders) {
    const std::string data = read("growing.csv");
    const std::string line = "Parts_of_surface_for_edges,0.25";
    ASSERT_NE(data.find(line), std::string::npos);
    for (const std::string hostile :
         {"<script>alert(1)</script>", "_etf|_etf|", "0.3abc", "-1", "nan", "abc"}) {
        std::string changed = data;
        changed.replace(changed.find(line), line.size(), "Parts_of_surface_for_edges," + hostile);
        folder_.write("hostile.csv", changed);
        EXPECT_EQ(
            testing::runBatch(folder_.path(), {"--quiet", "--data", "hostile.csv", "--full-report",
                                               "f.html", "--report", "r.html"}),
            2)
            << hostile;
        EXPECT_TRUE(has("stderr.txt", "Parts_of_surface_for_edges: \"" + hostile + "\""))
            << hostile;
        EXPECT_FALSE(fs::exists(folder_.file("f.html")));
        EXPECT_FALSE(fs::exists(folder_.file("_Quorvane_log.csv")));
    }
    // A template that names a key twice, side by side, gets each value once.
    folder_.write("t.html", "<p>_etf|_etf|_vtf|</p>\n");
    ASSERT_EQ(run({"--no-run", "--full-report", "f.html", "--template", "t.html"}), 0);
    EXPECT_EQ(read("f.html"), "<p>0.250.250.05</p>\n\n");
}

}  // namespace
}  // namespace quorvane
