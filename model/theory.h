#pragma once
/// Derived thermodynamics of the physical data and the theoretical growth
/// rates: continuous, spiral and two-dimensional nucleation growth, the
/// critical nucleus, and Halvik's predictions of rate, roughness and porosity
/// along the three molecule axes.

#include "common/platform.h"
#include "model/physical_data.h"

namespace quorvane {

inline constexpr const char* kTooColdMessage = "Temperatura is too close to absolute zerro.";
/// Below this (kelvin) no formula that divides by a temperature is evaluated.
inline constexpr double kMinimumKelvin = 1e-10;

// Geometry and material relations; each recomputes one quantity from the
// others in the current units.

/// (1) v = a*b*c, S = 2(ab + bc + ac).
void recomputeVolumeAndSurface(PhysicalData& d);
/// (2) M from the density, the weight unit turned into grams.
void molecularWeightFromDensity(PhysicalData& d);
/// (3) enthalpy per volume from the molar enthalpy; unchanged for v = 0.
void volumeEnthalpyFromMolar(PhysicalData& d);
/// (3) molar enthalpy from the enthalpy per volume.
void molarEnthalpyFromVolume(PhysicalData& d);
/// (4) concentration at the liquidus by ideal solubility; 1 when To <= Tl.
/// Unchanged when To or Tl is not above 0 K.
void concentrationFromLiquidus(PhysicalData& d);
/// (5) the liquidus (current scale) at which the concentration, as a fraction,
/// is `fraction`; 0 when To <= 0 K.
double liquidusFromConcentration(const PhysicalData& d, double fraction);
/// (6) sigma' = sigma S / kT; unchanged at or below kMinimumKelvin.
void specificSurfaceEnergy(PhysicalData& d);
/// (7) dG' = dHv v (Tl - T) / (k T Tl); unchanged when T or Tl is at or below
/// kMinimumKelvin.
void generalSupercooling(PhysicalData& d);

/// The concentration as a fraction, whatever its unit.
double concentrationFraction(const PhysicalData& d);
/// A fraction expressed in the data's concentration unit.
double concentrationInUnit(const PhysicalData& d, double fraction);

/// B, the shape factors, the vibration and jump frequencies per direction,
/// the panel's jump frequency and nu_s. Unchanged at or below kMinimumKelvin.
void computeJumpFrequencies(PhysicalData& d);

/// Shares of a molecule's surface that lie beside it when it grows along the
/// axis of size x: lambda2 without the two end faces, lambda1 also without
/// the end edges and the vertices.
struct LateralShareResult {
    double lambda1 = 0;
    double lambda2 = 0;
};
LateralShareResult LateralShares(double x, double y, double z, double E, double V);

/// Halvik's prediction for one direction. When undefined, K is 0 and the
/// roughness and porosity not reached keep the values passed in.
struct HalvikResult {
    double K = 0;
    double roughness = 1.0;
    double porosity = 0;
    bool defined = false;
};
HalvikResult HalvikPrediction(double G, double sigmaPrime, double lambda1, double lambda2,
                              double previousRoughness = 1.0, double previousPorosity = 0);

/// The supercoolings that bound Halvik's regimes on a face whose lateral shares
/// give s1 = sigma' lambda1 and s2 = sigma' lambda2: up to `nucleation` (when it is
/// not negative) growth needs two-dimensional nuclei, from `kinetic` on it is
/// continuous, and in between it is intermediate.
struct HalvikBounds {
    double nucleation = 0;  ///< Gc
    double kinetic = 0;     ///< Gk
};
HalvikBounds halvikBounds(double sigmaPrime, double lambda1, double lambda2);

/// The theoretical rates of the data's present state. False, with nothing
/// changed, when T or Tl is at or below kMinimumKelvin.
bool computeTheoryQuietly(PhysicalData& d);
/// As computeTheoryQuietly, telling the user "Temperatura is too close to
/// absolute zerro." when it cannot be computed.
bool computeTheory(PhysicalData& d, Platform& platform);

}  // namespace quorvane
