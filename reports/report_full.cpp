#include "reports/report_full.h"

#include <QFileInfo>
#include <QSaveFile>

#include "common/file_io.h"
#include "common/text.h"
#include "common/version/version.h"
#include "model/theory.h"
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

std::optional<std::string> readTemplate(const ReportTemplate& source) {
    if (source.path.empty()) {
        std::string shipped = defaultReportTemplate();
        if (shipped.empty()) return std::nullopt;
        return shipped;
    }
    return readWholeFile(source.path);
}

/// Step 6 of the full report: the picture folder, or false when the user
/// would rather keep an earlier report's pictures.
bool prepareImageFolder(const std::string& folder, Platform& platform) {
    if (isDirectory(folder)) return platform.askYesNo(kOverwriteReportQuestion);
    // Reported, not fatal: the report is still written, without its pictures.
    if (!makeFolder(folder)) platform.message(kImageFolderMessage);
    return true;
}

/// Draws and saves the seven pictures into `folder`, naming each in the
/// fields; returns how many could not be saved.
int savePictures(const std::string& folder, const PhysicalData& data, ReportFields& fields) {
    const std::string folderName = lastPathComponent(folder);
    int missing = 0;
    for (std::size_t i = 0; i < std::size(kFullReportPictures); ++i) {
        const FullReportPicture& picture = kFullReportPictures[i];
        if (!saveReportPicture(drawFullReportPicture(i, data), joinPath(folder, picture.fileName)))
            ++missing;
        fields.set(picture.key, relativePicturePath(folderName, picture.fileName));
    }
    return missing;
}

bool writeWhole(const std::string& path, const std::string& text) {
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly)) return false;
    const qint64 size = static_cast<qint64>(text.size());
    return file.write(text.data(), size) == size && file.commit();
}

}  // namespace

bool saveFullReport(AppState& state, Platform& platform, ReportFields& fields,
                    const ReportTemplate& source) {
    const auto path = askReportFile(platform, "Select html file to save full report", ".html");
    if (!path) return false;
    return writeFullReport(state, platform, fields, *path, source);
}

bool writeFullReport(AppState& state, Platform& platform, ReportFields& fields,
                     const std::string& path, const ReportTemplate& source) {
    if (!contains(path, ".html")) {
        platform.message(kWrongHtmlExtension);
        return false;
    }
    if (isTemplate(path, source)) {
        platform.message(kIsTemplateMessage);
        return false;
    }
    const auto templateText = readTemplate(source);
    if (!templateText) {
        platform.message(kNoTemplateMessage);
        return false;
    }
    // The report itself is only replaced at the end, when its whole text is
    // ready: a "No" to the question below leaves the earlier report intact.
    const std::string folder = reportImageFolder(path, "_img");
    if (!prepareImageFolder(folder, platform)) return false;

    const PhysicalData data = dataWithTheory(state.data);
    const int missing = savePictures(folder, data, fields);
    setValueFields(fields, data);
    // The build that wrote the report, so that its numbers can be traced to it.
    fields.set("_version|", "Quorvane " + versionText());
    if (!writeWhole(path, fillTemplate(*templateText, fields))) {
        platform.message(kProblemsToOpenFile);
        return false;
    }
    if (missing > 0 && isDirectory(folder))
        platform.message("Some pictures of the report could not be saved in " + folder);
    platform.openInDefaultProgram(path);
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
