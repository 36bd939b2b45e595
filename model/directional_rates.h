#pragma once
/// The classical theoretical rates for growth along each of the molecule's
/// three axes, as the full report tabulates them beside Halvik's predictions.

#include <array>

#include "model/physical_data.h"

namespace quorvane {

/// Index 0, 1, 2: growth along a, b, c. Rates in L/t, the radius in L.
struct DirectionalRates {
    std::array<double, 3> continuous{};            ///< `Va_continues`, V_cont_b, V_cont_c
    std::array<double, 3> criticalRadius{};        ///< r_crit: the nucleus lies in the growing face
    std::array<double, 3> spiral{};                ///< continuous x height / (2 r_crit), capped
    std::array<double, 3> nucleation{};            ///< 2 x continuous x N_f(height), capped
    std::array<double, 3> halvikEstimate{};        ///< K_x x the continuous rate along x
    std::array<double, 3> faceEdgeVertexShares{};  ///< 1, E, V each over 1 + E + V
};

/// From data whose theory has been computed (`computeTheory`):
/// the a-direction values equal `Va_continues`, r_crit, `Va_spiral` and
/// `Va_nuclei`; for b and c the layer height in the spiral and nucleation
/// formulas is that axis's size and the continuous rate its own.
DirectionalRates directionalRates(const PhysicalData& data);

}  // namespace quorvane
