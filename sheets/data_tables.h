#pragma once
/// The Data panel's tables as tab-separated text, for the clipboard: the
/// theoretical values over the chart's temperature range, the chart's curves
/// as shown, and the engine's probabilities per step.

#include <string>

#include "model/physical_data.h"
#include "model/run_settings.h"

namespace quorvane {

/// The table of the theoretical values over the chart's temperature range
/// (`steps` + 1 temperatures), headed by the maximum of the growth rate.
/// Undefined values are left empty.
std::string theoryTableText(const PhysicalData& data, int steps);
/// The theoretical chart's curves as shown: the temperature, then the growth
/// rate, roughness and porosity of the growth direction, each only while its
/// curve is switched on.
std::string chartCurvesText(const PhysicalData& data, int steps);
/// The probability chart's values: contact fraction, probability out and in
/// per step; empty when the engine would make no tables of the data.
std::string probabilityTableText(const PhysicalData& data, const RunSettings& run);

}  // namespace quorvane
