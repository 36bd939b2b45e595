#include "sheets/engine_charts.h"

#include "engine/contact_geometry.h"

namespace quorvane {

EngineCharts engineChartsFor(const PhysicalData& data, const RunSettings& run) {
    EngineCharts charts;
    const auto inputs = makeEngineInputs(data, run);
    if (!inputs) return charts;
    const auto geometry = ContactGeometry::make(inputs->a, inputs->b, inputs->c, inputs->edgeWeight,
                                                inputs->vertexWeight);
    if (!geometry) return charts;
    charts.frequency = makeFrequencyChart(inputs->E0, inputs->E8, geometry->adatomFraction,
                                          geometry->embeddedFraction);
    if (geometry->n >= 2)
        charts.probability =
            makeProbabilityChart(inputs->E0, inputs->E8, inputs->Pint, geometry->n,
                                 geometry->adatomFraction, geometry->bottomFaceFraction);
    return charts;
}

const EngineCharts& EngineChartsCache::get(const PhysicalData& data, const RunSettings& run) {
    if (data_ != data || run_ != run) {
        charts_ = engineChartsFor(data, run);
        data_ = data;
        run_ = run;
    }
    return charts_;
}

}  // namespace quorvane
