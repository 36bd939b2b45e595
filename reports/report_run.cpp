#include "reports/report_run.h"

#include <QSaveFile>

#include "common/file_io.h"
#include "common/text.h"
#include "reports/report_paths.h"
#include "sheets/results_sheet.h"

namespace quorvane {
namespace {

class PictureWriter {
  public:
    PictureWriter(const std::string& folder, const AppState& state, const RunEvaluation& evaluation,
                  const RunReportView& view)
        : folder_(folder),
          folderName_(lastPathComponent(folder)),
          state_(state),
          evaluation_(evaluation),
          view_(view) {}

    /// Draws and saves one picture and returns its block; a picture that
    /// cannot be made leaves no block behind (the page would show a hole).
    std::string block(RunPicture picture) {
        const RunPictureInfo& info = runPictureInfo(picture);
        const QImage image = drawRunPicture(picture, state_, evaluation_, view_);
        if (!saveReportPicture(image, joinPath(folder_, info.fileName))) {
            ++missing_;
            return {};
        }
        return runReportPictureBlock(picture, relativePicturePath(folderName_, info.fileName));
    }
    int missing() const { return missing_; }

  private:
    std::string folder_;
    std::string folderName_;
    const AppState& state_;
    const RunEvaluation& evaluation_;
    const RunReportView& view_;
    int missing_ = 0;
};

}  // namespace

RunReportResult saveRunReport(const AppState& state, Platform& platform,
                              const RunReportOptions& options) {
    const auto path = askReportFile(platform, "Select html file to save report", ".html");
    if (!path) return {};
    return writeRunReport(state, platform, *path, options);
}

namespace {

/// The page of the report, its pictures saved into `pictures`' folder as it goes.
std::string runReportPage(const AppState& state, const RunEvaluation& evaluation,
                          PictureWriter& pictures, const RunReportOptions& options) {
    // The report describes the run with the data it ran with, whatever was
    // edited since.
    const PhysicalData& data = reportData(state);
    const RunSettings& run = reportSettings(state);
    std::string page = runReportHead(state.paths.currentDataPath);
    page += runReportInputTable(data, run);
    page += pictures.block(RunPicture::Probabilities);
    page += pictures.block(RunPicture::Theoretical);
    // The calibrated regime beside the induction-ratio mechanism, unless the caller named one.
    std::optional<std::string> regime = options.growthRegime;
    if (!regime && !state.results.record.empty()) regime = growthRegimeText(evaluation);
    page += runReportResults({data, evaluation, run.Is_includes_porosity != 0, regime});
    if (state.engine.hasField()) {
        page += pictures.block(RunPicture::Surface);
        page += pictures.block(RunPicture::GrowthChart);
    }
    return page + kRunReportEnd;
}

}  // namespace

RunReportResult writeRunReport(const AppState& state, Platform& platform, const std::string& path,
                               const RunReportOptions& options) {
    RunReportResult result;
    if (!contains(path, ".html")) {
        platform.message(kWrongHtmlExtension);
        return result;
    }
    // The page is written beside its name and put in place at the end, so a
    // failure never leaves half a report where an earlier one was.
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly)) {
        platform.message(kProblemsToOpenFile);
        return result;
    }
    const std::string folder = reportImageFolder(path);
    makeFolder(folder);  // an existing folder is fine; a missing one loses only pictures
    const RunEvaluation evaluation = currentEvaluation(state, platform);
    PictureWriter pictures(folder, state, evaluation, options.view);
    const std::string page = runReportPage(state, evaluation, pictures, options);
    const qint64 size = static_cast<qint64>(page.size());
    if (file.write(page.data(), size) != size || !file.commit()) {
        platform.message(kProblemsToOpenFile);
        return result;
    }
    result.written = true;
    result.picturesMissing = pictures.missing();
    if (result.picturesMissing > 0)
        platform.message("Some pictures of the report could not be saved in " + folder);
    platform.openInDefaultProgram(path);
    return result;
}

}  // namespace quorvane
