#include "model/theory.h"

#include <cmath>

namespace quorvane {
namespace {

double kelvin(const PhysicalData& d, double x) {
    return ToKelvin(x, d.temperature);
}
double joules(const PhysicalData& d, double x) {
    return EnergyToJoules(x, d.energy);
}

/// The smaller of a rate and its cap. Where the formula runs out of numbers
/// (a critical nucleus of size 0, an infinite nucleation factor just above
/// the liquidus, 0 * inf without driving force) the cap itself is the rate.
double cappedAt(double rate, double cap) {
    if (!std::isfinite(rate)) return cap;
    return rate < cap ? rate : cap;
}

}  // namespace

void recomputeVolumeAndSurface(PhysicalData& d) {
    double a = d.Size_A, b = d.Size_B, c = d.Size_C;
    d.Volume = a * b * c;
    d.Surface = 2 * (a * b + b * c + a * c);
}

void molecularWeightFromDensity(PhysicalData& d) {
    // 10^(exp_w + 3) turns the weight unit into grams, so M is in g/mol.
    double toGrams = std::pow(10.0, unitExponent(UnitKind::Weight, d.weight) + 3);
    d.Molecular_Weight = kAvogadro * d.Volume * d.Density * toGrams;
}

void volumeEnthalpyFromMolar(PhysicalData& d) {
    if (d.Volume == 0) return;  // a molecule without volume has no enthalpy per volume
    d.Enthalpie = d.Molecular_Enthaphie / (d.Volume * kAvogadro);
}

void molarEnthalpyFromVolume(PhysicalData& d) {
    d.Molecular_Enthaphie = d.Volume * kAvogadro * d.Enthalpie;
}

double concentrationFraction(const PhysicalData& d) {
    return d.concentration == 1 ? d.Concentration / 100 : d.Concentration;
}

double concentrationInUnit(const PhysicalData& d, double fraction) {
    return d.concentration == 1 ? 100 * fraction : fraction;
}

void concentrationFromLiquidus(PhysicalData& d) {
    double To = kelvin(d, d.Temperature_of_Melt);
    double Tl = kelvin(d, d.Temperature_of_Liquidus);
    if (To <= 0 || Tl <= 0) return;  // the ideal solubility needs absolute temperatures
    double c = 1;
    if (To - Tl > 0) {
        c = std::exp(-joules(d, d.Molecular_Enthaphie) * (To - Tl) / (kGasConstant * To * Tl));
    }
    d.Concentration = concentrationInUnit(d, c);
}

double liquidusFromConcentration(const PhysicalData& d, double fraction) {
    double To = kelvin(d, d.Temperature_of_Melt);
    if (To <= 0) return 0;
    double enthalpy = joules(d, d.Molecular_Enthaphie);
    double lnC = std::log(fraction);
    double Tl;
    if (enthalpy == 0 && lnC == 0) {
        Tl = To;  // 0/0: a saturated melt stays at its melting point whatever the enthalpy
    } else {
        Tl = 1 / (1 / To - kGasConstant * lnC / enthalpy);
    }
    return ConvertTemperature(Tl, 0, d.temperature);
}

void specificSurfaceEnergy(PhysicalData& d) {
    double T = kelvin(d, d.Temperature);
    if (T <= kMinimumKelvin) return;
    d.General_Surface_Energy = joules(d, d.Surface_Energy) * d.Surface / (kBoltzmann * T);
}

void generalSupercooling(PhysicalData& d) {
    double T = kelvin(d, d.Temperature);
    double Tl = kelvin(d, d.Temperature_of_Liquidus);
    if (T <= kMinimumKelvin || Tl <= kMinimumKelvin) return;
    d.General_Suupercooling = joules(d, d.Enthalpie) * d.Volume * (Tl - T) / (kBoltzmann * T * Tl);
}

void computeJumpFrequencies(PhysicalData& d) {
    double T = kelvin(d, d.Temperature);
    if (T <= kMinimumKelvin) return;
    d.B = std::exp(-joules(d, d.Activation_Energy) / (kGasConstant * T));
    double secondsPerUnit = SecondsPerTimeUnit(d.time);
    // A molecule crossing its own size at 1000 m/s, per radian, in 1/t.
    double C = secondsPerUnit * (1000 / (2 * kPi)) / LengthMetres(d.dimension);
    double a = d.Size_A, b = d.Size_B, c = d.Size_C;
    if (a > 1e-20 && b > 1e-20 && c > 1e-20) {
        d.k_a = a / std::sqrt(b * c);
        d.k_b = b / std::sqrt(a * b);
        d.k_c = c / std::sqrt(a * c);
        d.nu0_a = C / a * d.k_a;
        d.nu0_b = C / b * d.k_b;
        d.nu0_c = C / c * d.k_c;
    } else {
        d.k_a = d.k_b = d.k_c = 1;
        d.nu0_a = d.nu0_b = d.nu0_c = 1;
        d.nu_a = d.nu_b = d.nu_c = 1;
    }
    if (d.Is_Frequency_of_Vibrations_Set_Default) {
        d.Frequency_of_Vibrations = d.nu0_a;
    } else {
        d.nu0_a = d.nu0_b = d.nu0_c = d.Frequency_of_Vibrations;
    }
    d.nu_a = d.B * d.nu0_a;
    d.nu_b = d.B * d.nu0_b;
    d.nu_c = d.B * d.nu0_c;
    d.Frequency_of_Jumps = d.B * d.Frequency_of_Vibrations;
    d.nu_s = d.Frequency_of_Jumps / secondsPerUnit;
}

LateralShareResult LateralShares(double x, double y, double z, double E, double V) {
    double D = 1 + E + V;
    double f = 1 / D;
    double e = E / D;
    double w = V / D;
    double endFaces = f * y * z / (y * z + x * y + x * z);
    double endEdges = e * (y + z) / (x + y + z);
    LateralShareResult shares;
    shares.lambda2 = 1 - endFaces;
    shares.lambda1 = 1 - endFaces - endEdges - w;  // all eight vertices lie in the end faces
    return shares;
}

namespace {

/// Gc: the supercooling below which growth needs two-dimensional nuclei.
double nucleationThreshold(double s1, double s2) {
    return 0.17661818595 * std::sqrt(s1) * std::pow(s2, 0.6666666) +
           0.25 * s1 * s1 * std::pow(s2, -0.75) - kPi * kPi * std::pow(s1, -0.333333333333) / s2;
}

}  // namespace

HalvikBounds halvikBounds(double sigmaPrime, double lambda1, double lambda2) {
    const double s1 = sigmaPrime * lambda1;
    const double s2 = sigmaPrime * lambda2;
    return {nucleationThreshold(s1, s2), kGoldenRatio * std::sqrt(s2) + s2 / kGoldenRatio};
}

HalvikResult HalvikPrediction(double G, double sigmaPrime, double lambda1, double lambda2,
                              double previousRoughness, double previousPorosity) {
    HalvikResult result;
    result.roughness = previousRoughness;
    result.porosity = previousPorosity;
    double s1 = sigmaPrime * lambda1;
    double s2 = sigmaPrime * lambda2;
    if (std::exp(s2 - G) > 1e8) return result;  // the surface dissolves faster than it can form

    const HalvikBounds bounds = halvikBounds(sigmaPrime, lambda1, lambda2);
    double Gc = bounds.nucleation;
    double Gk = bounds.kinetic;
    double D = G - Gc;
    bool nucleation = D <= 0 && Gc >= 0;

    double K = 1;
    if (nucleation) {
        K = std::exp(-0.25 * s1 * s1 * std::exp(std::sqrt(G / Gc) * std::log(4 / (s1 * s1))));
    } else if (G < Gk) {
        double x = (G - Gk) / (Gc - Gk);
        K = std::exp(-(x * x));
    }
    // Outside the ranges of the fits (sigma' <= 0, dissolution in the nucleation
    // regime) the formulas give no number: no prediction rather than NaN.
    if (!std::isfinite(K)) return result;

    const double e = std::exp(1.0);
    double R = 2 * std::sqrt(3.0) * (G * G) / (s2 * s2 + kPi * kPi) + 2 * e / (s2 * s2 + e / 2) +
               std::pow(1 / e, 1 / e);
    if (nucleation) R *= std::exp(-0.25 * std::pow(s1, 0.5 / kGoldenRatio) * std::sqrt(-D));
    if (std::isfinite(R)) result.roughness = R;
    if (!(R <= 3000)) return result;

    double P = std::exp(-(kPi * G / (G + 1 / (kPi * kPi)) + 0.5 * s2 / (G + 0.5625)));
    if (nucleation) {
        P *= std::exp(-std::exp(e - 3 * kGoldenRatio * std::sqrt(G)) *
                      std::pow(s1, 2 * kPi * G / (kPi + G)));
    }
    if (!std::isfinite(P)) return result;

    result.K = K;
    result.porosity = P;
    result.defined = true;
    return result;
}

namespace {

/// Steps 4 to 8: driving factor, continuous, spiral and nucleation rates.
void computeClassicalRates(PhysicalData& d, double T, double Tl) {
    double G = d.General_Suupercooling;
    d.F = 1 - std::exp(-G);
    d.Va_continues = d.nu_a * d.Size_A * d.F;
    d.V_cont_b = d.nu_b * d.Size_B * d.F;
    d.V_cont_c = d.nu_c * d.Size_C * d.F;

    double q = 1 / (1 + d.edgesRatio + d.verticesRatio);
    double r = 1e-60;
    if (std::abs(G) > 1e-60) r = d.Surface_Energy * Tl / (d.Enthalpie * (Tl - T));
    d.r_crit = q * r;

    d.Va_spiral = cappedAt(d.Va_continues * d.Size_A / (2 * d.r_crit), d.Va_continues);

    // The nucleus' edge energy squared over the enthalpy per volume is an energy
    // only when both are counted in the same energy unit: joules, like kT.
    double qs = q * joules(d, d.Surface_Energy);
    double barrier = -1.57075 * (qs * qs) * d.Size_A * Tl;
    if (barrier == 0) {
        d.N_f = 1;  // exp(-0/x) for any x; also where x is 0 (T = Tl, no enthalpy)
    } else {
        d.N_f = std::exp(barrier / (joules(d, d.Enthalpie) * (Tl - T) * kBoltzmann * T));
    }
    d.Va_nuclei = cappedAt(2 * d.Va_continues * d.N_f, d.Va_continues);
}

/// Steps 10 to 13: Halvik's predictions per direction, their rates and ratios.
void computeHalvik(PhysicalData& d) {
    d.Va_kes = d.Vb_kes = d.Vc_kes = 0;
    d.K_a = d.K_b = d.K_c = 0;
    d.Rf_a_kes = d.Rf_b_kes = d.Rf_c_kes = 1.0;
    d.Pf_a_kes = d.Pf_b_kes = d.Pf_c_kes = 0;
    d.ratio_ab = d.ratio_ac = d.ratio_cb = 1.0;
    d.defined = 1;

    struct Direction {
        double x, y, z;
        double* K;
        double* Rf;
        double* Pf;
    };
    Direction directions[3] = {
        {d.Size_A, d.Size_B, d.Size_C, &d.K_a, &d.Rf_a_kes, &d.Pf_a_kes},
        {d.Size_B, d.Size_A, d.Size_C, &d.K_b, &d.Rf_b_kes, &d.Pf_b_kes},
        {d.Size_C, d.Size_A, d.Size_B, &d.K_c, &d.Rf_c_kes, &d.Pf_c_kes},
    };
    for (int i = 0; i < 3; ++i) {
        const Direction& dir = directions[i];
        LateralShareResult shares =
            LateralShares(dir.x, dir.y, dir.z, d.edgesRatio, d.verticesRatio);
        HalvikResult h = HalvikPrediction(d.General_Suupercooling, d.General_Surface_Energy,
                                          shares.lambda1, shares.lambda2, *dir.Rf, *dir.Pf);
        *dir.K = h.K;
        *dir.Rf = h.roughness;
        *dir.Pf = h.porosity;
        d.defined = h.defined ? 1 : 0;
        d.definedDirections[static_cast<std::size_t>(i)] = d.defined;
    }
    if (d.concentration == 1) {
        d.Pf_a_kes *= 100;
        d.Pf_b_kes *= 100;
        d.Pf_c_kes *= 100;
    }
    // With the default frequency each direction has its own vibration
    // frequency; otherwise all three share the one of direction a.
    bool ownFrequencies = d.Is_Frequency_of_Vibrations_Set_Default != 0;
    d.Va_kes = d.K_a * d.Va_continues;
    d.Vb_kes = d.K_b * (ownFrequencies ? d.V_cont_b : d.Va_continues);
    d.Vc_kes = d.K_c * (ownFrequencies ? d.V_cont_c : d.Va_continues);
    if (!(std::abs(d.Vb_kes) < 1e-40)) d.ratio_ab = d.Va_kes / d.Vb_kes;
    if (!(std::abs(d.Vc_kes) < 1e-40)) d.ratio_ac = d.Va_kes / d.Vc_kes;
    if (!(std::abs(d.Vb_kes) < 1e-40)) d.ratio_cb = d.Vc_kes / d.Vb_kes;
}

}  // namespace

bool computeTheoryQuietly(PhysicalData& d) {
    double T = kelvin(d, d.Temperature);
    double Tl = kelvin(d, d.Temperature_of_Liquidus);
    if (T <= kMinimumKelvin || Tl <= kMinimumKelvin) return false;
    d.General_Suupercooling = joules(d, d.Enthalpie) * (Tl - T) * d.Volume / (Tl * T * kBoltzmann);
    computeJumpFrequencies(d);
    computeClassicalRates(d, T, Tl);
    d.nu_s = d.Frequency_of_Jumps / SecondsPerTimeUnit(d.time);
    computeHalvik(d);
    if (d.V_max < d.Va_kes) {
        d.V_max = d.Va_kes;
        d.T_at_V_max = d.Temperature;
    }
    return true;
}

bool computeTheory(PhysicalData& d, Platform& platform) {
    if (computeTheoryQuietly(d)) return true;
    platform.message(kTooColdMessage);
    return false;
}

}  // namespace quorvane
