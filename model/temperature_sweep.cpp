#include "model/temperature_sweep.h"

#include "model/theory.h"

namespace quorvane {

TemperatureSweep sweepTemperatures(const PhysicalData& data, int steps) {
    TemperatureSweep sweep;
    if (steps < 1) return sweep;
    PhysicalData d = data;
    d.V_max = -1e40;
    d.T_at_V_max = 0;
    double liquidus = ToKelvin(d.Temperature_of_Liquidus, d.temperature);
    double lowest = liquidus * d.Paint_temp_curve_with_zoom;
    std::array<bool, 3> open{true, true, true};
    for (int i = 0; i <= steps; ++i) {
        double kelvin = liquidus + (lowest - liquidus) * i / steps;
        d.Temperature = ConvertTemperature(kelvin, 0, d.temperature);
        specificSurfaceEnergy(d);
        if (!computeTheoryQuietly(d)) break;
        sweep.temperature.push_back(d.Temperature);
        const double rates[3] = {d.Va_kes, d.Vb_kes, d.Vc_kes};
        const double roughness[3] = {d.Rf_a_kes, d.Rf_b_kes, d.Rf_c_kes};
        const double porosity[3] = {d.Pf_a_kes, d.Pf_b_kes, d.Pf_c_kes};
        for (std::size_t x = 0; x < 3; ++x) {
            open[x] = open[x] && d.definedDirections[x] != 0;
            if (!open[x]) continue;
            sweep.curves[x].rate.push_back(rates[x]);
            sweep.curves[x].roughness.push_back(roughness[x]);
            sweep.curves[x].porosity.push_back(porosity[x]);
        }
        if (!open[0] && !open[1] && !open[2]) break;
    }
    sweep.vMax = d.V_max;
    sweep.tAtVMax = d.T_at_V_max;
    return sweep;
}

}  // namespace quorvane
