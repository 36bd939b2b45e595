// A written run report and a full report opened in a real browser (headless
// Chromium): every picture they refer to must load. With
// QUORVANE_REPORT_SCREENSHOTS=FOLDER the two pages are also photographed there.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "common/file_io.h"
#include "experiments/run_controller.h"
#include "model/theory.h"
#include "reports/report_full.h"
#include "reports/report_run.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"

namespace quorvane {
namespace {

std::string chromium() {
    for (const char* candidate : {"/usr/bin/chromium", "/usr/bin/chromium-browser"})
        if (isRegularFile(candidate)) return candidate;
    return {};
}

/// A page beside the report that loads it in a frame and counts the pictures
/// the browser could decode.
void writeCheckPage(const std::string& path, const std::string& report) {
    writeFileAtomically(
        path, "<html><body><iframe id='f' src='" + report +
                  "' width='1000' height='800'></iframe><pre id='out'>waiting</pre><script>\n"
                  "document.getElementById('f').onload = function() {\n"
                  "  var images = this.contentDocument.images, ok = 0;\n"
                  "  for (var i = 0; i < images.length; ++i)\n"
                  "    if (images[i].complete && images[i].naturalWidth > 0) ++ok;\n"
                  "  document.getElementById('out').textContent =\n"
                  "    'LOADED=' + ok + '/' + images.length + ';';\n"
                  "};\n</script></body></html>\n");
}

class ReportBrowserTest : public ::testing::Test {
  protected:
    void SetUp() override {
        browser_ = chromium();
        if (browser_.empty()) GTEST_SKIP() << "chromium is not installed";
        state_.paths.logPath = folder_.file("log.csv");
        state_.paths.currentDataPath = folder_.file("data.csv");
        state_.data.edgesRatio = 0.25;
        state_.data.verticesRatio = 0.05;
        computeTheoryQuietly(state_.data);
        RunSettings& run = state_.run;
        run.N_field_W = run.N_field_H = 40;
        run.Prob_in_at_step = 0.003;
        run.N_in_per_step = 0.003 * 1600;
        run.Is_layers_limit = run.Is_time_simulattion_limit = 0;
        state_.random.SeedForStart();
        RunController loop(state_, platform_);
        platform_.at(1999, [&] { loop.PressPauseResume(); });
        loop.StartNewSingleSimulation();
    }

    std::string browse(const std::string& page, const std::string& flags) {
        const std::string out = folder_.file("browser.txt");
        const std::string command = browser_ +
                                    " --headless --no-sandbox --disable-gpu --hide-scrollbars "
                                    "--allow-file-access-from-files --virtual-time-budget=5000 " +
                                    flags + " 'file://" + folder_.file(page) + "' > '" + out +
                                    "' 2>/dev/null";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return readWholeFile(out).value_or("");
    }
    void photograph(const std::string& page, const std::string& png, int height) {
        const char* folder = std::getenv("QUORVANE_REPORT_SCREENSHOTS");
        if (folder == nullptr) return;
        browse(page, "--window-size=1000," + std::to_string(height) +
                         " --screenshot=" + joinPath(folder, png));
    }

    std::string browser_;
    testing::TempFolder folder_;
    AppState state_;
    testing::ScriptedPlatform platform_;
};

TEST_F(ReportBrowserTest, EveryPictureOfBothReportsLoads) {
    ASSERT_TRUE(writeRunReport(state_, platform_, folder_.file("run 1.html")).written);
    ReportFields fields;
    ASSERT_TRUE(writeFullReport(state_, platform_, fields, folder_.file("full.html"), {}));
    EXPECT_TRUE(platform_.messages.empty());

    writeCheckPage(folder_.file("check_run.html"), "run 1.html");
    writeCheckPage(folder_.file("check_full.html"), "full.html");
    EXPECT_NE(browse("check_run.html", "--dump-dom").find("LOADED=4/4;"), std::string::npos);
    EXPECT_NE(browse("check_full.html", "--dump-dom").find("LOADED=7/7;"), std::string::npos);

    photograph("run 1.html", "run_report.png", 3000);
    photograph("full.html", "full_report.png", 4600);
}

}  // namespace
}  // namespace quorvane
