#pragma once
/// The pictures of the reports, each drawn by its painter into an image of
/// the report's size: this file only chooses the painter and its inputs.

#include <QImage>
#include <QSize>
#include <cstddef>
#include <string>

#include "experiments/app_state.h"
#include "reports/report_run_html.h"
#include "views/surface_camera.h"

namespace quorvane {

/// What the run report takes over from the windows: the size of the Run
/// panel (the surface picture's size) and the View panel's camera. Without a
/// camera, or with one set for a field of another size, the picture is seen
/// from the camera's default place.
struct RunReportView {
    QSize surfaceSize{900, 600};
    const views::SurfaceCamera* camera = nullptr;
};

/// The data a report of the current run describes: those the run ran with,
/// or the current ones while no run has made a step.
const PhysicalData& reportData(const AppState& state);
const RunSettings& reportSettings(const AppState& state);

/// One picture of the run report, with the run's record evaluated as
/// `evaluation`; a null image when it cannot be drawn.
QImage drawRunPicture(RunPicture picture, const AppState& state, const RunEvaluation& evaluation,
                      const RunReportView& view);

/// Picture `index` of `kFullReportPictures`, of the data whose theory is computed.
QImage drawFullReportPicture(std::size_t index, const PhysicalData& data);

/// The velocity curves of the data, all three groups, on white, 800 x 600.
QImage drawReportChart(const PhysicalData& data);

/// Writes the picture as JPEG, whole or not at all; false when it cannot.
bool saveReportPicture(const QImage& image, const std::string& path);

}  // namespace quorvane
