// The growth chart of the Results panel and of the HTML run report.

#include "views/growth_chart.h"

#include <QPolygon>
#include <algorithm>
#include <cmath>

#include "common/cformat.h"
#include "experiments/app_state.h"
#include "model/units.h"
#include "views/chart_frame.h"
#include "views/painter_text.h"

namespace quorvane::views {

namespace {

// One curve of the chart: its values per sample (already in display units), its
// range and where it starts.
struct Curve {
    double (*value)(const GrowthRecord&, std::size_t, const GrowthChartInputs&);
    double y0 = 0, y1 = 1;
    std::size_t first = 0;
    QColor colour;
};

double distanceAt(const GrowthRecord& r, std::size_t i, const GrowthChartInputs&) {
    return r.height(i);
}
double roughnessAt(const GrowthRecord& r, std::size_t i, const GrowthChartInputs&) {
    return r.roughness(i);
}
// Layers per second into the current length unit per current time unit.
double rateAt(const GrowthRecord& r, std::size_t i, const GrowthChartInputs& in) {
    return r.rate(i) * in.sizeA / in.timeUnitsPerSecond;
}
double porosityAt(const GrowthRecord& r, std::size_t i, const GrowthChartInputs&) {
    return r.porosity(i);
}

void drawNotice(QPainter& painter, const QRect& area) {
    painter.setPen(Qt::black);
    painter.setFont(tickLabelFont());
    const QPoint centre = area.center();
    drawTextTopLeft(painter, centre.x() - 100, centre.y(), QStringLiteral("No data collected yet"));
}

void drawCurve(QPainter& painter, ChartFrame& frame, const GrowthRecord& record,
               const GrowthChartInputs& inputs, const Curve& curve) {
    frame.setYRange(curve.y0, curve.y1);
    const std::vector<std::size_t> samples = chartSampleIndices(record.count(), curve.first);
    QPolygon line;
    line.reserve(static_cast<qsizetype>(samples.size()));
    const double toUnit = inputs.timeUnitsPerSecond;
    for (const std::size_t i : samples)
        line.append(frame.map(record.time(i) * toUnit, curve.value(record, i, inputs)));
    drawThickPolyline(painter, line.constData(), static_cast<int>(line.size()), curve.colour);
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
    curves.push_back(
        {distanceAt, e.heightMin, e.heightMax + 0.05 * hSpan, 0, inputs.style.distance});
    const double rSpan = e.roughnessMax - e.roughnessMin;
    curves.push_back({roughnessAt, e.roughnessMin - 0.05 * rSpan, e.roughnessMax + 0.15 * rSpan, 0,
                      inputs.style.roughness});
    int x =
        drawColumn(painter, frame, left + 2, 4, curves[0], "Grown distance,  (layers)", 1, layout);
    x = drawColumn(painter, frame, x + 4, 4, curves[1], "Roughness,  (layers)", 1, layout);

    const std::int64_t firstRate = record->firstRateIndex();
    const double toRate = inputs.sizeA / inputs.timeUnitsPerSecond;
    const double rateMin = e.rateMin * toRate, rateMax = e.rateMax * toRate;
    const double rateSpan = rateMax - rateMin;
    if (firstRate > 0 && static_cast<std::size_t>(firstRate) < count - 1 && rateSpan > 1e-40) {
        curves.push_back({rateAt, rateMin - 0.1 * rateSpan, rateMax + 0.03 * rateSpan,
                          static_cast<std::size_t>(firstRate), inputs.style.rate});
        const std::string title =
            cformat("Growth rate, (%s/%s)", inputs.lengthUnit.c_str(), inputs.timeUnit.c_str());
        x = drawColumn(painter, frame, x + 4, 4, curves.back(), title, 1, layout);
    }
    const double pSpan = e.porosityMax - e.porosityMin;
    if (inputs.porous && record->hasPorosity() && pSpan > 1e-20) {
        curves.push_back({porosityAt, e.porosityMin - 0.001 * pSpan, e.porosityMax + 0.05 * pSpan,
                          0, inputs.style.porosity});
        const std::string title = cformat("Porocity, (%s)", inputs.concentrationUnit.c_str());
        // Parts are the first concentration unit: percent labels read 100 times larger.
        const double factor = std::pow(10.0, -inputs.concentrationExponent);
        x = drawColumn(painter, frame, x + 4, 4, curves.back(), title, factor, layout);
    }

    frame.setPixels(x + 5, frame.py0, frame.px1, frame.py1);
    layout.plot = QRect(QPoint(frame.px0, frame.py1), QPoint(frame.px1, frame.py0));
    for (const Curve& curve : curves) drawCurve(painter, frame, *record, inputs, curve);

    painter.setPen(QPen(Qt::black, 2));
    painter.drawLine(frame.px0, frame.py0, frame.px1, frame.py0);
    painter.setPen(Qt::black);
    painter.setFont(tickLabelFont());
    drawTimeAxis(painter, frame, frame.py0, QPen(inputs.style.grid, 1, Qt::DashLine));
    painter.setFont(axisTitleFont());
    drawTitle(painter, cformat("Time, (%s)", inputs.timeUnit.c_str()), frame.px1 - 170,
              frame.py0 + 30);

    if (inputs.evaluation != nullptr) {
        painter.setPen(QPen(inputs.style.distance, 2));
        const std::vector<std::size_t>& crossings = inputs.evaluation->crossings;
        for (std::size_t k = 1; k < crossings.size(); ++k) {
            if (crossings[k] >= count) continue;
            const int mx = frame.pixelX(record->time(crossings[k]) * inputs.timeUnitsPerSecond);
            painter.drawLine(mx, frame.py0, mx, frame.py0 - 15);
        }
    }
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
