#pragma once
/// The probabilities of one Monte Carlo decision at a column: the top molecule
/// leaves, a new molecule joins, or nothing happens. The engine's threshold
/// tables and the explanatory probability chart both come from here, so the
/// chart shows exactly what the simulation uses.

#include <cmath>
#include <cstdint>

namespace quorvane {

/// Constants of one run's rates, from the general supercooling E0, the general
/// surface energy E8 and the probability to jump in Pint (as a 32-bit threshold).
struct RateConstants {
    static constexpr double kF = 4294967295.0;
    static constexpr double kK1 = 1.13198824;

    double E0 = 0;
    double E8 = 0;
    double P0 = 0;  ///< Pint / F
    double X = 0;   ///< exp(E8 - E0)
    double Y = 0;   ///< P0 * X
    double K2 = 0;  ///< correction for two molecules competing for one site

    static RateConstants make(double E0, double E8, std::uint32_t Pint) {
        RateConstants k;
        k.E0 = E0;
        k.E8 = E8;
        k.P0 = Pint / kF;
        k.X = std::exp(E8 - E0);
        k.Y = k.P0 * k.X;
        if (k.Y > 0.00001) {
            k.K2 = (k.Y / (1 - std::exp(-k.Y)) - 1) / std::pow(2 * k.P0 * k.X, kK1);
        } else {
            k.K2 = 0;
        }
        return k;
    }

    /// Rate of leaving for a molecule whose contact fraction is phi.
    double leaveRate(double phi) const { return P0 * std::exp((1 - 2 * phi) * E8 - E0); }
};

/// The three outcomes at one column, before normalisation by `sum`.
struct CellProbabilities {
    double grow = 0;
    double leave = 0;
    double stay = 0;
    double sum = 0;

    /// Evaluated exactly in the order the tables are built, so that the
    /// thresholds are reproducible to the bit.
    static CellProbabilities make(const RateConstants& k, double phiOut, double phiIn) {
        double ro = k.leaveRate(phiOut);
        double ri = k.leaveRate(phiIn);
        CellProbabilities p;
        p.stay = std::exp(-(ro + k.P0));
        p.grow = k.P0 / (1 + k.K2 * std::pow(ro + ri, RateConstants::kK1));
        p.leave = 1 - std::exp(-ro);
        p.sum = p.grow + p.leave + p.stay;
        return p;
    }

    double growShare() const { return grow / sum; }
    double leaveShare() const { return leave / sum; }
};

}  // namespace quorvane
