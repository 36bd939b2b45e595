#include "ui/results_panel.h"

#include <QPainter>
#include <cmath>

#include "experiments/session.h"
#include "model/physical_data.h"
#include "model/units.h"

namespace quorvane {

namespace {

// Powers of ten of the units the factors are counted against.
constexpr int kNanometreExponent = -9;
constexpr int kPercentExponent = -2;

StatusDisplay statusDisplay(const AppState& state) {
    const PhysicalData& d = state.data;
    StatusDisplay display;
    display.timeUnitsPerSecond = TimeUnitsPerSecond(d.time);
    display.secondsPerTimeUnit = SecondsPerTimeUnit(d.time);
    display.lengthUnit = unitShortName(UnitKind::Length, d.dimension);
    display.timeUnit = unitShortName(UnitKind::Time, d.time);
    display.rateLengthUnit = display.lengthUnit;
    display.sizeA = d.Size_A;
    // Ratios are shown as parts or as percentages, after the concentration unit.
    display.mode = d.concentration == 1 ? 1 : 0;
    display.porous = state.run.Is_includes_porosity != 0;
    return display;
}

}  // namespace

DisplayFactors DisplayFactors::of(const PhysicalData& data) {
    DisplayFactors f;
    f.time = TimeUnitsPerSecond(data.time);
    f.length = std::pow(10.0, kNanometreExponent - unitExponent(UnitKind::Length, data.dimension));
    f.concentration = std::pow(
        10.0, kPercentExponent - unitExponent(UnitKind::Concentration, data.concentration));
    f.rate = f.length * f.time;
    return f;
}

ResultsPanel::ResultsPanel(Session& session, QWidget* parent) : LivePanel(session, parent) {
    setObjectName("result");
}

void ResultsPanel::render(QPainter& painter, const QSize& size) {
    AppState& state = session_.state;
    const int w = size.width(), h = size.height();
    factors_ = DisplayFactors::of(state.data);

    views::GrowthChartInputs chart = views::growthChartInputs(state);
    chart.style = style;
    painter.setPen(QPen(Qt::black, 2));
    chart_ =
        views::paintGrowthChart(painter, QRect(0, 0, w, std::max(h - kStatusBandHeight, 1)), chart);

    // The block shows the record as it stands now, and the run record follows it.
    session_.loop.FillRunRecord();
    session_.loop.EvaluateRun();

    views::StatusBlockInputs status;
    status.evaluation = &state.results.evaluation;
    status.display = statusDisplay(state);
    status.font = font();
    painter.setPen(QPen(Qt::black, 2));
    views::paintStatusBlock(painter, QRect(0, h - kStatusBandHeight, w, kStatusBandHeight), status);
}

}  // namespace quorvane
