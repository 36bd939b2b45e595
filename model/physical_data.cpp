#include "model/physical_data.h"

#include <cmath>
#include <cstdlib>

#include "model/theory.h"

namespace quorvane {

PhysicalData makeStartData() {
    PhysicalData d;
    d.adoptUnitsAsPrevious();
    // The start units are angstrom, nanogram, joule and kelvin, so the
    // constants below are those units' own; R is still in joules here.
    double v = d.Volume;
    double T = d.Temperature;
    double Tl = d.Temperature_of_Liquidus;
    double To = d.Temperature_of_Melt;
    d.Density = d.Molecular_Weight * 1e9 / (v * kAvogadro);
    d.Enthalpie = d.Molecular_Enthaphie / (v * kAvogadro);
    d.Concentration = std::exp(-(d.Molecular_Enthaphie / d.R) * (To - Tl) / (Tl * To));
    d.Frequency_of_Jumps = d.Frequency_of_Vibrations * std::exp(-d.Activation_Energy / (d.R * T));
    d.General_Suupercooling = (Tl - T) * d.Enthalpie * v / (Tl * kBoltzmann * T);
    d.General_Surface_Energy = d.Surface * d.Surface_Energy / (T * kBoltzmann);

    // The surface-shape numbers are those of their texts from the start: the panel
    // shows "1 : 0.25 : 0.05", so the physics must use it too, also before the user
    // has pressed Enter or loaded a file.
    d.edgesRatio = std::atof(d.Parts_of_surface_for_edges.c_str());
    d.verticesRatio = std::atof(d.Parts_of_surface_for_vertices.c_str());
    d.bondLength = std::atof(d.Characterictic_length_of_bond.c_str());

    d.defined = 1;
    d.Va_continues = d.V_cont_b = d.V_cont_c = 1;
    computeJumpFrequencies(d);  // B first, then the frequencies per direction
    return d;
}

}  // namespace quorvane
