// The study report as its reader meets it: the page, every picture as PNG and
// SVG with its numbers, texts of the log that cannot break the page, and an
// earlier report that stays whole when a new one cannot be written.

#include "reports/study_report.h"

#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>

#include "common/file_io.h"
#include "reports/study_page.h"
#include "support/scripted_platform.h"
#include "support/study_log_builder.h"
#include "support/temp_folder.h"

namespace quorvane {
namespace {

namespace fs = std::filesystem;

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

class StudyReportTest : public ::testing::Test {
  protected:
    /// A plan of sigma' 2 and 4 by dG' 0.5 and 1.5, every combination run twice.
    std::string writeGridLog(const std::string& name) {
        std::vector<testing::LogCells> rows;
        for (int repeat = 0; repeat < 2; ++repeat)
            for (const char* Sm : {"2", "4"})
                for (const char* dG : {"0.5", "1.5"})
                    rows.push_back({{"Sm", Sm},
                                    {"dG", dG},
                                    {"Av.Rate as part cont.", repeat ? "0.7" : "0.6"},
                                    {"TypeOfGrowthMech", Sm[0] == '4' ? "0" : "1"}});
        return folder_.write(name, testing::logText(rows));
    }
    bool write(const std::string& page, const std::string& log, const std::string& command = "") {
        StudyReportRequest request;
        request.path = folder_.file(page);
        request.logPath = log;
        request.command = command;
        return writeStudyReport(request, platform_);
    }

    testing::TempFolder folder_;
    testing::ScriptedPlatform platform_;
};

TEST_F(StudyReportTest, ThePageStandsBesideEveryPictureAsPngAndSvgWithItsNumbers) {
    ASSERT_TRUE(write("study.html", writeGridLog("log.csv")));
    EXPECT_TRUE(platform_.messages.empty());
    ASSERT_EQ(platform_.opened, std::vector<std::string>{folder_.file("study.html")});
    const std::string page = folder_.read("study.html");
    int pictures = 0;
    for (const auto& entry : fs::directory_iterator(folder_.file("study"))) {
        if (entry.path().extension() != ".png") continue;
        ++pictures;
        const std::string stem = entry.path().stem().string();
        EXPECT_EQ(count(page, "src=\"study/" + stem + ".png\""), 1u) << stem;
        EXPECT_FALSE(QImage(QString::fromStdString(entry.path().string())).isNull()) << stem;
        const std::string svg = folder_.read("study/" + stem + ".svg");
        EXPECT_NE(svg.find("<svg"), std::string::npos) << stem;
        EXPECT_GT(count(folder_.read("study/" + stem + ".csv"), "\n"), 1u) << stem;
    }
    // The map and rate, roughness and time to fill against each of the two;
    // no porosity, which these runs did not measure.
    EXPECT_EQ(pictures, 7);
    EXPECT_EQ(count(page, "<img "), 7u);
    EXPECT_TRUE(folder_.exists("study/map_regimes.png"));
    EXPECT_FALSE(folder_.exists("study/chart_porosity_vs_Sm.png"));
    EXPECT_EQ(count(folder_.read("study/combinations.csv"), "\n"), 5u);
    EXPECT_NE(page.find("0.65 ± 0.071"), std::string::npos);  // mean ± spread of the table
}

TEST_F(StudyReportTest, TextsOfTheLogAndTheCommandCannotBreakThePage) {
    const std::string log = writeGridLog("a&b <i>.csv");
    ASSERT_TRUE(write("study.html", log, "quorvane-batch --log '<script>alert(1)</script>'"));
    const std::string page = folder_.read("study.html");
    EXPECT_EQ(page.find("<script>"), std::string::npos);
    EXPECT_NE(page.find("&lt;script&gt;alert(1)&lt;/script&gt;"), std::string::npos);
    EXPECT_NE(page.find("Study of a&amp;b &lt;i&gt;.csv"), std::string::npos);
    EXPECT_EQ(page.find("<i>"), std::string::npos);
    EXPECT_EQ(htmlText("\"'&<>\x01\tx"), "&quot;&#39;&amp;&lt;&gt;\tx");
}

TEST_F(StudyReportTest, AnEarlierReportStaysWholeWhenANewOneCannotBeWritten) {
    const std::string log = writeGridLog("log.csv");
    ASSERT_TRUE(write("study.html", log));
    const std::string earlier = folder_.read("study.html");
    const std::string map = folder_.read("study/map_regimes.csv");

    // A log that makes no study: said, and nothing touched.
    folder_.write("empty.csv", testing::logText({{{"Event", "10"}}}));
    EXPECT_FALSE(write("study.html", folder_.file("empty.csv")));
    ASSERT_EQ(platform_.messages.size(), 1u);
    EXPECT_NE(platform_.messages[0].find("holds no finished run"), std::string::npos);
    EXPECT_EQ(folder_.read("study.html"), earlier);
    EXPECT_EQ(folder_.read("study/map_regimes.csv"), map);

    // A folder of the report's name that holds a file of the user's own is left alone.
    fs::create_directory(folder_.file("other"));
    folder_.write("other/notes.txt", "mine");
    EXPECT_FALSE(write("other.html", log));
    EXPECT_NE(platform_.messages.back().find("notes.txt"), std::string::npos);
    EXPECT_EQ(folder_.read("other/notes.txt"), "mine");
    EXPECT_FALSE(folder_.exists("other.html"));
    EXPECT_FALSE(write("study.htm", log));
    EXPECT_EQ(platform_.messages.back(), "Wrong file extention, must be html");

    // A new report replaces the old pictures, leaving none that it does not make.
    folder_.write("one.csv", testing::logText({{{"Sm", "2"}}, {{"Sm", "3"}}}));
    ASSERT_TRUE(write("study.html", folder_.file("one.csv")));
    EXPECT_FALSE(folder_.exists("study/map_regimes.png"));
    EXPECT_TRUE(folder_.exists("study/chart_rate_vs_Sm.png"));
    for (const auto& entry : fs::directory_iterator(folder_.path()))
        EXPECT_EQ(entry.path().filename().string().find("study.old"), std::string::npos);
}

}  // namespace
}  // namespace quorvane
