#pragma once
/// What the panels' controls and pictures say about themselves beyond their
/// labels: the tooltip of a field (what it holds, its unit in the data's current
/// units, and how it is tied to the other fields) and the description of a chart
/// that a screen reader reads in place of the picture. Plain text, units with
/// superscript characters, so that both a tooltip and a screen reader show it.

#include <string>
#include <string_view>
#include <vector>

#include "engine/status_block.h"

#include "model/data_fields.h"
#include "model/physical_data.h"
#include "model/probabilities.h"
#include "model/temperature_sweep.h"

namespace quorvane {

/// The tooltip of a Data panel field, e.g. "Volume of the molecule v = abc, in A³. ...".
std::string dataFieldTip(const PhysicalData& data, DataField field);
/// The tooltip of unit combo `combo` (0 the system, then length, weight,
/// energy, time, temperature, concentration): which fields it sets.
std::string unitComboTip(int combo);
/// The tooltip of the Data panel's "Estimate" button or "default" check box.
std::string dataControlTip(std::string_view control);
/// The tooltip of a Run panel field or check box, by its data-file key; the
/// time step names `timeUnit`, the current one. Empty for other keys.
std::string runFieldTip(std::string_view key, const std::string& timeUnit);

/// What the Data panel's chart of the theory shows: its curves, the range of
/// temperatures and the fastest growth over it.
std::string theoreticalChartDescription(const PhysicalData& data, const TemperatureSweep& sweep);
/// What the chart of the jump frequencies shows.
std::string frequencyChartDescription(const FrequencyChart& chart);
/// What the chart of the engine's probabilities per step shows.
std::string probabilityChartDescription(const ProbabilityChart& chart);
/// What the Results panel shows: its growth chart, and the status block's lines.
std::string resultsDescription(const std::vector<StatusLine>& status);

}  // namespace quorvane
