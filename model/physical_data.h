#pragma once
/// The physical data of the molecule and the growth medium, in the units the
/// user has selected, with everything derived from them.

#include <array>
#include <string>

#include "model/units.h"

namespace quorvane {

/// One index per unit selection.
struct UnitSelections {
    int system = 0;
    int dimension = 0;
    int weight = 0;
    int energy = 0;
    int temperature = 0;
    int time = 4;
    int concentration = 0;

    bool operator==(const UnitSelections&) const = default;
};

/// Every physical quantity is held in the currently selected unit (the member
/// comments name the unit as L length, W weight, E energy, t time, T
/// temperature). A unit change converts the numbers in place; formulas
/// convert to kelvin and joules only at the moment of use.
struct PhysicalData {
    // Primary and derived quantities, named by their data-file keys.
    double Size_A = 6.0;  ///< a, L: along the growth direction (layer thickness)
    double Size_B = 6.0;  ///< b, L
    double Size_C = 6.0;  ///< c, L
    double Volume = 216.0;
    double Surface = 216.0;
    double Molecular_Weight = 300.0;       ///< Daltons, never converted
    double Density = 0;                    ///< W/L^3
    double Molecular_Enthaphie = 20000.0;  ///< E/mol
    double Enthalpie = 0;                  ///< E/L^3
    double Surface_Energy = 1.2e-21;       ///< E/L^2
    double Temperature = 1600.0;
    double Temperature_of_Liquidus = 1700.0;
    double Temperature_of_Melt = 1800.0;
    double Concentration = 0;                   ///< at the liquidus, parts or %
    double Frequency_of_Vibrations = 2.099e14;  ///< 1/t
    double Activation_Energy = 340000.0;        ///< E/mol
    double Frequency_of_Jumps = 0;              ///< 1/t
    double General_Suupercooling = 0;           ///< dimensionless
    double General_Surface_Energy = 0;          ///< dimensionless

    // Surface shape: the texts as typed (and written to the data file) and
    // their numbers, which exist only after the first parse.
    std::string Parts_of_surface_for_edges = "0.25";
    std::string Parts_of_surface_for_vertices = "0.05";
    std::string Characterictic_length_of_bond = "1.0";  ///< L
    double edgesRatio = 0;                              ///< E: edges share relative to faces = 1
    double verticesRatio = 0;                           ///< V: vertices share relative to faces = 1
    double bondLength = 0.1;                            ///< L

    // Unit selections and display settings.
    int system = 0;
    int dimension = 0;
    int weight = 0;
    int energy = 0;
    int temperature = 0;
    int time = 4;
    int concentration = 0;
    UnitSelections previous;  ///< the units the numbers were last converted to
    int accuracy = 4;         ///< significant digits of theoretical results, 1..20
    int Is_Frequency_of_Vibrations_Set_Default = 0;

    /// Gas constant in the current energy unit, J/(mol K) at start.
    double R = kGasConstant;

    // Jump frequencies.
    double B = 0;  ///< Boltzmann factor exp(-Ea / R0 T)
    double k_a = 0, k_b = 0, k_c = 0;
    double nu0_a = 0, nu0_b = 0, nu0_c = 0;  ///< 1/t
    double nu_a = 0, nu_b = 0, nu_c = 0;     ///< 1/t
    double nu_s = 0;                         ///< 1/s

    // Theoretical growth.
    double F = 0;             ///< driving factor 1 - exp(-dG')
    double Va_continues = 0;  ///< L/t
    double V_cont_b = 0, V_cont_c = 0;
    double r_crit = 0;  ///< L
    double Va_spiral = 0;
    double N_f = 0;
    double Va_nuclei = 0;

    // Halvik's predictions per growth direction.
    double K_a = 0, K_b = 0, K_c = 0;
    double Va_kes = 0, Vb_kes = 0, Vc_kes = 0;
    double Rf_a_kes = 1.0, Rf_b_kes = 1.0, Rf_c_kes = 1.0;  ///< layers of that direction
    double Pf_a_kes = 0, Pf_b_kes = 0, Pf_c_kes = 0;        ///< concentration unit
    double ratio_ab = 1.0, ratio_ac = 1.0, ratio_cb = 1.0;
    int defined = 0;  ///< 1 when the last Halvik evaluation (direction c) gave a prediction
    /// Per direction a, b, c: 1 when its Halvik evaluation gave a prediction.
    std::array<int, 3> definedDirections{1, 1, 1};
    double V_max = 0;       ///< largest Va_kes seen
    double T_at_V_max = 0;  ///< T (current scale) at V_max

    // The Data panel's own state.
    double previousGeneralSupercooling = 0;
    std::array<int, 3> Chart_show_curves{1, 0, 1};  ///< rates, roughness, porosity
    double Paint_temp_curve_with_zoom = 0.7;

    /// The current unit selections as one record.
    UnitSelections units() const {
        return {system, dimension, weight, energy, temperature, time, concentration};
    }
    /// Takes the current selections as the ones the numbers are expressed in.
    void adoptUnitsAsPrevious() { previous = units(); }

    bool operator==(const PhysicalData&) const = default;
};

/// The defaults with the derivations the Data panel makes when it starts:
/// density, volume enthalpy, concentration, jump frequency, dG', sigma'; then
/// B, defined = 1, the continuous rates 1 and the jump frequencies.
PhysicalData makeStartData();

}  // namespace quorvane
