// The run report's text, byte for byte.

#include <gtest/gtest.h>

#include <string>

#include "common/version/version.h"
#include "engine/mechanism.h"
#include "model/theory.h"
#include "reports/report_run_html.h"

namespace quorvane {
namespace {

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class RunReportHtmlTest : public ::testing::Test {
  protected:
    void SetUp() override {
        data_.edgesRatio = 0.25;
        data_.verticesRatio = 0.05;
        computeTheoryQuietly(data_);
        ev_.steps = 123456;
        ev_.timeOfGrowth = 2.5;
        ev_.finalHeight = 3.7;
        ev_.layersReached = 3;
        ev_.finalRoughness = 0.5;
        ev_.finalPorosity = 0.25;
        ev_.simulationSeconds = 125;
        ev_.rateMean = 2;
        ev_.rateParts = 0.4;
        ev_.fillMean = 0.5;
        ev_.fillStd = 0.125;
        ev_.startMean = 0.1;
        ev_.startStd = 0.0625;
        ev_.inductionRatio = 0.2;
        ev_.mechanism = kIntermediateMechanism;
    }
    std::string results(bool porous = false) { return runReportResults({data_, ev_, porous, {}}); }

    PhysicalData data_ = makeStartData();
    RunSettings run_;
    RunEvaluation ev_;
};

TEST_F(RunReportHtmlTest, HeadDeclaresWindows1251AndNamesTheRun) {
    EXPECT_EQ(runReportHead("/home/u/data.csv"),
              "<html><body><title>/home/u/data.csv</title>\n"
              "<head><meta http-equiv='Content-Type' content='text/html; "
              "charset=windows-1251'></head>\n"
              "<!-- Written by Quorvane " +
                  versionText() +
                  " -->\n"
                  "<p><h3>Report of run: /home/u/data.csv</h3>\n"
                  "<font size=4><b>Input parameters:</b></font><br>\n"
                  "<table>\n");
    // A path is text, not markup.
    EXPECT_TRUE(has(runReportHead("a<b>&c.csv"), "<title>a&lt;b&gt;&amp;c.csv</title>"));
}

TEST_F(RunReportHtmlTest, InputTableRowsHeadingsAndUnits) {
    run_.N_field_W = 160;
    run_.Prob_in_at_step = 0.000217;
    data_.accuracy = 3;
    const std::string table = runReportInputTable(data_, run_);
    EXPECT_EQ(table.rfind("<tr><td span=2><b>Size and shape of molecule:</b></td></tr>\n"
                          "<tr><td>A (growth direction)</td><td>6</td><td>A</td></tr>\n",
                          0),
              0u);
    EXPECT_TRUE(has(table, "<tr><td>edges</td><td>0.25</td><td>unitless</td></tr>\n"));
    EXPECT_TRUE(has(table, "<tr><td>Volume</td><td>216</td><td>A<sup>3</sup></td></tr>\n"));
    EXPECT_TRUE(has(table, "<tr><td>Dencity</td><td>"));
    EXPECT_TRUE(has(table, "</td><td>ng/A<sup>3</sup></td></tr>\n"));
    EXPECT_TRUE(has(table, "<tr><td>Molar Enthalpy</td><td>2e+4</td><td>J/mol</td></tr>\n"));
    EXPECT_TRUE(has(table,
                    "<tr><td span=2><b>Parameters of simulation:</b></td></tr>\n"
                    "<tr><td span=2><b>Size of simulation field:</b></td></tr>\n"
                    "<tr><td>Width:</td><td>160</td><td>unitless</td></tr>\n"));
    EXPECT_TRUE(has(table, "<td>0.000217</td><td>unitless</td></tr>\n"));
    EXPECT_TRUE(has(table, "<tr><td>Time step:</td><td>"));
    EXPECT_EQ(table.substr(table.size() - 9), "</table>\n");
    int rows = 0;
    for (std::size_t at = table.find("<tr><td>"); at != std::string::npos;
         at = table.find("<tr><td>", at + 1))
        ++rows;
    EXPECT_EQ(rows, 30);
}

TEST_F(RunReportHtmlTest, NoDataBranch) {
    ev_ = RunEvaluation{};
    EXPECT_EQ(results(), "<font><b>No data collected yet.</b></font><br>\n</table>\n");
}

TEST_F(RunReportHtmlTest, ResultTableOfARun) {
    data_.time = 4;  // seconds
    data_.accuracy = 3;
    const std::string r = results();
    EXPECT_EQ(r.rfind("<font size=4><b>Result of simulation run:</b></font><br>\n<table>\n"
                      "<tr><td span=2><b>Current status from start:</b></td></tr>\n"
                      "<tr><td>Number of steps</td><td>1.23e+5</td><td>integer</td></tr>\n",
                      0),
              0u);
    EXPECT_TRUE(has(r, "<tr><td>Distance</td><td>22.2</td><td>A, (3 layers)</td></tr>\n"));
    EXPECT_TRUE(has(r, "<tr><td>Roughness</td><td>3</td><td>A, (0.5 layers)</td></tr>\n"));
    EXPECT_TRUE(has(r, "<tr><td>Hole like defects</td><td>not concidered</td><td> </td></tr>\n"));
    EXPECT_TRUE(has(r,
                    "<tr><td>Computer time of simulation:</td><td span=2>2 minutes 5 seconds "
                    "of simulaton</td><td> </td></tr>\n"));
    // Two layers a second of 6 A: 12 A/s.
    EXPECT_TRUE(has(r, "<tr><td>Growth rate</td><td>12</td><td>A/s</td></tr>\n"));
    EXPECT_TRUE(has(r, "<tr><td>Growth rate/continues growth rate</td><td>0.4</td><td>parts"));
    // The plus-minus sign is the single byte 0xB1.
    EXPECT_TRUE(has(r,
                    "<tr><td>Time to fill one layer</td><td>0.5</td><td>s (\xB1"
                    "0.125)</td></tr>\n"));
    EXPECT_TRUE(has(r,
                    "<tr><td>Time to start of filling new layer</td><td>0.1</td><td>s (\xB1"
                    "0.0625)</td></tr>\n"));
    EXPECT_TRUE(has(r,
                    "<tr><td span=2><b>Final analysis:</b></td></tr>\n"
                    "<tr><td span=2>Intermedia mechanism</td></tr>\n"
                    "<tr><td span=2>Stable growth is not established yet</td></tr>\n"
                    "</table>\n"));
}

TEST_F(RunReportHtmlTest, PercentModeAndPorosity) {
    data_.concentration = 1;
    const std::string r = results(true);
    EXPECT_TRUE(has(r, "<tr><td>Hole like defects</td><td>25</td><td>%</td></tr>\n"));
    EXPECT_TRUE(has(r, "<tr><td>Growth rate/continues growth rate</td><td>40</td><td>%"));
    EXPECT_TRUE(has(r, "<tr><td>Induction period</td><td>20</td><td>%</td></tr>\n"));
}

TEST_F(RunReportHtmlTest, FinalAnalysisByMechanism) {
    ev_.mechanism = kContinuousGrowth;
    ev_.stableStart = 10;
    ev_.stableRate = 3;
    ev_.stableRateParts = 0.75;
    ev_.stableRoughness = 1.25;
    ev_.stableRoughnessLength = 7.5;
    ev_.stablePorosity = 0.01;
    std::string r = runReportResults({data_, ev_, true, std::string("continuous")});
    EXPECT_TRUE(has(r,
                    "<tr><td span=2>Continius growth</td></tr>\n"
                    "<tr><td>Growth regime</td><td span=2>continuous</td></tr>\n"
                    "<tr><td>Average growth rate</td><td>3</td>"));
    EXPECT_TRUE(has(r, "<tr><td>Average growth rate/continues growth rate</td><td>0.75</td>"));
    EXPECT_TRUE(has(r, "<tr><td>Average roughness</td><td>7.5</td><td>A (1.25 layers)</td>"));
    EXPECT_TRUE(has(r,
                    "<tr><td>Average porosity</td><td>0.01</td><td>parts</td></tr>\n"
                    "</table>\n"));

    ev_.mechanism = kTwoDimensionalNucleation;
    r = results();
    EXPECT_TRUE(has(r,
                    "<tr><td span=2>Two dimensional nucleation</td></tr>\n"
                    "<tr><td>Average growth rate</td><td>12</td>"));
    EXPECT_TRUE(has(r,
                    "<tr><td>Average growth rate/continues growth rate</td><td>0.4</td>"
                    "<td>parts</td></tr>\n</table>\n"));

    ev_.mechanism = kNotEnoughData;
    r = results();
    EXPECT_TRUE(has(r,
                    "<tr><td span=2>Not enough data to define mechanism</td></tr>\n"
                    "</table>\n"));
}

TEST_F(RunReportHtmlTest, PictureBlocks) {
    EXPECT_EQ(runReportPictureBlock(RunPicture::Probabilities, "run1/probabilities.jpg"),
              "<p><table width=700><tr><td>\n"
              "<img border=0 src='run1/probabilities.jpg'>\n"
              "<td></tr>\n"
              "<tr><td>Probabilities of moleciule move in and out as function of part of its "
              "surface in direct connection with the crystal.</td></tr></table></p>\n");
    EXPECT_EQ(runReportPictureBlock(RunPicture::Surface, "run1/view.jpg"),
              "<p><table width=700><tr><td>\n"
              "<img border=0 src='run1/view.jpg'>\n"
              "<td></tr>\n"
              "<tr><td>Surface of growing crystal</td></tr></table></p>\n");
}

}  // namespace
}  // namespace quorvane
