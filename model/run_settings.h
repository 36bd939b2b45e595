#pragma once
/// The Run panel's values that the data file keeps: field size, probability
/// in, time step and the stop conditions.

namespace quorvane {

struct PhysicalData;

/// Defaults. Nothing prescribes them; they are what "Set default" proposes
/// for the start data: a 160 x 160 field, P = 0.000217 (so that about five
/// molecules jump in per step, N = P*W*H), the time step of that P at the
/// start data's jump frequency (see `makeStartRunSettings`), a stop after 20
/// layers or 10 minutes of computing (both on), a first-layer limit of 5
/// minutes (off), "Never stop" off, and no hole defects.
struct RunSettings {
    int N_field_W = 160;
    int N_field_H = 160;
    double Prob_in_at_step = 0.000217;  ///< P: chance of one column to receive a molecule per step
    double N_in_per_step = 0.000217 * 160 * 160;  ///< N = P*W*H, molecules into the field per step
    double Time_step = 0;                ///< physical time of one step, in the current time unit
    double Layers_limit = 20;            ///< layers
    double Time_simulattion_limit = 10;  ///< minutes of computing
    double Time_simulattion_limit_first_layer = 5;  ///< minutes of computing
    int Is_layers_limit = 1;
    int Is_time_simulattion_limit = 1;
    int Is_time_simulattion_limit_first_layer = 0;
    int Is_any_limits = 0;  ///< 1 = "Never stop": no limit is checked
    int Is_includes_porosity = 0;

    bool operator==(const RunSettings&) const = default;
};

/// The defaults with the time step derived from P and the data's jump frequency.
RunSettings makeStartRunSettings(const PhysicalData& data);

}  // namespace quorvane
