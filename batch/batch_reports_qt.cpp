// The batch runner's reports through the desktop program's report code, on
// Qt's offscreen platform: a cluster node has no display.

#include <QGuiApplication>

#include <clocale>
#include <cstdio>
#include <memory>

#include "batch/batch_reports.h"
#include "experiments/session.h"
#include "views/report_full.h"
#include "views/report_run.h"

namespace quorvane::batch {
namespace {

/// Fonts and images need an application object; the runner makes one only
/// while it writes its reports.
std::unique_ptr<QGuiApplication> makeGuiApplication() {
    if (QGuiApplication::instance() != nullptr) return nullptr;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "quorvane-batch";
    static char* argv[] = {name, nullptr};
    auto application = std::make_unique<QGuiApplication>(argc, argv);
    // Qt takes the user's locale; numbers in files must not.
    std::setlocale(LC_NUMERIC, "C");
    return application;
}

}  // namespace

int writeReportsWithQt(Session& session, const ReportRequest& request) {
    const auto application = makeGuiApplication();
    int notWritten = 0;
    if (request.runReport) {
        if (!writeRunReport(session.state, session.platform, *request.runReport).written) {
            std::fprintf(stderr, "quorvane-batch: the run report %s was not written\n",
                         request.runReport->c_str());
            ++notWritten;
        }
    }
    if (request.fullReport) {
        ReportFields fields;
        const ReportTemplate source{request.templateFile.value_or("")};
        if (!writeFullReport(session.state, session.platform, fields, *request.fullReport,
                             source)) {
            std::fprintf(stderr, "quorvane-batch: the full report %s was not written\n",
                         request.fullReport->c_str());
            ++notWritten;
        }
    }
    return notWritten;
}

}  // namespace quorvane::batch
