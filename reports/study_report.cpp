#include "reports/study_report.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <QTemporaryDir>
#include <filesystem>
#include <system_error>

#include "common/file_io.h"
#include "common/text.h"
#include "experiments/study_origin.h"
#include "reports/report_paths.h"
#include "reports/study_figures.h"
#include "reports/study_page.h"

namespace quorvane {
namespace {

namespace fs = std::filesystem;

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

/// The first thing in an earlier report's folder that no study report writes
/// (a folder of the user's own that happens to have the report's name); "" for none.
std::string foreignEntry(const fs::path& folder) {
    std::error_code error;
    if (!fs::exists(folder, error)) return {};
    if (!fs::is_directory(folder, error)) return folder.filename().string();
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (!entry.is_regular_file(error) || !isStudyFigureFile(name)) return name;
    }
    return error ? folder.filename().string() : std::string();
}

bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

/// Draws a figure as PNG and SVG and writes its numbers beside them.
bool writeFigure(const StudyFigure& f, const QString& folder) {
    const QString stem = folder + "/" + qs(f.stem);
    QImage image(f.size, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        f.paint(painter, image.rect());
    }
    if (!image.save(stem + ".png", "PNG")) return false;
    QSvgGenerator svg;
    svg.setFileName(stem + ".svg");
    svg.setSize(f.size);
    svg.setViewBox(QRect(QPoint(0, 0), f.size));
    svg.setTitle(qs(f.caption));
    {
        QPainter painter;
        if (!painter.begin(&svg)) return false;
        f.paint(painter, QRect(QPoint(0, 0), f.size));
        if (!painter.end()) return false;
    }
    return QFileInfo(stem + ".svg").size() > 0 &&
           writeBytes(stem + ".csv", QByteArray::fromStdString(f.csv));
}

/// Puts the new folder where the old one was. The old one is moved aside
/// first and comes back when anything fails; `aside` names it afterwards.
bool putInPlace(const fs::path& fresh, const fs::path& folder, fs::path& aside) {
    std::error_code error;
    aside.clear();
    if (fs::exists(folder, error)) {
        aside = fs::path(folder.string() + ".old");
        for (int k = 1; fs::exists(aside, error); ++k)
            aside = fs::path(folder.string() + ".old" + std::to_string(k));
        fs::rename(folder, aside, error);
        if (error) return false;
    }
    fs::rename(fresh, folder, error);
    if (!error) return true;
    if (!aside.empty()) fs::rename(aside, folder, error);
    aside.clear();
    return false;
}

void giveBack(const fs::path& folder, const fs::path& aside) {
    std::error_code error;
    fs::remove_all(folder, error);
    if (!aside.empty()) fs::rename(aside, folder, error);
}

struct Written {
    bool ok = false;
    std::string problem;
};

/// The pictures into a fresh folder beside the report's, the page into its
/// file, then both put in place; a failure anywhere leaves the earlier report.
Written writeFiles(const Study& study, const std::string& path, Platform& platform) {
    const fs::path folder = reportImageFolder(path);
    if (const std::string entry = foreignEntry(folder); !entry.empty())
        return {false, "The folder " + folder.string() + " beside the report holds " + entry +
                           ", which no study report writes; choose another name for the report."};
    QTemporaryDir fresh(qs(folder.string() + ".new-XXXXXX"));
    if (!fresh.isValid()) return {false, kProblemsToOpenFile};
    const std::vector<StudyFigure> figures = studyFigures(study);
    for (const StudyFigure& f : figures)
        if (!writeFigure(f, fresh.path())) return {false, kProblemsToOpenFile};
    if (!writeBytes(fresh.path() + "/combinations.csv",
                    QByteArray::fromStdString(combinationsCsv(study))))
        return {false, kProblemsToOpenFile};
    const std::string page =
        studyPage({&study, &figures, lastPathComponent(folder.string()), platform.localTimeNow()});
    QSaveFile file(qs(path));
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(page.data(), qint64(page.size())) != qint64(page.size()))
        return {false, kProblemsToOpenFile};
    fs::path aside;
    if (!putInPlace(fresh.path().toStdString(), folder, aside)) return {false, kProblemsToOpenFile};
    fresh.setAutoRemove(false);
    if (!file.commit()) {
        giveBack(folder, aside);
        return {false, kProblemsToOpenFile};
    }
    std::error_code error;
    if (!aside.empty()) fs::remove_all(aside, error);
    return {true, {}};
}

}  // namespace

bool writeStudyReport(const StudyReportRequest& request, Platform& platform) {
    if (!contains(request.path, ".html")) {
        platform.message(kWrongHtmlExtension);
        return false;
    }
    StudyOrigin origin =
        studyOrigin(request.logPath, request.planPath, request.general, request.command);
    if (request.planRows) {
        origin.plan = request.planRows;
        origin.planPath = request.planPath.value_or("of the Run panel");
    }
    const StudyReading reading = readStudy(request.logPath, origin);
    if (!reading.study) {
        platform.message("The study report was not written: " + reading.error + ".");
        return false;
    }
    const Written written = writeFiles(*reading.study, request.path, platform);
    if (!written.ok) {
        platform.message(written.problem);
        return false;
    }
    platform.openInDefaultProgram(request.path);
    return true;
}

bool saveStudyReport(const AppState& state, const PlanPaths& plan, Platform& platform) {
    const auto path = askReportFile(platform, "Select html file to save study report", ".html");
    if (!path) return false;
    StudyReportRequest request;
    request.path = *path;
    request.logPath = state.paths.logPath;
    // The plan on the Run panel made the study when its runs go to this log.
    if (!state.plan.rows().empty() && plan.results == state.paths.logPath) {
        request.planRows = state.plan.rows();
        request.planPath = plan.plan;
    }
    return writeStudyReport(request, platform);
}

}  // namespace quorvane
