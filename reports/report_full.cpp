#include "reports/report_full.h"

#include <QFileInfo>

#include <filesystem>
#include <system_error>

#include "common/file_io.h"
#include "common/text.h"
#include "common/version/version.h"
#include "model/theory.h"
#include "reports/report_format.h"
#include "reports/report_output.h"
#include "reports/report_paths.h"
#include "reports/report_pictures.h"
#include "reports/report_template.h"

namespace quorvane {
namespace {

/// The data with their theory computed for the present state, as the Data
/// panel shows them; the program's own record is not touched.
PhysicalData dataWithTheory(const PhysicalData& data) {
    PhysicalData copy = data;
    computeTheoryQuietly(copy);
    return copy;
}

/// True when the chosen report is the template itself, by its name or, through
/// another spelling of the same path, by the file.
bool isTemplate(const std::string& path, const ReportTemplate& source) {
    if (source.path.empty()) return false;
    if (contains(path, source.path)) return true;
    const QFileInfo chosen(QString::fromStdString(path));
    const QFileInfo templ(QString::fromStdString(source.path));
    return chosen.exists() && templ.exists() &&
           chosen.canonicalFilePath() == templ.canonicalFilePath();
}

/// The template's text; nullopt, with the message said, when there is none
/// or it is far too large to be one (it would be read whole into memory).
std::optional<std::string> readTemplate(const ReportTemplate& source, Platform& platform) {
    if (source.path.empty()) {
        std::string shipped = defaultReportTemplate();
        if (!shipped.empty()) return shipped;
    } else {
        std::error_code error;
        const auto size = std::filesystem::file_size(source.path, error);
        if (!error && size > kLargestReportTemplate) {
            platform.message("The template " + source.path +
                             " is larger than 64 MB; it is no report template");
            return std::nullopt;
        }
        if (auto text = readWholeFile(source.path)) return text;
    }
    platform.message(kNoTemplateMessage);
    return std::nullopt;
}

/// Step 6 of the full report: whether an earlier report's pictures may be
/// replaced, and the picture folder made.
bool prepareImageFolder(StagedReport& report, EarlierReport earlier, Platform& platform) {
    if (report.folderExisted() && earlier == EarlierReport::Ask &&
        !platform.askYesNo(kOverwriteReportQuestion))
        return false;
    if (report.makeFolder()) return true;
    platform.message(kImageFolderMessage);
    return false;
}

/// Draws and stages the seven pictures, naming each in the fields; false
/// when one cannot be written (the report is then not written at all).
/// `missing` counts those that could not be drawn.
bool stagePictures(StagedReport& report, const PhysicalData& data, ReportFields& fields,
                   int& missing) {
    for (std::size_t i = 0; i < std::size(kFullReportPictures); ++i) {
        const FullReportPicture& picture = kFullReportPictures[i];
        const auto staged = report.stage(drawFullReportPicture(i, data), picture.fileName);
        if (staged == StagedReport::Picture::Failed) return false;
        if (staged == StagedReport::Picture::Empty) ++missing;
        fields.set(picture.key, report.relativePath(picture.fileName));
    }
    return true;
}

}  // namespace

bool saveFullReport(AppState& state, Platform& platform, ReportFields& fields,
                    const ReportTemplate& source) {
    const auto path = askReportFile(platform, "Select html file to save full report", ".html");
    if (!path) return false;
    return writeFullReport(state, platform, fields, *path, source);
}

bool writeFullReport(AppState& state, Platform& platform, ReportFields& fields,
                     const std::string& path, const ReportTemplate& source, EarlierReport earlier) {
    if (!contains(path, ".html")) {
        platform.message(kWrongHtmlExtension);
        return false;
    }
    if (!hasNameBeforeExtension(path)) {
        platform.message(kNamelessReport);
        return false;
    }
    if (isTemplate(path, source)) {
        platform.message(kIsTemplateMessage);
        return false;
    }
    const auto templateText = readTemplate(source, platform);
    if (!templateText) return false;
    // Pictures and page are staged and put in place together at the end: a
    // "No" to the question, or a failure on the way, leaves the earlier report
    // as it was.
    StagedReport report(path, "_img");
    if (!prepareImageFolder(report, earlier, platform)) return false;

    const PhysicalData data = dataWithTheory(state.data);
    int missing = 0;
    const bool staged = stagePictures(report, data, fields, missing);
    setValueFields(fields, data);
    // The build that wrote the report, so that its numbers can be traced to it.
    fields.set("_version|", escapeHtml("Quorvane " + versionText()));
    if (!staged || !report.commit(fillTemplate(*templateText, fields))) {
        platform.message(reportNotWrittenMessage(report.page()));
        return false;
    }
    missing += report.picturesNotPlaced();
    if (missing > 0)
        platform.message("Some pictures of the report could not be saved in " + report.folder());
    platform.openInDefaultProgram(report.page());
    return true;
}

bool saveReportChart(AppState& state, Platform& platform) {
    const auto path = askReportFile(platform, "Select file to save report chart", ".jpg");
    if (!path) return false;
    return writeReportChart(state, platform, *path);
}

bool writeReportChart(AppState& state, Platform& platform, const std::string& path) {
    if (!contains(path, ".jpg")) {
        platform.message(kWrongJpgExtension);
        return false;
    }
    if (!saveReportPicture(drawReportChart(dataWithTheory(state.data)), path)) {
        platform.message(kProblemsToOpenFile);
        return false;
    }
    platform.openInDefaultProgram(path);
    return true;
}

}  // namespace quorvane
