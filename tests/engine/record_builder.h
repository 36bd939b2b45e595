#pragma once
// Growth records with hand-made height series for the measurement tests.

#include <vector>

#include "engine/growth_record.h"
#include "engine/growth_regime.h"

namespace quorvane::testing {

inline RecordParameters parameters(double dt, std::int64_t window = 1, std::int64_t warmUp = 0,
                                   double a = 6) {
    RecordParameters p;
    p.dt = dt;
    p.window = window;
    p.warmUp = warmUp;
    p.layerThickness = a;
    return p;
}

/// One entry per height; roughness and porosity constant unless given.
inline GrowthRecord recordOf(const std::vector<double>& heights, double dt = 1,
                             const std::vector<double>& roughness = {}, bool porous = false,
                             double porosity = 0) {
    GrowthRecord record;
    record.Reset(GrowthRecord::kGrowthIncrement, parameters(dt));
    for (std::size_t i = 0; i < heights.size(); ++i) {
        record.Append(dt, heights[i], roughness.empty() ? 1.0 : roughness[i], porosity, porous);
    }
    return record;
}

/// height[i] = i * slope for count entries.
inline std::vector<double> ramp(std::size_t count, double slope) {
    std::vector<double> heights(count);
    for (std::size_t i = 0; i < count; ++i) heights[i] = static_cast<double>(i) * slope;
    return heights;
}

/// The assessment of a face that grew by strongly activated nucleation, with
/// every measured number set: the evidence texts have something to show.
inline GrowthRegimeAssessment stronglyActivatedNucleation() {
    return {GrowthRegime::Nucleation,
            RegimeReason::StrongActivation,
            20,
            3.36,
            0.168,
            0.665,
            1.9012,
            0.594,
            1.296,
            0.0712};
}

}  // namespace quorvane::testing
