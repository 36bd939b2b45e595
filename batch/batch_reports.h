#pragma once
/// The reports of the batch runner: the run report of the run it just made
/// and the full report of its data, written by the desktop program's own
/// report code when the runner is built with it.

#include <optional>
#include <string>
#include <vector>

namespace quorvane {
class Session;
class Platform;
}  // namespace quorvane

namespace quorvane::batch {

struct ReportRequest {
    std::optional<std::string> runReport;     ///< --report FILE.html
    std::optional<std::string> fullReport;    ///< --full-report FILE.html
    std::optional<std::string> templateFile;  ///< --template FILE (default: the shipped one)
    std::optional<std::string> studyReport;   ///< --study-report FILE.html
    /// The reports of the one run the runner made (not the study report).
    bool any() const { return runReport || fullReport; }
};

/// Draws and writes the requested reports; returns the number not written.
using ReportWriter = int (*)(Session& session, const ReportRequest& request);

/// The runner built with the pictures installs its writer at start-up.
void setReportWriter(ReportWriter writer);

/// Why the request cannot be carried out, before anything runs ("" when it can).
std::string checkReportRequest(const ReportRequest& request);

/// Writes the reports after the runs; returns the number not written.
int writeReports(Session& session, const ReportRequest& request);

/// The writer over the desktop program's report code (batch_reports_qt.cpp).
int writeReportsWithQt(Session& session, const ReportRequest& request);

/// What the study report is made of: the study's log, and the plan or the
/// general experiment and the command that made it, when this command did.
struct StudyReportJob {
    std::string path;
    std::string logPath;
    std::optional<std::string> planPath;
    bool general = false;
    std::string command;
};

/// Writes the study report; false (after its message) when it was not written.
using StudyReportWriter = bool (*)(const StudyReportJob& job, Platform& platform);
void setStudyReportWriter(StudyReportWriter writer);

/// Writes the study report when the runner has a writer; false when it was not written.
bool writeStudyReport(const StudyReportJob& job, Platform& platform);

/// The writer over the desktop program's report code (batch_reports_qt.cpp).
bool writeStudyReportWithQt(const StudyReportJob& job, Platform& platform);

}  // namespace quorvane::batch
