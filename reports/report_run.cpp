#include "reports/report_run.h"

#include "common/file_io.h"
#include "common/text.h"
#include "reports/report_output.h"
#include "reports/report_paths.h"
#include "sheets/results_sheet.h"

namespace quorvane {
namespace {

class PictureWriter {
  public:
    PictureWriter(StagedReport& report, const AppState& state, const RunEvaluation& evaluation,
                  const RunReportView& view)
        : report_(report), state_(state), evaluation_(evaluation), view_(view) {}

    /// Draws and stages one picture and returns its block; a picture that
    /// cannot be drawn leaves no block behind (the page would show a hole).
    std::string block(RunPicture picture) {
        const RunPictureInfo& info = runPictureInfo(picture);
        const QImage image = drawRunPicture(picture, state_, evaluation_, view_);
        switch (report_.stage(image, info.fileName)) {
            case StagedReport::Picture::Staged:
                return runReportPictureBlock(picture, report_.relativePath(info.fileName));
            case StagedReport::Picture::Empty:
                ++missing_;
                return {};
            case StagedReport::Picture::Failed:
                failed_ = true;
                return {};
        }
        return {};
    }
    int missing() const { return missing_; }
    /// A picture could not be written: the report is not written at all.
    bool failed() const { return failed_; }

  private:
    StagedReport& report_;
    const AppState& state_;
    const RunEvaluation& evaluation_;
    const RunReportView& view_;
    int missing_ = 0;
    bool failed_ = false;
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
    if (!hasNameBeforeExtension(path)) {
        platform.message(kNamelessReport);
        return result;
    }
    // Pictures and page are staged and put in place together at the end, so
    // a failure never leaves half a report where an earlier one was.
    StagedReport report(path, "");
    if (!report.makeFolder()) {
        platform.message(reportNotWrittenMessage(report.page()));
        return result;
    }
    const RunEvaluation evaluation = currentEvaluation(state, platform);
    PictureWriter pictures(report, state, evaluation, options.view);
    const std::string page = runReportPage(state, evaluation, pictures, options);
    if (pictures.failed() || !report.commit(page)) {
        platform.message(reportNotWrittenMessage(report.page()));
        return result;
    }
    result.written = true;
    result.picturesMissing = pictures.missing() + report.picturesNotPlaced();
    if (result.picturesMissing > 0)
        platform.message("Some pictures of the report could not be saved in " + report.folder());
    platform.openInDefaultProgram(report.page());
    return result;
}

}  // namespace quorvane
