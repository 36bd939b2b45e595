#pragma once
/// The theoretical predictions over a range of growth temperatures, from the
/// liquidus down to zoom x liquidus, for the curves of the charts and reports.

#include <array>
#include <vector>

#include "model/physical_data.h"

namespace quorvane {

/// One growth direction's Halvik curves. Entry i belongs to temperature i;
/// the curve ends before its first undefined prediction.
struct HalvikCurve {
    std::vector<double> rate;       ///< Va_kes, Vb_kes or Vc_kes, L/t
    std::vector<double> roughness;  ///< layers of that direction
    std::vector<double> porosity;   ///< concentration unit
    int definedCount() const { return static_cast<int>(rate.size()); }
};

struct TemperatureSweep {
    std::vector<double> temperature;    ///< current scale, from the liquidus downwards
    std::array<HalvikCurve, 3> curves;  ///< directions a, b, c
    double vMax = -1e40;                ///< largest Va_kes over the sweep
    double tAtVMax = 0;                 ///< its temperature, current scale
};

/// Evaluates the theory on a copy of the data at steps + 1 temperatures
/// spaced evenly in kelvin from Tl to Paint_temp_curve_with_zoom x Tl. At each
/// temperature sigma' and dG' follow the temperature as they do when the
/// user types it. Stops when every direction has met an undefined prediction,
/// or at a temperature too close to 0 K. No points for steps < 1.
TemperatureSweep sweepTemperatures(const PhysicalData& data, int steps);

}  // namespace quorvane
