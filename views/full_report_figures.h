#pragma once
/// The seven pictures of the full report and the report chart of the Data panel,
/// drawn from the current physical data and its theory.

#include <QImage>
#include <QPainter>
#include <QRect>
#include <array>

#include "model/physical_data.h"

namespace quorvane::views {

enum class ReportFigure {
    Molecule,      ///< the molecule as a box in oblique view
    PhaseDiagram,  ///< the liquidus line with the current state
    CrystalAtCurrentTemperature,
    VelocityCurves,            ///< velocity, roughness and porosity against temperature
    CurvesAllDirections,       ///< the three directions, from the liquidus to the zoom
    CurvesSmallSupercoolings,  ///< the same over the tenth of that range nearest the liquidus
    ShapesOfGrowingCrystal,    ///< the crystal's shape at temperatures below the liquidus
};

struct ReportFigureLayout {
    ReportFigure figure;
    const char* fileName;
    int width;
    int height;
};

/// The seven pictures in the order they are made, with their file names and sizes.
const std::array<ReportFigureLayout, 7>& reportFigureLayouts();

/// Temperatures evaluated along the temperature curves.
inline constexpr int kFigureTemperatureSteps = 100;

/// Draws a figure of `data` into `area` on white. The data are copied: the theory
/// is evaluated on the copy, never on the caller's data.
void paintReportFigure(QPainter& painter, const QRect& area, ReportFigure figure,
                       const PhysicalData& data);

/// A figure on a white picture of its report size.
QImage drawReportFigure(ReportFigure figure, const PhysicalData& data);

/// The report chart of the Data panel: the velocity curves with all three curve
/// groups on, 800 x 600.
QImage drawReportChart(const PhysicalData& data);

/// Relative extents of the crystal along A, B and C: the Halvik growth rates of
/// the directions, scaled so that the largest is 1. A direction without a rate
/// keeps a sliver of 0.02 so that the box stays visible; all 0 without any rate.
std::array<double, 3> crystalProportions(double va, double vb, double vc);

}  // namespace quorvane::views
