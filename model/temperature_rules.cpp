// The temperature and concentration rules of the Data panel: the melt,
// liquidus and growth temperatures stay ordered (T < Tl <= To), and the
// concentration stays on the ideal solubility curve through the liquidus.
// All comparisons are in kelvin; results go back in the current scale.

#include <algorithm>
#include <cmath>

#include "model/data_rules.h"
#include "model/theory.h"
#include "model/units.h"

namespace quorvane {
namespace {

double kelvin(const PhysicalData& d, double x) {
    return ToKelvin(x, d.temperature);
}
double fromKelvin(const PhysicalData& d, double x) {
    return ConvertTemperature(x, 0, d.temperature);
}

}  // namespace

void applyMeltTemperatureRule(PhysicalData& d) {
    double T = kelvin(d, d.Temperature);
    double Tl = kelvin(d, d.Temperature_of_Liquidus);
    double To = kelvin(d, d.Temperature_of_Melt);
    if (T > To) {
        To = Tl = 1.01 * T;
        d.Temperature_of_Liquidus = fromKelvin(d, Tl);
        d.Temperature_of_Melt = fromKelvin(d, To);
    }
    if (Tl > To) d.Temperature_of_Melt = d.Temperature_of_Liquidus;
}

void applyLiquidusTemperatureRule(PhysicalData& d) {
    double T = kelvin(d, d.Temperature);
    double Tl = kelvin(d, d.Temperature_of_Liquidus);
    double To = kelvin(d, d.Temperature_of_Melt);
    if (Tl > To) {
        To = Tl;
        d.Temperature_of_Melt = d.Temperature_of_Liquidus;
    }
    if (Tl < T) {
        Tl = To = 1.01 * T;
        d.Temperature_of_Liquidus = d.Temperature_of_Melt = fromKelvin(d, Tl);
    }
    double c = concentrationFraction(d);  // the concentration before this edit
    if (std::abs(To - Tl) <= 1e-6 || c >= 0.9999) {
        Tl = To;
        d.Temperature_of_Liquidus = d.Temperature_of_Melt;
        d.Concentration = concentrationInUnit(d, 1);
    }
    if (0.0001 <= c && c <= 0.9999) {
        // The enthalpy that puts (Tl, c) on the ideal solubility curve.
        double enthalpy = 1;
        if (!(To - Tl <= 0 || c >= 0.9999 || c <= 1e-6)) {
            enthalpy = -kGasConstant * std::log(c) * To * Tl / (To - Tl);
        }
        d.Molecular_Enthaphie = JoulesToEnergyUnit(enthalpy, d.energy);
        volumeEnthalpyFromMolar(d);
    }
}

void applyTemperatureRule(PhysicalData& d) {
    double T = kelvin(d, d.Temperature);
    double Tl = kelvin(d, d.Temperature_of_Liquidus);
    if (T > Tl) {
        T = 0.99 * Tl;
        d.Temperature = fromKelvin(d, T);
    }
    if (T <= 0) d.Temperature = fromKelvin(d, 0.01 * Tl);
}

void applyConcentrationRule(PhysicalData& d) {
    double c = std::clamp(concentrationFraction(d), 0.01, 1.0);
    d.Concentration = concentrationInUnit(d, c);
    double liquidus = liquidusFromConcentration(d, c);
    double To = kelvin(d, d.Temperature_of_Melt);
    double T = kelvin(d, d.Temperature);
    double Tl = kelvin(d, liquidus);
    d.Temperature_of_Liquidus = liquidus;
    if (Tl >= To) {
        Tl = To;
        d.Temperature_of_Liquidus = d.Temperature_of_Melt;
        d.Concentration = concentrationInUnit(d, 1);
    }
    if (Tl < T) {
        d.Temperature_of_Liquidus = fromKelvin(d, 0.1 * To + 0.9 * T);
        concentrationFromLiquidus(d);
    }
}

}  // namespace quorvane
