#include "model/directional_rates.h"

#include <cmath>

#include "model/units.h"

namespace quorvane {
namespace {

/// The smaller of a rate and its cap; where the formula runs out of numbers
/// the cap itself is the rate, as for the a direction.
double cappedAt(double rate, double cap) {
    if (!std::isfinite(rate)) return cap;
    return rate < cap ? rate : cap;
}

/// Nucleation factor of a layer of height `x`: the barrier of a critical
/// two-dimensional nucleus grows with the height of the layer it builds.
double nucleationFactor(const PhysicalData& d, double x) {
    const double T = ToKelvin(d.Temperature, d.temperature);
    const double Tl = ToKelvin(d.Temperature_of_Liquidus, d.temperature);
    const double q = 1 / (1 + d.edgesRatio + d.verticesRatio);
    const double qs = q * d.Surface_Energy;
    const double barrier = -1.57075 * (qs * qs) * x * Tl;
    if (barrier == 0) return 1;
    return std::exp(barrier / (EnergyToJoules(d.Enthalpie, d.energy) * (Tl - T) * kBoltzmann * T));
}

}  // namespace

DirectionalRates directionalRates(const PhysicalData& d) {
    DirectionalRates r;
    const std::array<double, 3> size{d.Size_A, d.Size_B, d.Size_C};
    r.continuous = {d.Va_continues, d.V_cont_b, d.V_cont_c};
    const std::array<double, 3> factor{d.K_a, d.K_b, d.K_c};
    for (std::size_t i = 0; i < 3; ++i) {
        const double v = r.continuous[i];
        r.criticalRadius[i] = d.r_crit;
        r.spiral[i] = cappedAt(v * size[i] / (2 * d.r_crit), v);
        r.nucleation[i] = cappedAt(2 * v * nucleationFactor(d, size[i]), v);
        r.halvikEstimate[i] = factor[i] * v;
    }
    const double total = 1 + d.edgesRatio + d.verticesRatio;
    r.faceEdgeVertexShares = {1 / total, d.edgesRatio / total, d.verticesRatio / total};
    return r;
}

}  // namespace quorvane
