// The pictures of the full report.

#include "views/full_report_figures.h"

#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <vector>

#include "common/cformat.h"
#include "model/temperature_sweep.h"
#include "model/theory.h"
#include "model/units.h"
#include "views/chart_frame.h"
#include "views/painter_text.h"
#include "views/phase_diagram.h"
#include "views/picture_file.h"
#include "views/temperature_charts.h"

namespace quorvane::views {

namespace {

// Depth drawn at 0.75 of its length, slanting up to the right.
constexpr double kObliqueShrink = 0.75;
constexpr double kObliqueCos = 0.70710678118654752;

QFont figureFont(int height = 16, int weight = 500) {
    return makeFont(kChartFamily, height, weight);
}

const char* lengthName(const PhysicalData& d) {
    return unitShortName(UnitKind::Length, d.dimension);
}

// A box of width w (C, across), height h (A, up) and depth b (B, slanting), its
// front lower left corner at `origin`, in pixels.
void drawBox(QPainter& painter, QPointF origin, double w, double h, double b, const QColor& face) {
    const double dx = b * kObliqueShrink * kObliqueCos, dy = -b * kObliqueShrink * kObliqueCos;
    const QPointF p0 = origin, p1 = origin + QPointF(w, 0), p2 = origin + QPointF(w, -h),
                  p3 = origin + QPointF(0, -h);
    const QPointF d(dx, dy);
    const QPointF front[4] = {p0, p1, p2, p3};
    const QPointF top[4] = {p3, p2, p2 + d, p3 + d};
    const QPointF side[4] = {p1, p1 + d, p2 + d, p2};
    painter.setPen(QPen(Qt::black, 1.5));
    painter.setBrush(face);
    painter.drawPolygon(front, 4);
    painter.setBrush(face.lighter(130));
    painter.drawPolygon(top, 4);
    painter.setBrush(face.darker(125));
    painter.drawPolygon(side, 4);
}

// Scale to fit a box of sizes (w, h, b) into `room` pixels, leaving the oblique depth.
double boxScale(double w, double h, double b, QSizeF room) {
    const double depth = b * kObliqueShrink * kObliqueCos;
    const double across = w + depth, up = h + depth;
    if (!(across > 0) || !(up > 0)) return 0;
    return std::min(room.width() / across, room.height() / up);
}

void paintMolecule(QPainter& painter, const QRect& area, const PhysicalData& d) {
    const double a = d.Size_A, b = d.Size_B, c = d.Size_C;
    painter.setFont(figureFont());
    const int line = painter.fontMetrics().height();
    const QRectF room(area.left() + 60, area.top() + line + 10, area.width() - 150,
                      area.height() - 2 * line - 30);
    const double s = boxScale(c, a, b, room.size());
    if (s > 0) {
        const double depth = b * s * kObliqueShrink * kObliqueCos;
        const QPointF origin(room.left() + (room.width() - c * s - depth) / 2,
                             room.bottom() - (room.height() - a * s - depth) / 2);
        drawBox(painter, origin, c * s, a * s, b * s, QColor(150, 190, 230));
        painter.setPen(Qt::black);
        const QString cLabel = QString::fromStdString(cformat("c = %g %s", c, lengthName(d)));
        drawTextTopLeft(painter,
                        static_cast<int>(origin.x() + c * s / 2 - textWidth(painter, cLabel) / 2),
                        static_cast<int>(origin.y()) + 3, cLabel);
        const QString aLabel = QString::fromStdString(cformat("a = %g %s", a, lengthName(d)));
        drawTextTopLeft(painter, static_cast<int>(origin.x()) - textWidth(painter, aLabel) - 4,
                        static_cast<int>(origin.y() - a * s / 2) - line / 2, aLabel);
        const QString bLabel = QString::fromStdString(cformat("b = %g %s", b, lengthName(d)));
        drawTextTopLeft(painter, static_cast<int>(origin.x() + c * s + depth / 2) + 6,
                        static_cast<int>(origin.y() - depth / 2) - line / 2, bLabel);
    }
    // The growth direction runs along A, upward.
    const int x = area.right() - 40, y0 = area.bottom() - 40, y1 = area.top() + line + 20;
    painter.setPen(QPen(QColor(200, 0, 0), 3));
    painter.drawLine(x, y0, x, y1);
    const QPointF head[3] = {QPointF(x, y1 - 8), QPointF(x - 7, y1 + 6), QPointF(x + 7, y1 + 6)};
    painter.setBrush(QColor(200, 0, 0));
    painter.drawPolygon(head, 3);
    painter.setPen(QColor(200, 0, 0));
    const QString label = QStringLiteral("growth direction");
    drawTextTopLeft(painter, area.right() - textWidth(painter, label) - 4, y0 + 6, label);
}

// A crystal of extents p (A up, B slanting, C across) filling the room.
void drawCrystal(QPainter& painter, const QRectF& room, const std::array<double, 3>& p) {
    const double s = boxScale(p[2], p[0], p[1], room.size());
    if (!(s > 0)) return;
    const double depth = p[1] * s * kObliqueShrink * kObliqueCos;
    const QPointF origin(room.left() + (room.width() - p[2] * s - depth) / 2,
                         room.bottom() - (room.height() - p[0] * s - depth) / 2);
    drawBox(painter, origin, p[2] * s, p[0] * s, p[1] * s, QColor(170, 215, 170));
}

void paintCrystal(QPainter& painter, const QRect& area, PhysicalData d) {
    computeTheoryQuietly(d);
    painter.setFont(figureFont(14));
    const int line = painter.fontMetrics().height();
    const std::array<double, 3> p = crystalProportions(d.Va_kes, d.Vb_kes, d.Vc_kes);
    drawCrystal(painter,
                QRectF(area.left() + 20, area.top() + line + 14, area.width() - 40,
                       area.height() - 2 * line - 34),
                p);
    painter.setPen(Qt::black);
    const QString title = fromWindows1252(cformat(
        "T = %0.4g %s", d.Temperature, unitShortName(UnitKind::Temperature, d.temperature)));
    drawTextTopLeft(painter, area.left() + 6, area.top() + 4, title);
    const QString ratio =
        QString::fromStdString(cformat("A : B : C = %0.2g : %0.2g : %0.2g", p[0], p[1], p[2]));
    drawTextTopLeft(painter, area.left() + 6, area.bottom() - line - 4, ratio);
}

void paintShapes(QPainter& painter, const QRect& area, const PhysicalData& d) {
    const TemperatureSweep sweep = sweepTemperatures(d, kFigureTemperatureSteps);
    painter.setFont(figureFont(16));
    const int line = painter.fontMetrics().height();
    const char* unit = unitShortName(UnitKind::Temperature, d.temperature);
    painter.setPen(Qt::black);
    drawTextTopLeft(painter, area.left() + 8, area.top() + 4,
                    fromWindows1252(cformat("Temperature, %s", unit)));
    const int axisX = area.left() + 90;
    const int top = area.top() + line + 30, bottom = area.bottom() - 20;
    painter.setPen(QPen(Qt::black, 2));
    painter.drawLine(axisX, top, axisX, bottom);
    // The liquidus at the top: no growth there, only its mark.
    painter.drawLine(axisX - 6, top, axisX + 6, top);
    drawTextTopLeft(painter, axisX - 30, top - line / 2, QStringLiteral("Tl"));
    const int n = static_cast<int>(sweep.temperature.size());
    if (n < 2) return;
    constexpr int kRows = 8;
    const int rowHeight = (bottom - top) / kRows;

    for (int row = 1; row <= kRows; ++row) {
        const int i = std::min(n - 1, row * (n - 1) / kRows);
        const int y = top + row * rowHeight;
        painter.setPen(QPen(Qt::black, 2));
        painter.drawLine(axisX - 6, y, axisX, y);
        painter.setPen(Qt::black);
        const QString label = QString::fromStdString(
            cformat("%0.4g", sweep.temperature[static_cast<std::size_t>(i)]));
        drawTextTopLeft(painter, axisX - 10 - textWidth(painter, label), y - line / 2, label);
        auto rateAt = [&](int direction) {
            const HalvikCurve& curve = sweep.curves[static_cast<std::size_t>(direction)];
            return i < curve.definedCount() ? curve.rate[static_cast<std::size_t>(i)] : 0.0;
        };
        // Each row shows the shape, scaled to its row: the rates themselves fall by
        // orders of magnitude from the liquidus down.
        const std::array<double, 3> p = crystalProportions(rateAt(0), rateAt(1), rateAt(2));
        drawCrystal(
            painter,
            QRectF(axisX + 30, y - rowHeight + 8, area.right() - axisX - 50, rowHeight - 12), p);
        painter.setPen(Qt::black);
        const QString ratio =
            QString::fromStdString(cformat("A : B : C = %0.2g : %0.2g : %0.2g", p[0], p[1], p[2]));
        drawTextTopLeft(painter, area.right() - textWidth(painter, ratio) - 6, y - line - 2, ratio);
    }
}

void paintCurves(QPainter& painter, const QRect& area, const PhysicalData& d, ReportFigure figure) {
    PhysicalData data = d;
    if (figure == ReportFigure::CurvesSmallSupercoolings)
        data.Paint_temp_curve_with_zoom = 1 - 0.1 * (1 - d.Paint_temp_curve_with_zoom);
    const TemperatureSweep sweep = sweepTemperatures(data, kFigureTemperatureSteps);
    const TemperatureChartKind kind = figure == ReportFigure::VelocityCurves
                                          ? TemperatureChartKind::Velocity
                                          : TemperatureChartKind::AllDirections;
    TemperatureChartInputs inputs = temperatureChartInputs(data, sweep, kind);
    if (kind == TemperatureChartKind::Velocity) {
        inputs.showRates = inputs.showRoughness = inputs.showPorosity = true;
    }
    paintTemperatureChart(painter, area, inputs);
}

}  // namespace

const std::array<ReportFigureLayout, 7>& reportFigureLayouts() {
    static const std::array<ReportFigureLayout, 7> layouts{{
        {ReportFigure::Molecule, "molecule.jpg", 300, 250},
        {ReportFigure::PhaseDiagram, "phase_diagram.jpg", 400, 300},
        {ReportFigure::CrystalAtCurrentTemperature, "crystal_cur_temp.jpg", 250, 250},
        {ReportFigure::VelocityCurves, "cur_temp_curve.jpg", 800, 500},
        {ReportFigure::CurvesAllDirections, "temp_curves_all_dir.jpg", 800, 700},
        {ReportFigure::CurvesSmallSupercoolings, "temp_curves_all_dir_small_supercoolings.jpg", 800,
         700},
        {ReportFigure::ShapesOfGrowingCrystal, "shapes_of_gr_crystal.jpg", 600, 1000},
    }};
    return layouts;
}

std::array<double, 3> crystalProportions(double va, double vb, double vc) {
    std::array<double, 3> p{va, vb, vc};
    double largest = 0;
    for (double& v : p) {
        if (!std::isfinite(v) || v < 0) v = 0;
        largest = std::max(largest, v);
    }
    if (largest == 0) return {0, 0, 0};
    for (double& v : p) v = std::max(v / largest, 0.02);
    return p;
}

void paintReportFigure(QPainter& painter, const QRect& area, ReportFigure figure,
                       const PhysicalData& data) {
    PainterSaver saver(painter);
    painter.fillRect(area, Qt::white);
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setRenderHint(QPainter::Antialiasing, true);
    switch (figure) {
        case ReportFigure::Molecule:
            paintMolecule(painter, area, data);
            break;
        case ReportFigure::PhaseDiagram:
            paintPhaseDiagram(painter, area, data);
            break;
        case ReportFigure::CrystalAtCurrentTemperature:
            paintCrystal(painter, area, data);
            break;
        case ReportFigure::VelocityCurves:
        case ReportFigure::CurvesAllDirections:
        case ReportFigure::CurvesSmallSupercoolings:
            paintCurves(painter, area, data, figure);
            break;
        case ReportFigure::ShapesOfGrowingCrystal:
            paintShapes(painter, area, data);
            break;
    }
}

QImage drawReportFigure(ReportFigure figure, const PhysicalData& data) {
    for (const ReportFigureLayout& layout : reportFigureLayouts()) {
        if (layout.figure != figure) continue;
        QImage image = whitePicture(layout.width, layout.height);
        QPainter painter(&image);
        paintReportFigure(painter, image.rect(), figure, data);
        return image;
    }
    return {};
}

QImage drawReportChart(const PhysicalData& data) {
    QImage image = whitePicture(800, 600);
    QPainter painter(&image);
    paintReportFigure(painter, image.rect(), ReportFigure::VelocityCurves, data);
    return image;
}

}  // namespace quorvane::views
