// A small plan (sigma' and dG', two values each) run twice by quorvane-batch
// with --jobs 2, its study report made from the joined log and opened in
// headless Chromium: every picture loads, as PNG and as SVG, and the numbers
// of the rate chart are the log's own.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "common/cformat.h"
#include "common/file_io.h"
#include "common/text.h"
#include "support/temp_folder.h"

namespace quorvane {
namespace {

namespace fs = std::filesystem;

std::string chromium() {
    for (const char* candidate : {"/usr/bin/chromium", "/usr/bin/chromium-browser"})
        if (isRegularFile(candidate)) return candidate;
    return {};
}

/// A page that opens the report in a frame and counts the pictures the browser
/// decoded: the page's own, then every SVG it links to, loaded one by one.
std::string checkPage(const std::string& report) {
    return "<html><body><iframe id='f' src='" + report +
           "' width='1200' height='900'></iframe><pre id='out'>waiting</pre><script>\n"
           "document.getElementById('f').onload = function() {\n"
           "  var d = this.contentDocument, images = d.images, ok = 0, svg = 0, done = 0;\n"
           "  for (var i = 0; i < images.length; ++i)\n"
           "    if (images[i].complete && images[i].naturalWidth > 0) ++ok;\n"
           "  var links = d.querySelectorAll('a[href$=\".svg\"]');\n"
           "  var say = function() { document.getElementById('out').textContent =\n"
           "    'LOADED=' + ok + '/' + images.length + ';SVG=' + svg + '/' + links.length + ';'; "
           "};\n"
           "  if (links.length == 0) say();\n"
           "  for (var k = 0; k < links.length; ++k) {\n"
           "    var image = new Image();\n"
           "    image.onload = function() { if (this.naturalWidth > 0) ++svg;\n"
           "                                if (++done == links.length) say(); };\n"
           "    image.onerror = function() { if (++done == links.length) say(); };\n"
           "    image.src = links[k].href;\n"
           "  }\n"
           "};\n</script></body></html>\n";
}

/// The cells of a line of a log (quoted, no commas inside the data cells) or a CSV file.
std::vector<std::string> cells(const std::string& line) {
    std::vector<std::string> out;
    std::stringstream in(line);
    for (std::string cell; std::getline(in, cell, ',');) {
        if (cell.size() >= 2 && cell.front() == '"') cell = cell.substr(1, cell.size() - 2);
        out.push_back(cell);
    }
    return out;
}

struct Expected {
    std::vector<double> rates;
    std::vector<long long> rows;
};

/// The reduced rows of the log by (sigma', dG'), read here without the program's reader.
std::map<std::pair<std::string, std::string>, Expected> reducedRates(const std::string& log) {
    std::istringstream in(log);
    std::string line;
    std::getline(in, line);
    const std::vector<std::string> names = cells(line);
    auto column = [&](const char* name) {
        return std::size_t(std::find(names.begin(), names.end(), name) - names.begin());
    };
    std::getline(in, line);  // units
    std::map<std::pair<std::string, std::string>, Expected> out;
    for (long long row = 1; std::getline(in, line); ++row) {
        const std::vector<std::string> c = cells(line);
        if (c[column("Event")] != "77") continue;
        Expected& e = out[{c[column("Sm")], c[column("dG")]}];
        e.rates.push_back(std::stod(c[column("Av.Rate as part cont.")]));
        e.rows.push_back(row);
    }
    return out;
}

class StudyReportBrowserTest : public ::testing::Test {
  protected:
    void SetUp() override {
        browser_ = chromium();
        if (browser_.empty()) GTEST_SKIP() << "chromium is not installed";
        fs::copy_file(std::string(QUORVANE_SOURCE_DIR) + "/examples/growing.csv",
                      folder_.file("growing.csv"));
        folder_.write("plan.csv",
                      "The_file_of_experiment_tasks_for_Quorvane\ngrowing.csv\nlog.csv\n"
                      "1, 2, 4, 2, 1\n0, 0.5, 1.5, 0.5, 1\n");
        // The same plan walked downward: every worker starts from the same fixed
        // seeds, so only another order gives each combination an independent repeat.
        folder_.write("plan_down.csv",
                      "The_file_of_experiment_tasks_for_Quorvane\ngrowing.csv\nlog.csv\n"
                      "1, 4, 2, 4, 1\n0, 1.5, 0.5, 1.5, 1\n");
    }
    int batch(const std::string& options) {
        const std::string command = "cd '" + folder_.path() + "' && '" + QUORVANE_BATCH_BIN +
                                    "' --log log.csv --jobs 2 --quiet "
                                    "--set N_field_W=24 --set N_field_H=24 --set Layers_limit=3 " +
                                    options + " 2> batch.txt";
        return std::system(command.c_str());
    }
    std::string browse(const std::string& page, const std::string& flags) {
        const std::string out = folder_.file("browser.txt");
        const std::string command = browser_ +
                                    " --headless --no-sandbox --disable-gpu --hide-scrollbars "
                                    "--allow-file-access-from-files --virtual-time-budget=8000 " +
                                    flags + " 'file://" + folder_.file(page) + "' > '" + out +
                                    "' 2>/dev/null";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return readWholeFile(out).value_or("");
    }

    std::string browser_;
    testing::TempFolder folder_;
};

TEST_F(StudyReportBrowserTest, EveryPictureLoadsAndTheRateChartHoldsTheLogsNumbers) {
    ASSERT_EQ(batch("--plan plan.csv"), 0) << folder_.read("batch.txt");
    ASSERT_EQ(batch("--plan plan_down.csv --study-report 'study report.html'"), 0)
        << folder_.read("batch.txt");

    const std::string page = folder_.read("study report.html");
    std::size_t images = 0;
    for (std::size_t at = page.find("<img "); at != std::string::npos;
         at = page.find("<img ", at + 1))
        ++images;
    ASSERT_GE(images, 7u);  // the map, and three results against each of the two
    const std::string pictures = cformat("%zu", images);
    folder_.write("check.html", checkPage("study report.html"));
    EXPECT_NE(browse("check.html", "--dump-dom")
                  .find("LOADED=" + pictures + "/" + pictures + ";SVG=" + pictures + "/" +
                        pictures + ";"),
              std::string::npos);

    const auto expected = reducedRates(folder_.read("log.csv"));
    ASSERT_EQ(expected.size(), 4u);
    std::istringstream csv(folder_.read("study report/chart_rate_vs_Sm.csv"));
    std::string line;
    std::getline(csv, line);
    EXPECT_EQ(line, "Sm,dG,runs,mean,sd,theory,log_rows");
    int lines = 0;
    while (std::getline(csv, line)) {
        ++lines;
        const std::vector<std::string> c = cells(line);
        ASSERT_EQ(c.size(), 7u) << line;
        const Expected& e =
            expected.at({cformat("%g", std::stod(c[0])), cformat("%g", std::stod(c[1]))});
        ASSERT_EQ(e.rates.size(), 2u);  // the two repeats of the combination
        EXPECT_NE(e.rates[0], e.rates[1]);
        const double mean = (e.rates[0] + e.rates[1]) / 2;
        EXPECT_EQ(c[2], "2");
        EXPECT_NEAR(std::stod(c[3]), mean, 1e-9);
        EXPECT_NEAR(std::stod(c[4]), std::abs(e.rates[0] - e.rates[1]) / std::sqrt(2.0), 1e-9);
        EXPECT_EQ(c[6], cformat("%lld %lld", e.rows[0], e.rows[1]));
    }
    EXPECT_EQ(lines, 4);
}

}  // namespace
}  // namespace quorvane
