#pragma once
/// The growth chart of a run: grown distance, roughness, growth rate and porosity
/// against time, each curve with its own axis column on the left, the time axis
/// with its grid below, and a mark at every filled layer.

#include <QColor>
#include <QPainter>
#include <QRect>
#include <cstddef>
#include <string>
#include <vector>

#include "engine/growth_record.h"
#include "engine/run_evaluation.h"

namespace quorvane {
struct AppState;
}

namespace quorvane::views {

/// Colours of the growth chart (the Results panel holds one).
struct GrowthChartStyle {
    QColor background{190, 160, 160};
    QColor distance{20, 245, 130};
    QColor roughness{0, 0, 255};
    QColor rate{128, 0, 128};
    QColor porosity{255, 255, 0};
    QColor grid{255, 251, 150};
};

struct GrowthChartInputs {
    const GrowthRecord* record = nullptr;       ///< nothing drawn but the notice when null
    const RunEvaluation* evaluation = nullptr;  ///< its crossings give the layer marks
    double timeUnitsPerSecond = 1;
    double sizeA = 1;               ///< one layer in the current length unit (the rate axis)
    std::string lengthUnit;         ///< short name of the current dimension unit
    std::string timeUnit;           ///< short name of the current time unit
    std::string concentrationUnit;  ///< short name of the current concentration unit
    int concentrationExponent = 0;  ///< power of ten of that unit (-2 for percent)
    bool porous = false;            ///< porosity is measured in this run
    GrowthChartStyle style;
};

/// Where the chart put its parts, for tests and for callers that add to it.
struct GrowthChartLayout {
    bool empty = true;       ///< fewer than 2 samples: only the notice
    int columns = 0;         ///< axis columns drawn
    std::vector<int> axisX;  ///< pixel x of each column's axis line
    QRect plot;              ///< the plot area
};

/// An even thinning of a record to about a thousand entries: every p-th from
/// `first`, p = count/1000 + 1, and always the last one. (The chart itself draws
/// each pixel column's extremes instead, see paintGrowthChart.)
std::vector<std::size_t> chartSampleIndices(std::size_t count, std::size_t first = 0);

/// Draws the chart into `area` (filled with the background first). Each curve
/// spans, in every pixel column, from its smallest to its largest value there, read
/// from the record's envelope: a frame costs about the same after a thousand steps
/// as after millions, and a single step's spike still shows.
GrowthChartLayout paintGrowthChart(QPainter& painter, const QRect& area,
                                   const GrowthChartInputs& inputs);

/// The chart's inputs from the program's state: the current record and its
/// evaluation, in the units of the data the run ran with.
GrowthChartInputs growthChartInputs(const AppState& state);

}  // namespace quorvane::views
