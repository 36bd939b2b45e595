// The report options of the batch runner when it is built without the pictures.

#include <gtest/gtest.h>

#include "batch/batch_options.h"
#include "batch/batch_reports.h"

namespace quorvane::batch {
namespace {

TEST(BatchReportOptions, ParsedAndRefusedWithoutThePictures) {
    auto parsed = parseBatchOptions(
        {"--report", "r.html", "--full-report", "f.html", "--template", "t.html", "--steps", "10"});
    ASSERT_TRUE(parsed.ok) << parsed.error;
    EXPECT_EQ(parsed.options.reports.runReport, "r.html");
    EXPECT_EQ(parsed.options.reports.fullReport, "f.html");
    EXPECT_EQ(parsed.options.reports.templateFile, "t.html");
    EXPECT_EQ(parsed.options.steps, 10);

    // The workers of --jobs keep their runs to themselves: no report to show them.
    parsed = parseBatchOptions({"--plan", "p.csv", "--jobs", "2", "--report", "r.html"});
    EXPECT_FALSE(parsed.ok);

    parsed = parseBatchOptions({"--full-report"});
    EXPECT_FALSE(parsed.ok);
    EXPECT_EQ(parsed.error, "--full-report needs a file");

    // This test program has no writer: the request is refused, not ignored.
    EXPECT_EQ(checkReportRequest({}), "");
    EXPECT_NE(checkReportRequest({std::string("r.html"), {}, {}, {}}).find("QUORVANE_GUI=OFF"),
              std::string::npos);
    EXPECT_EQ(checkReportRequest({{}, {}, std::string("t.html"), {}}),
              "--template goes with --full-report");
}

TEST(BatchReportOptions, TheStudyReportIsMadeAloneOrAfterAStudyOfWorkers) {
    auto parsed = parseBatchOptions({"--study-report", "s.html", "--log", "my log.csv"});
    ASSERT_TRUE(parsed.ok) << parsed.error;
    EXPECT_EQ(parsed.options.mode, RunMode::None);  // nothing runs: the log is reported
    EXPECT_EQ(parsed.options.reports.studyReport, "s.html");
    EXPECT_EQ(parsed.options.commandLine,
              "quorvane-batch --study-report s.html --log 'my log.csv'");
    // Unlike the run's reports it waits for the workers' rows to be joined.
    parsed = parseBatchOptions({"--plan", "p.csv", "--jobs", "2", "--study-report", "s.html"});
    ASSERT_TRUE(parsed.ok) << parsed.error;
    EXPECT_EQ(parsed.options.mode, RunMode::Plan);

    ReportRequest request;
    request.studyReport = "s.html";
    EXPECT_NE(checkReportRequest(request).find("QUORVANE_GUI=OFF"), std::string::npos);
    setStudyReportWriter([](const StudyReportJob&, Platform&) { return true; });
    EXPECT_EQ(checkReportRequest(request), "");
    request.studyReport = "s.htm";
    EXPECT_EQ(checkReportRequest(request), "Wrong file extention, must be html: s.htm");
    request.studyReport = request.runReport = "r.html";
    EXPECT_NE(checkReportRequest(request).find("needs a file of its own"), std::string::npos);
    setStudyReportWriter(nullptr);
}

}  // namespace
}  // namespace quorvane::batch
