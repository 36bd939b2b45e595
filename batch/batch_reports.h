#pragma once
/// The reports of the batch runner: the run report of the run it just made
/// and the full report of its data, written by the desktop program's own
/// report code when the runner is built with it.

#include <optional>
#include <string>
#include <vector>

namespace quorvane {
class Session;
}

namespace quorvane::batch {

struct ReportRequest {
    std::optional<std::string> runReport;     ///< --report FILE.html
    std::optional<std::string> fullReport;    ///< --full-report FILE.html
    std::optional<std::string> templateFile;  ///< --template FILE (default: the shipped one)
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

}  // namespace quorvane::batch
