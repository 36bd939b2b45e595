// The phase diagram of the full report.

#include "views/phase_diagram.h"

#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <vector>

#include "common/cformat.h"
#include "model/theory.h"
#include "model/units.h"
#include "views/chart_frame.h"
#include "views/label_placement.h"
#include "views/painter_text.h"

namespace quorvane::views {

namespace {

// The liquidus from a dilute solution up to the pure melt: concentrations in the
// data's unit and temperatures in its scale.
void sampleLiquidus(const PhysicalData& d, std::vector<double>& xs, std::vector<double>& ts) {
    for (int i = 0; i <= 200; ++i) {
        const double fraction = std::pow(10.0, -3.0 + 3.0 * i / 200);
        const double t = liquidusFromConcentration(d, fraction);
        if (!std::isfinite(t)) continue;
        xs.push_back(concentrationInUnit(d, fraction));
        ts.push_back(t);
    }
}

// The current state: the solution's concentration at its liquidus, and the growth
// temperature below it, each dot with its label where no line crosses it.
void drawCurrentState(QPainter& painter, LabelPlacer& placer, const ChartFrame& frame,
                      const PhysicalData& d) {
    const QPoint liquidus = frame.map(d.Concentration, d.Temperature_of_Liquidus);
    const QPoint growth = frame.map(d.Concentration, d.Temperature);
    const QColor red(200, 0, 0);
    painter.setPen(QPen(red, 1, Qt::DashLine));
    painter.drawLine(liquidus, growth);
    placer.avoid(QLine(liquidus, growth));
    painter.setPen(red);
    painter.setBrush(red);
    for (const QPoint& dot : {liquidus, growth}) {
        painter.drawEllipse(dot, 4, 4);
        placer.avoid(QRect(dot - QPoint(4, 4), QSize(9, 9)));
    }
    painter.setBrush(Qt::NoBrush);
    placePointLabel(painter, placer, liquidus,
                    QString::fromStdString(cformat("Tl = %0.2g", d.Temperature_of_Liquidus)));
    placePointLabel(painter, placer, growth,
                    QString::fromStdString(cformat("T = %0.2g", d.Temperature)));
}

// The frame with five numbers on each axis and the axis titles.
void drawPhaseAxes(QPainter& painter, const ChartFrame& frame, const QRect& area,
                   const PhysicalData& d) {
    const int line = painter.fontMetrics().height();
    painter.setPen(Qt::black);
    painter.drawRect(QRect(QPoint(frame.px0, frame.py1), QPoint(frame.px1, frame.py0)));
    // Tick labels with "%0.2g", as every number of this picture.
    for (int k = 0; k <= 4; ++k) {
        const double t = frame.y0 + (frame.y1 - frame.y0) * k / 4;
        const int y = frame.pixelY(t);
        painter.drawLine(frame.px0 - 4, y, frame.px0, y);
        const QString label = QString::fromStdString(cformat("%0.2g", t));
        drawTextTopLeft(painter, frame.px0 - 6 - textWidth(painter, label), y - line / 2, label);
        const double c = frame.x1 * k / 4;
        const int x = frame.pixelX(c);
        painter.drawLine(x, frame.py0, x, frame.py0 + 4);
        const QString cLabel = QString::fromStdString(cformat("%0.2g", c));
        drawTextTopLeft(painter, x - textWidth(painter, cLabel) / 2, frame.py0 + 5, cLabel);
    }
    const QString xTitle = fromWindows1252(
        cformat("Concentration, %s", unitShortName(UnitKind::Concentration, d.concentration)));
    drawTextTopLeft(painter, (frame.px0 + frame.px1 - textWidth(painter, xTitle)) / 2,
                    frame.py0 + line + 6, xTitle);
    const QString yTitle = fromWindows1252(
        cformat("Temperature, %s", unitShortName(UnitKind::Temperature, d.temperature)));
    // Above the plot's left edge, clear of the numbers of the value axis.
    drawTextTopLeft(painter, frame.px0, area.top() + 2, yTitle);
}

}  // namespace

void paintPhaseDiagram(QPainter& painter, const QRect& area, const PhysicalData& d) {
    painter.setFont(makeFont(kChartFamily, 14, 500));
    const int line = painter.fontMetrics().height();
    const double full = concentrationInUnit(d, 1.0);
    std::vector<double> xs, ts;
    sampleLiquidus(d, xs, ts);
    if (xs.size() < 2) return;
    const auto [tLow, tHigh] = std::minmax_element(ts.begin(), ts.end());
    double y0 = std::min(*tLow, d.Temperature), y1 = std::max(*tHigh, d.Temperature_of_Melt);
    const double span = y1 - y0 > 0 ? y1 - y0 : 1;
    y0 -= 0.05 * span;
    y1 += 0.08 * span;
    ChartFrame frame;
    frame.setPixels(area.left() + 60, area.bottom() - 2 * line - 8, area.right() - 12,
                    area.top() + line + 8);
    frame.setXRange(0, full);
    frame.setYRange(y0, y1);
    drawPhaseAxes(painter, frame, area, d);
    QPolygon curve;
    for (std::size_t i = 0; i < xs.size(); ++i) curve.append(frame.map(xs[i], ts[i]));
    painter.setPen(QPen(QColor(0, 0, 200), 2));
    painter.drawPolyline(curve);
    LabelPlacer placer(
        QRect(QPoint(frame.px0 + 2, frame.py1 + 2), QPoint(frame.px1 - 2, frame.py0 - 2)));
    placer.avoid(curve);
    drawCurrentState(painter, placer, frame, d);
    // The two regions named in their corners: the melt above the liquidus, the
    // melt with crystal below it.
    painter.setPen(QColor(0, 0, 200));
    placeText(painter, placer, QPoint(frame.px0, frame.py1), QStringLiteral("liquid"), 6);
    placeText(painter, placer, QPoint(frame.px1, frame.py0), QStringLiteral("liquid + crystal"), 6);
}

}  // namespace quorvane::views
