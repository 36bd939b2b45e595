#include "reports/report_pictures.h"

#include <QPainter>

#include "model/temperature_sweep.h"
#include "model/units.h"
#include "sheets/engine_charts.h"
#include "views/full_report_figures.h"
#include "views/growth_chart.h"
#include "views/picture_file.h"
#include "views/probability_charts.h"
#include "views/surface_pictures.h"
#include "views/temperature_charts.h"

namespace quorvane {
namespace {

QImage probabilities(const AppState& state) {
    const EngineCharts charts = engineChartsFor(reportData(state), reportSettings(state));
    if (!charts.probability) return {};  // no usable geometry for these data
    QImage image = views::whitePicture(570, 330);
    QPainter painter(&image);
    views::paintProbabilityChart(painter, image.rect(), *charts.probability);
    return image;
}

/// The theoretical chart with all three curve groups, whatever the Data
/// panel's chart shows at the moment.
QImage theoretical(const PhysicalData& data) {
    QImage image = views::whitePicture(800, 600);
    const TemperatureSweep sweep = sweepTemperatures(data, views::kFigureTemperatureSteps);
    views::TemperatureChartInputs inputs =
        views::temperatureChartInputs(data, sweep, views::TemperatureChartKind::Theoretical);
    inputs.showRates = inputs.showRoughness = inputs.showPorosity = true;
    QPainter painter(&image);
    views::paintTemperatureChart(painter, image.rect(), inputs);
    return image;
}

QImage surface(const AppState& state, const RunReportView& view) {
    const GrowthEngine& engine = state.engine;
    // A panel that has never been laid out has no size yet: the report's own then.
    const QSize size = view.surfaceSize.isEmpty() ? RunReportView{}.surfaceSize : view.surfaceSize;
    QImage image = views::whitePicture(size.width(), size.height());
    const FieldGeometry& g = engine.runGeometry();
    const views::FieldExtent field{engine.W(), engine.H(), g.contact.a, g.contact.b, g.contact.c};
    // The View panel's camera looks at the field it was set for; a field of
    // another size is seen from the default place instead.
    const bool ownCamera = view.camera != nullptr && view.camera->field.W == field.W &&
                           view.camera->field.H == field.H;
    views::SurfaceCamera fitted;
    if (!ownCamera) views::takeFieldSize(fitted, field, size);
    views::SurfaceInputs inputs;
    inputs.heights = engine.heights();
    inputs.field = field;
    inputs.referenceLevel = engine.referenceLevel();
    inputs.camera = ownCamera ? view.camera : &fitted;
    views::SurfacePainter painter;
    QPainter on(&image);
    painter.paintThreeD(on, image.rect(), inputs);
    return image;
}

QImage growthChart(const AppState& state, const RunEvaluation& evaluation) {
    QImage image = views::whitePicture(600, 400);
    views::GrowthChartInputs inputs = views::growthChartInputs(state);
    inputs.evaluation = &evaluation;
    QPainter painter(&image);
    views::paintGrowthChart(painter, image.rect(), inputs);
    return image;
}

}  // namespace

const PhysicalData& reportData(const AppState& state) {
    return state.results.record.empty() ? state.data : state.results.runData;
}

const RunSettings& reportSettings(const AppState& state) {
    return state.results.record.empty() ? state.run : state.results.runSettings;
}

QImage drawRunPicture(RunPicture picture, const AppState& state, const RunEvaluation& evaluation,
                      const RunReportView& view) {
    switch (picture) {
        case RunPicture::Probabilities:
            return probabilities(state);
        case RunPicture::Theoretical:
            return theoretical(reportData(state));
        case RunPicture::Surface:
            return surface(state, view);
        case RunPicture::GrowthChart:
            return growthChart(state, evaluation);
    }
    return {};
}

QImage drawFullReportPicture(std::size_t index, const PhysicalData& data) {
    const auto& layouts = views::reportFigureLayouts();
    if (index >= layouts.size()) return {};
    return views::drawReportFigure(layouts[index].figure, data);
}

QImage drawReportChart(const PhysicalData& data) {
    return views::drawReportChart(data);
}

bool saveReportPicture(const QImage& image, const std::string& path) {
    return views::saveJpeg(image, QString::fromStdString(path)) == views::SaveStatus::Ok;
}

}  // namespace quorvane
