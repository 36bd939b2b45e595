// The growth chart of the Results panel and of the HTML run report.

#include "views/growth_chart.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "common/cformat.h"
#include "experiments/app_state.h"
#include "model/units.h"
#include "views/chart_frame.h"
#include "views/growth_chart_curves.h"
#include "views/painter_text.h"

namespace quorvane::views {

namespace {

using Curve = GrowthCurve;

void drawNotice(QPainter& painter, const QRect& area) {
    painter.setPen(Qt::black);
    painter.setFont(tickLabelFont());
    const QPoint centre = area.center();
    drawTextTopLeft(painter, centre.x() - 100, centre.y(), QStringLiteral("No data collected yet"));
}

// A short line rising from the time axis at each filled layer, one a pixel column.
void drawLayerMarks(QPainter& painter, const ChartFrame& frame, const GrowthRecord& record,
                    const GrowthChartInputs& inputs) {
    painter.setPen(QPen(inputs.style.distance, 2));
    const std::vector<std::size_t>& crossings = inputs.evaluation->crossings;
    int previous = INT_MIN;
    for (std::size_t k = 1; k < crossings.size(); ++k) {
        if (crossings[k] >= record.count()) continue;
        const int x = frame.pixelX(record.time(crossings[k]) * inputs.timeUnitsPerSecond);
        if (x == previous) continue;
        painter.drawLine(x, frame.py0, x, frame.py0 - 15);
        previous = x;
    }
}

// One axis column: the upward title, the axis line one title height plus `gap`
// right of it, the labels. Returns the right end of the widest label.
int drawColumn(QPainter& painter, ChartFrame& frame, int titleX, int gap, const Curve& curve,
               const std::string& title, double factor, GrowthChartLayout& layout) {
    frame.setYRange(curve.y0, curve.y1);
    painter.setPen(curve.colour);
    painter.setFont(axisTitleFont());
    const int titleHeight = painter.fontMetrics().height();
    drawTextUpward(painter, titleX, frame.py0 - 200, fromWindows1252(compactTitle(title)));
    const int axisX = titleX + titleHeight + gap;
    painter.setFont(tickLabelFont());
    const int widest =
        drawVerticalAxis(painter, frame, axisX, QPen(curve.colour, 2), 6, 5, 3, factor);
    layout.axisX.push_back(axisX);
    ++layout.columns;
    return axisX + 6 + widest;
}

}  // namespace

std::vector<std::size_t> chartSampleIndices(std::size_t count, std::size_t first) {
    std::vector<std::size_t> indices;
    if (count == 0 || first >= count) return indices;
    const std::size_t p = count / 1000 + 1;
    indices.reserve((count - first) / p + 2);
    for (std::size_t i = first; i < count; i += p) indices.push_back(i);
    if (indices.back() != count - 1) indices.push_back(count - 1);
    return indices;
}

GrowthChartLayout paintGrowthChart(QPainter& painter, const QRect& area,
                                   const GrowthChartInputs& inputs) {
    PainterSaver saver(painter);
    GrowthChartLayout layout;
    painter.setPen(Qt::NoPen);
    painter.setBrush(inputs.style.background);
    painter.drawRect(area);
    painter.setBrush(Qt::NoBrush);
    painter.setBackgroundMode(Qt::TransparentMode);
    const GrowthRecord* record = inputs.record;
    if (record == nullptr || record->count() < 2) {
        drawNotice(painter, area);
        return layout;
    }
    layout.empty = false;
    const std::size_t count = record->count();
    const ChartExtremes& e = record->extremes();
    const int left = area.left(), bottom = area.bottom() + 1;

    ChartFrame frame;
    frame.setPixels(left, bottom - 60, area.right() + 1 - 10, area.top() + 10);
    frame.setXRange(0, record->time(count - 1) * inputs.timeUnitsPerSecond);

    std::vector<Curve> curves;
    const double hSpan = e.heightMax - e.heightMin;
    curves.push_back({ChartSeries::Height, 1, e.heightMin, e.heightMax + 0.05 * hSpan, 0,
                      inputs.style.distance});
    const double rSpan = e.roughnessMax - e.roughnessMin;
    curves.push_back({ChartSeries::Roughness, 1, e.roughnessMin - 0.05 * rSpan,
                      e.roughnessMax + 0.15 * rSpan, 0, inputs.style.roughness});
    int x =
        drawColumn(painter, frame, left + 2, 4, curves[0], "Grown distance,  (layers)", 1, layout);
    x = drawColumn(painter, frame, x + 4, 4, curves[1], "Roughness,  (layers)", 1, layout);

    const std::int64_t firstRate = record->firstRateIndex();
    const double toRate = inputs.sizeA / inputs.timeUnitsPerSecond;
    const double rateMin = e.rateMin * toRate, rateMax = e.rateMax * toRate;
    const double rateSpan = rateMax - rateMin;
    if (firstRate > 0 && static_cast<std::size_t>(firstRate) < count - 1 && rateSpan > 1e-40) {
        // Layers per second into the current length unit per current time unit.
        curves.push_back({ChartSeries::Rate, toRate, rateMin - 0.1 * rateSpan,
                          rateMax + 0.03 * rateSpan, static_cast<std::size_t>(firstRate),
                          inputs.style.rate});
        const std::string title =
            cformat("Growth rate, (%s/%s)", inputs.lengthUnit.c_str(), inputs.timeUnit.c_str());
        x = drawColumn(painter, frame, x + 4, 4, curves.back(), title, 1, layout);
    }
    const double pSpan = e.porosityMax - e.porosityMin;
    if (inputs.porous && record->hasPorosity() && pSpan > 1e-20) {
        curves.push_back({ChartSeries::Porosity, 1, e.porosityMin - 0.001 * pSpan,
                          e.porosityMax + 0.05 * pSpan, 0, inputs.style.porosity});
        const std::string title = cformat("Porocity, (%s)", inputs.concentrationUnit.c_str());
        // Parts are the first concentration unit: percent labels read 100 times larger.
        const double factor = std::pow(10.0, -inputs.concentrationExponent);
        x = drawColumn(painter, frame, x + 4, 4, curves.back(), title, factor, layout);
    }

    frame.setPixels(x + 5, frame.py0, frame.px1, frame.py1);
    layout.plot = QRect(QPoint(frame.px0, frame.py1), QPoint(frame.px1, frame.py0));
    const auto spans = growthCurveSpans(frame, *record, inputs.timeUnitsPerSecond, curves);
    for (std::size_t c = 0; c < curves.size(); ++c)
        drawCurveSpans(painter, spans[c], curves[c].colour);

    painter.setPen(QPen(Qt::black, 2));
    painter.drawLine(frame.px0, frame.py0, frame.px1, frame.py0);
    painter.setPen(Qt::black);
    painter.setFont(tickLabelFont());
    drawTimeAxis(painter, frame, frame.py0, QPen(inputs.style.grid, 1, Qt::DashLine), 5, 1, "%.3g",
                 area.right());
    painter.setFont(axisTitleFont());
    drawTitle(painter, cformat("Time, (%s)", inputs.timeUnit.c_str()), frame.px1 - 170,
              frame.py0 + 30);

    if (inputs.evaluation != nullptr) drawLayerMarks(painter, frame, *record, inputs);
    return layout;
}

GrowthChartInputs growthChartInputs(const AppState& state) {
    const PhysicalData& d = state.results.runData;
    GrowthChartInputs inputs;
    inputs.record = &state.results.record;
    inputs.evaluation = &state.results.evaluation;
    inputs.timeUnitsPerSecond = TimeUnitsPerSecond(d.time);
    inputs.sizeA = d.Size_A;
    inputs.lengthUnit = unitShortName(UnitKind::Length, d.dimension);
    inputs.timeUnit = unitShortName(UnitKind::Time, d.time);
    inputs.concentrationUnit = unitShortName(UnitKind::Concentration, d.concentration);
    inputs.concentrationExponent = unitExponent(UnitKind::Concentration, d.concentration);
    inputs.porous = state.results.runSettings.Is_includes_porosity != 0;
    return inputs;
}

}  // namespace quorvane::views
