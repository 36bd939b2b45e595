// The batch runner's reports through the desktop program's report code, on
// Qt's offscreen platform: a cluster node has no display.

#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QGuiApplication>

#include <clocale>
#include <cstdio>
#include <memory>

#include "batch/batch_reports.h"
#include "experiments/session.h"
#include "reports/report_full.h"
#include "reports/report_run.h"
#include "reports/study_report.h"

namespace quorvane::batch {
namespace {

/// Fonts and images need an application object; the runner makes one only
/// while it writes its reports.
std::unique_ptr<QGuiApplication> makeGuiApplication() {
    if (QGuiApplication::instance() != nullptr) return nullptr;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // A job on a cluster node has no session folder; Qt would make one and say so on
    // every report. A private folder of the runner's own keeps its output clean.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QByteArray folder =
            QDir::tempPath().toLocal8Bit() + "/quorvane-runtime-" + QByteArray::number(getuid());
        ::mkdir(folder.constData(), 0700);  // there already from an earlier report: fine
        struct stat info {};
        // Only a folder that is the user's own and closed to others will do.
        if (::lstat(folder.constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
            info.st_uid == getuid() && (info.st_mode & 0777) == 0700)
            qputenv("XDG_RUNTIME_DIR", folder);
    }
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
        // The runner asks nothing: an earlier report of the name is replaced
        // whole, as a run report is.
        if (!writeFullReport(session.state, session.platform, fields, *request.fullReport, source,
                             EarlierReport::Replace)) {
            std::fprintf(stderr, "quorvane-batch: the full report %s was not written\n",
                         request.fullReport->c_str());
            ++notWritten;
        }
    }
    return notWritten;
}

bool writeStudyReportWithQt(const StudyReportJob& job, Platform& platform) {
    const auto application = makeGuiApplication();
    StudyReportRequest request;
    request.path = job.path;
    request.logPath = job.logPath;
    request.planPath = job.planPath;
    request.general = job.general;
    request.command = job.command;
    if (quorvane::writeStudyReport(request, platform)) return true;
    std::fprintf(stderr, "quorvane-batch: the study report %s was not written\n", job.path.c_str());
    return false;
}

}  // namespace quorvane::batch
