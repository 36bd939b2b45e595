#pragma once
/// What the engine's threshold tables mean for the data, built once per change
/// of the data: how often a molecule leaves against how much of it touches the
/// crystal, and the engine's probabilities per step. The Data and Run panels,
/// their copy tables and the run report all draw from here.

#include <optional>

#include "model/physical_data.h"
#include "model/probabilities.h"
#include "model/run_settings.h"

namespace quorvane {

struct EngineCharts {
    std::optional<FrequencyChart> frequency;
    /// Needs at least two contact counts: one point makes no curve.
    std::optional<ProbabilityChart> probability;
};

/// Both charts of the data and run settings; empty where the engine would
/// refuse them (sizes, shares or P that give no tables).
EngineCharts engineChartsFor(const PhysicalData& data, const RunSettings& run);

/// The charts kept for the data and settings they were made from, and made
/// again only when those change: panels ask at every paint.
class EngineChartsCache {
  public:
    const EngineCharts& get(const PhysicalData& data, const RunSettings& run);

  private:
    std::optional<PhysicalData> data_;
    std::optional<RunSettings> run_;
    EngineCharts charts_;
};

}  // namespace quorvane
