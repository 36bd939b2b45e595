// The report commands as a user meets them: the files they write, the
// questions and messages, and what stays untouched when something fails.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QImage>

#include <filesystem>
#include <fstream>
#include <string>

#include "common/file_io.h"
#include "experiments/run_controller.h"
#include "model/theory.h"
#include "reports/report_full.h"
#include "reports/report_paths.h"
#include "reports/report_run.h"
#include "reports/report_template.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"
#include "views/full_report_figures.h"

namespace quorvane {
namespace {

namespace fs = std::filesystem;

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class ReportFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        state_.paths.logPath = folder_.file("log.csv");
        state_.paths.currentDataPath = folder_.file("data.csv");
        computeTheoryQuietly(state_.data);
    }
    /// A short run on a 12 x 12 field, paused after 300 steps.
    void runSomeSteps() {
        state_.data.edgesRatio = 0.25;
        state_.data.verticesRatio = 0.05;
        RunSettings& run = state_.run;
        run.N_field_W = run.N_field_H = 12;
        run.Prob_in_at_step = 0.01;
        run.N_in_per_step = 0.01 * 144;
        run.Is_layers_limit = run.Is_time_simulattion_limit = 0;
        state_.random.SeedForStart();
        RunController loop(state_, platform_);
        platform_.at(299, [&] { loop.PressPauseResume(); });
        loop.StartNewSingleSimulation();
    }
    std::string read(const std::string& name) const {
        return readWholeFile(folder_.file(name)).value_or("");
    }
    std::string writeTemplate(const std::string& text) {
        const std::string path = folder_.file("_Quorvane_pathToTemlateOfFullReport.html");
        writeFileAtomically(path, text);
        return path;
    }

    testing::TempFolder folder_;
    AppState state_;
    testing::ScriptedPlatform platform_;
};

TEST_F(ReportFilesTest, RunReportOfARunWithItsPicturesBesideIt) {
    runSomeSteps();
    platform_.fileAnswers.push_back(folder_.file("run1.html"));
    const RunReportResult result = saveRunReport(state_, platform_);
    ASSERT_TRUE(result.written);
    EXPECT_EQ(result.picturesMissing, 0);
    ASSERT_EQ(platform_.fileQuestions.size(), 1u);
    EXPECT_EQ(platform_.fileQuestions[0].title, "Select html file to save report");
    EXPECT_EQ(platform_.fileQuestions[0].filter, "*.html");
    const std::string page = read("run1.html");
    EXPECT_TRUE(has(page, "src='run1/probabilities.jpg'"));
    EXPECT_TRUE(has(page, "src='run1/theoreticalHalvik.jpg'"));
    EXPECT_TRUE(has(page, "src='run1/view.jpg'"));
    EXPECT_TRUE(has(page, "src='run1/results.jpg'"));
    EXPECT_TRUE(has(page, "<tr><td>Number of steps</td><td>300</td><td>integer</td></tr>\n"));
    // The calibrated regime follows the induction-ratio mechanism.
    EXPECT_TRUE(has(page, "</td></tr>\n<tr><td>Growth regime</td><td span=2>" +
                              growthRegimeText(state_.results.evaluation) + "</td></tr>\n"));
    for (const char* name :
         {"probabilities.jpg", "theoreticalHalvik.jpg", "view.jpg", "results.jpg"})
        EXPECT_TRUE(isRegularFile(folder_.file(std::string("run1/") + name))) << name;
    EXPECT_EQ(page.substr(page.size() - 15), "</body></html>\n");
    EXPECT_EQ(platform_.opened, std::vector<std::string>{folder_.file("run1.html")});
    EXPECT_TRUE(platform_.messages.empty());
}

TEST_F(ReportFilesTest, SurfacePictureSeenByTheViewPanelsCamera) {
    runSomeSteps();
    const QSize size(300, 200);
    auto picture = [&](const views::SurfaceCamera* camera) {
        return drawRunPicture(RunPicture::Surface, state_, state_.results.evaluation,
                              RunReportView{size, camera});
    };
    const views::FieldExtent field{12, 12, 6, 6, 6};
    views::SurfaceCamera turned;
    views::takeFieldSize(turned, field, size);
    turned.azimuth += 0.8;
    views::SurfaceCamera otherField;
    views::takeFieldSize(otherField, views::FieldExtent{50, 50, 6, 6, 6}, size);
    const QImage standard = picture(nullptr);
    EXPECT_EQ(standard.size(), size);
    EXPECT_NE(picture(&turned), standard);
    EXPECT_EQ(picture(&otherField), standard);  // set for another field: not used
}

TEST_F(ReportFilesTest, RunReportBeforeAnyRun) {
    platform_.fileAnswers.push_back(folder_.file("empty.report.html"));
    ASSERT_TRUE(saveRunReport(state_, platform_).written);
    const std::string page = read("empty.report.html");
    EXPECT_TRUE(has(page,
                    "<font><b>No data collected yet.</b></font><br>\n</table>\n"
                    "</body></html>\n"));
    EXPECT_TRUE(has(page, "src='empty.report/theoreticalHalvik.jpg'"));
    EXPECT_FALSE(has(page, "view.jpg"));  // no field yet, no run pictures
}

TEST_F(ReportFilesTest, RunReportFailuresLeaveTheFilesAsTheyWere) {
    // Cancelled: nothing at all.
    EXPECT_FALSE(saveRunReport(state_, platform_).written);
    EXPECT_TRUE(platform_.messages.empty());
    // Not an html file.
    platform_.fileAnswers.push_back(folder_.file("report.txt"));
    EXPECT_FALSE(saveRunReport(state_, platform_).written);
    EXPECT_EQ(platform_.messages.back(), "Wrong file extention, must be html");
    EXPECT_FALSE(fs::exists(folder_.file("report.txt")));
    // A folder that does not exist.
    EXPECT_FALSE(writeRunReport(state_, platform_, folder_.file("missing/r.html")).written);
    EXPECT_TRUE(platform_.messages.back().starts_with("Problems to open file\n"));
    // A read-only folder keeps its earlier report (root ignores the mode: skip then).
    fs::create_directory(folder_.file("locked"));
    writeFileAtomically(folder_.file("locked/r.html"), "earlier");
    chmod(folder_.file("locked").c_str(), 0555);
    if (access(folder_.file("locked").c_str(), W_OK) != 0) {
        EXPECT_FALSE(writeRunReport(state_, platform_, folder_.file("locked/r.html")).written);
        EXPECT_TRUE(platform_.messages.back().starts_with("Problems to open file\n"));
        EXPECT_EQ(read("locked/r.html"), "earlier");
    }
    chmod(folder_.file("locked").c_str(), 0755);
    EXPECT_TRUE(platform_.opened.empty());
}

TEST_F(ReportFilesTest, FullReportFillsTheTemplateAndAsksBeforeOverwriting) {
    const std::string templ = writeTemplate("<img src='_molecule_img|'>\nA = _a| _size_u|\n");
    ReportFields fields;
    platform_.fileAnswers.push_back(folder_.file("full.html"));
    ASSERT_TRUE(saveFullReport(state_, platform_, fields, {templ}));
    EXPECT_EQ(platform_.fileQuestions[0].title, "Select html file to save full report");
    EXPECT_EQ(read("full.html"), "<img src='full_img/molecule.jpg'>\n\nA = 6\n A\n\n");
    for (const auto& picture : kFullReportPictures)
        EXPECT_TRUE(isRegularFile(folder_.file(std::string("full_img/") + picture.fileName)));
    EXPECT_TRUE(platform_.questions.empty());
    EXPECT_EQ(platform_.opened.size(), 1u);

    // The second time the picture folder is there: No keeps the earlier report.
    writeFileAtomically(templ, "changed _a|\n");
    platform_.yesNoAnswers.push_back(false);
    EXPECT_FALSE(writeFullReport(state_, platform_, fields, folder_.file("full.html"), {templ}));
    ASSERT_EQ(platform_.questions.size(), 1u);
    EXPECT_EQ(platform_.questions[0],
              "It's look like you are overwriting existing report.\n If OK - click Yes. if not - "
              "click No");
    EXPECT_EQ(read("full.html"), "<img src='full_img/molecule.jpg'>\n\nA = 6\n A\n\n");
    // Yes writes it anew.
    platform_.yesNoAnswers.push_back(true);
    EXPECT_TRUE(writeFullReport(state_, platform_, fields, folder_.file("full.html"), {templ}));
    EXPECT_EQ(read("full.html"), "changed 6\n\n\n");
}

TEST_F(ReportFilesTest, FullReportRefusals) {
    const std::string templ = writeTemplate("_a|\n");
    ReportFields fields;
    EXPECT_FALSE(writeFullReport(state_, platform_, fields, folder_.file("r.htm"), {templ}));
    EXPECT_EQ(platform_.messages.back(), "Wrong file extention, must be html");
    // The template itself, also under another spelling of its path.
    EXPECT_FALSE(writeFullReport(state_, platform_, fields, templ, {templ}));
    EXPECT_EQ(platform_.messages.back(), "It is template file. It should be other html file.");
    EXPECT_FALSE(writeFullReport(state_, platform_, fields,
                                 folder_.path() + "/./_Quorvane_pathToTemlateOfFullReport.html",
                                 {templ}));
    EXPECT_EQ(platform_.messages.back(), "It is template file. It should be other html file.");
    EXPECT_EQ(read("_Quorvane_pathToTemlateOfFullReport.html"), "_a|\n");
    // No template.
    EXPECT_FALSE(writeFullReport(state_, platform_, fields, folder_.file("r.html"),
                                 {folder_.file("none.html")}));
    EXPECT_EQ(platform_.messages.back(),
              "There must be template file unstalled correctly.\nCheck working brelwick folder for "
              "pathToTemlateOfFullReport.html file.");
    // A template of gigabytes (sparse: no disk taken) is no template: said, never read.
    std::ofstream(folder_.file("huge.html")).close();
    fs::resize_file(folder_.file("huge.html"), 3ull << 30);
    EXPECT_FALSE(writeFullReport(state_, platform_, fields, folder_.file("r.html"),
                                 {folder_.file("huge.html")}));
    EXPECT_EQ(platform_.messages.back(), "The template " + folder_.file("huge.html") +
                                             " is larger than 64 MB; it is no report template");
    // Nameless: the pictures would go into the folder the report stands in.
    EXPECT_FALSE(writeFullReport(state_, platform_, fields, folder_.file(".html"), {templ}));
    EXPECT_EQ(platform_.messages.back(), "The report file needs a name before .html");
    EXPECT_FALSE(writeRunReport(state_, platform_, folder_.file(".html")).written);
    EXPECT_EQ(platform_.messages.back(), "The report file needs a name before .html");
    // The picture folder's parent is missing: told, and nothing is written.
    EXPECT_FALSE(writeFullReport(state_, platform_, fields, folder_.file("no/r.html"), {templ}));
    EXPECT_EQ(platform_.messages.back(), "Mistake in creating images directory. Try againg.");
    EXPECT_FALSE(fs::exists(folder_.file("r.html")));
    EXPECT_TRUE(platform_.opened.empty());
}

TEST_F(ReportFilesTest, ReportChartIsAJpegOfItsSize) {
    EXPECT_FALSE(saveReportChart(state_, platform_));  // cancelled
    platform_.fileAnswers.push_back(folder_.file("chart.png"));
    EXPECT_FALSE(saveReportChart(state_, platform_));
    EXPECT_EQ(platform_.messages.back(), "Wrong file extention, must be jpg");
    EXPECT_FALSE(fs::exists(folder_.file("chart.png")));
    platform_.fileAnswers.push_back(folder_.file("chart.jpg"));
    ASSERT_TRUE(saveReportChart(state_, platform_));
    EXPECT_EQ(platform_.fileQuestions.back().title, "Select file to save report chart");
    QImage saved(QString::fromStdString(folder_.file("chart.jpg")));
    EXPECT_EQ(saved.size(), QSize(800, 600));
    EXPECT_EQ(platform_.opened.back(), folder_.file("chart.jpg"));
}

TEST_F(ReportFilesTest, ShippedTemplateIsInstalledOnceAndNeverOverwrites) {
    const std::string path = folder_.file("_Quorvane_pathToTemlateOfFullReport.html");
    EXPECT_EQ(installReportTemplate(path), TemplateInstall::Installed);
    EXPECT_EQ(read("_Quorvane_pathToTemlateOfFullReport.html"), defaultReportTemplate());
    writeFileAtomically(path, "mine");
    EXPECT_EQ(installReportTemplate(path), TemplateInstall::Present);
    EXPECT_EQ(read("_Quorvane_pathToTemlateOfFullReport.html"), "mine");
    EXPECT_EQ(installReportTemplate(folder_.file("no/t.html")), TemplateInstall::Failed);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_.path()), fs::directory_iterator()), 1);
}

TEST(ReportPictures, FullReportPicturesHaveTheirNamesAndSizes) {
    const PhysicalData data = makeStartData();
    for (std::size_t i = 0; i < std::size(kFullReportPictures); ++i) {
        const FullReportPicture& p = kFullReportPictures[i];
        EXPECT_EQ(views::reportFigureLayouts()[i].fileName, std::string(p.fileName));
        EXPECT_EQ(drawFullReportPicture(i, data).size(), QSize(p.width, p.height)) << p.fileName;
    }
}

TEST(ReportPaths, PictureFolderAndRelativePaths) {
    EXPECT_EQ(reportImageFolder("/a/b.c/run1.html"), "/a/b.c/run1");
    EXPECT_EQ(reportImageFolder("/a/b.c/run1.html", "_img"), "/a/b.c/run1_img");
    EXPECT_EQ(reportImageFolder("/a/b.c/run1"), "/a/b.c/run1");
    EXPECT_EQ(relativePicturePath("run1", "view.jpg"), "run1/view.jpg");
    EXPECT_EQ(relativePicturePath("it's #1 \xC3\xA9", "view.jpg"),
              "it%27s%20%231%20%C3%A9/view.jpg");
}

}  // namespace
}  // namespace quorvane
