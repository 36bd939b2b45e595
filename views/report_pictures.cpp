#include "views/report_pictures.h"

#include <QPainter>

#include "model/probabilities.h"
#include "model/units.h"
#include "views/growth_chart.h"
#include "views/picture_file.h"
#include "views/probability_charts.h"
#include "views/report_fields.h"
#include "views/surface_pictures.h"

namespace quorvane {
namespace {

QImage probabilities(const AppState& state) {
    QImage image = views::whitePicture(570, 330);
    const FieldGeometry& g = state.engine.displayGeometry();
    if (g.contact.n < 2) return {};  // no usable geometry for these data
    QPainter painter(&image);
    views::paintProbabilityChart(
        painter, image.rect(),
        makeProbabilityChart(g.E0, g.E8, g.Pint, g.contact.n, g.contact.adatomFraction,
                             g.contact.bottomFaceFraction));
    return image;
}

// TODO(views): stand-in until the temperature charts and the full report's
// figures of the pictures module are merged.
QImage standIn(int width, int height, const char* name) {
    QImage image = views::whitePicture(width, height);
    QPainter painter(&image);
    painter.drawRect(0, 0, width - 1, height - 1);
    painter.drawText(QRect(0, 0, width, height), Qt::AlignCenter, QString::fromLatin1(name));
    return image;
}

QImage theoretical(const PhysicalData& data) {
    (void)data;
    return standIn(800, 600, "theoretical chart");
}

QImage surface(const AppState& state, const RunReportView& view) {
    const GrowthEngine& engine = state.engine;
    const QSize size = view.surfaceSize;
    QImage image = views::whitePicture(size.width(), size.height());
    const FieldGeometry& g = engine.runGeometry();
    const views::FieldExtent field{engine.W(), engine.H(), g.contact.a, g.contact.b, g.contact.c};
    views::SurfaceCamera fitted;
    if (view.camera == nullptr) views::takeFieldSize(fitted, field, size);
    views::SurfaceInputs inputs;
    inputs.heights = engine.heights();
    inputs.field = field;
    inputs.referenceLevel = engine.referenceLevel();
    inputs.camera = view.camera != nullptr ? view.camera : &fitted;
    views::SurfacePainter painter;
    QPainter on(&image);
    painter.paintThreeD(on, image.rect(), inputs);
    return image;
}

QImage growthChart(const AppState& state) {
    QImage image = views::whitePicture(600, 400);
    const PhysicalData& d = state.data;
    views::GrowthChartInputs inputs;
    inputs.record = &state.results.record;
    inputs.evaluation = &state.results.evaluation;
    inputs.timeUnitsPerSecond = TimeUnitsPerSecond(d.time);
    inputs.sizeA = d.Size_A;
    inputs.lengthUnit = unitShortName(UnitKind::Length, d.dimension);
    inputs.timeUnit = unitShortName(UnitKind::Time, d.time);
    inputs.concentrationUnit = unitShortName(UnitKind::Concentration, d.concentration);
    inputs.concentrationExponent = unitExponent(UnitKind::Concentration, d.concentration);
    inputs.porous = state.run.Is_includes_porosity != 0;
    QPainter painter(&image);
    views::paintGrowthChart(painter, image.rect(), inputs);
    return image;
}

}  // namespace

QImage drawRunPicture(RunPicture picture, const AppState& state, const RunReportView& view) {
    switch (picture) {
        case RunPicture::Probabilities:
            return probabilities(state);
        case RunPicture::Theoretical:
            return theoretical(state.data);
        case RunPicture::Surface:
            return surface(state, view);
        case RunPicture::GrowthChart:
            return growthChart(state);
    }
    return {};
}

QImage drawFullReportPicture(std::size_t index, const PhysicalData& data) {
    (void)data;
    const FullReportPicture& p = kFullReportPictures[index];
    return standIn(p.width, p.height, p.fileName);
}

QImage drawReportChart(const PhysicalData& data) {
    (void)data;
    return standIn(800, 600, "velocity curves");
}

bool saveReportPicture(const QImage& image, const std::string& path) {
    return views::saveJpeg(image, QString::fromStdString(path)) == views::SaveStatus::Ok;
}

}  // namespace quorvane
