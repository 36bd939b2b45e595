#pragma once
/// Theoretical predictions against temperature: growth rate, roughness and porosity
/// from the liquidus down, as the Data panel's theoretical chart, the velocity
/// curves of the reports, and the curves for all three growth directions.

#include <QColor>
#include <QPainter>
#include <QRect>
#include <array>
#include <string>

#include "model/physical_data.h"
#include "model/temperature_sweep.h"

namespace quorvane::views {

enum class TemperatureChartKind {
    Theoretical,    ///< "Growth rate, 1e%d %s/%s", "Rouphness, (layers)", "Porocity, (%s)"
    Velocity,       ///< "Velocity, %s/%s", "Roughness, (layers)", "Porosity, (%s)"
    AllDirections,  ///< three stacked panels, one curve per growth direction
};

struct TemperatureChartInputs {
    const TemperatureSweep* sweep = nullptr;  ///< nothing but the frame when null or empty
    TemperatureChartKind kind = TemperatureChartKind::Theoretical;
    bool showRates = true;
    bool showRoughness = false;
    bool showPorosity = true;
    /// Directions drawn by the overlaid kinds (A is the growth direction).
    std::array<bool, 3> directions{true, false, false};
    std::string lengthUnit;  ///< short names of the current units
    std::string timeUnit;
    std::string concentrationUnit;
    std::string temperatureUnit;
};

/// Inputs of a chart of `data`'s units over `sweep`, the flags from the data's
/// `Chart_show_curves`.
TemperatureChartInputs temperatureChartInputs(const PhysicalData& data,
                                              const TemperatureSweep& sweep,
                                              TemperatureChartKind kind);

/// The power of ten the theoretical chart divides its rates by: the exponent of the
/// largest magnitude (0 when every rate is 0).
int rateExponent(const TemperatureSweep& sweep, const std::array<bool, 3>& directions);

/// Draws the chart on a white background into `area`.
void paintTemperatureChart(QPainter& painter, const QRect& area,
                           const TemperatureChartInputs& inputs);

/// Colours of the three growth directions A, B, C.
QColor directionColour(int direction);

}  // namespace quorvane::views
