#include "batch/batch_reports.h"

#include <filesystem>

#include "common/file_io.h"
#include "common/text.h"

namespace quorvane::batch {
namespace {

ReportWriter gWriter = nullptr;
StudyReportWriter gStudyWriter = nullptr;

constexpr const char* kBuiltWithoutReports =
    "this quorvane-batch was built without the desktop program (QUORVANE_GUI=OFF), so it cannot "
    "draw reports";

std::string checkHtmlOutput(const std::string& option, const std::string& path) {
    if (!contains(path, ".html")) return "Wrong file extention, must be html: " + path;
    // Its pictures would go into the folder the report stands in.
    if (!hasNameBeforeExtension(path))
        return option + " " + path + ": the report file needs a name before .html";
    if (isDirectory(path)) return option + " " + path + " is a folder";
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (!parent.empty() && !isDirectory(parent.string()))
        return option + " " + path + ": its folder does not exist";
    return {};
}

/// Two names of one page, also through symbolic links or another spelling.
bool sameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    const auto real = [&error](const std::string& path) {
        return std::filesystem::weakly_canonical(followLinks(path), error);
    };
    return a == b || real(a) == real(b);
}

}  // namespace

void setReportWriter(ReportWriter writer) {
    gWriter = writer;
}

void setStudyReportWriter(StudyReportWriter writer) {
    gStudyWriter = writer;
}

namespace {

std::string checkStudyReport(const ReportRequest& r) {
    if (!r.studyReport) return {};
    if (gStudyWriter == nullptr) return kBuiltWithoutReports;
    if (auto e = checkHtmlOutput("--study-report", *r.studyReport); !e.empty()) return e;
    if (r.studyReport == r.runReport || r.studyReport == r.fullReport)
        return "--study-report needs a file of its own, not that of --report or --full-report";
    return {};
}

}  // namespace

std::string checkReportRequest(const ReportRequest& r) {
    if (r.templateFile && !r.fullReport) return "--template goes with --full-report";
    if (auto e = checkStudyReport(r); !e.empty()) return e;
    if (!r.any()) return {};
    if (gWriter == nullptr) return kBuiltWithoutReports;
    if (r.runReport)
        if (auto e = checkHtmlOutput("--report", *r.runReport); !e.empty()) return e;
    if (r.fullReport)
        if (auto e = checkHtmlOutput("--full-report", *r.fullReport); !e.empty()) return e;
    if (r.runReport && r.fullReport && sameFile(*r.runReport, *r.fullReport))
        return "--report and --full-report need two different files";
    if (r.templateFile && !isRegularFile(*r.templateFile))
        return "cannot read the template " + *r.templateFile;
    // Far beyond any report: a larger file would be read whole into memory.
    constexpr std::uintmax_t kLargestTemplate = 64u << 20;
    std::error_code error;
    const std::uintmax_t size =
        r.templateFile ? std::filesystem::file_size(*r.templateFile, error) : 0;
    if (!error && size > kLargestTemplate)
        return "the template " + *r.templateFile +
               " is larger than 64 MB; it is no report template";
    return {};
}

int writeReports(Session& session, const ReportRequest& request) {
    if (!request.any() || gWriter == nullptr) return 0;
    return gWriter(session, request);
}

bool writeStudyReport(const StudyReportJob& job, Platform& platform) {
    return gStudyWriter != nullptr && gStudyWriter(job, platform);
}

}  // namespace quorvane::batch
