#include <cmath>

#include "experiments/run_controller.h"
#include "model/probabilities.h"

namespace quorvane {

double defaultProbability(const PhysicalData& d) {
    const double a = d.Size_A, b = d.Size_B, c = d.Size_C;
    // Contact fraction of a molecule touching the crystal with its bottom face only.
    const double phi0 = b * c / (2 * (a * b + b * c + a * c));
    const double X0 = std::exp((1 - 2 * phi0) * d.General_Surface_Energy - d.General_Suupercooling);
    double P = 0.001;
    while (P > 0.0001 && X0 * P > 0.5) P *= 0.99;
    return P;
}

void proposeDefaultRunSettings(const PhysicalData& d, RunSettings& run) {
    const double P = defaultProbability(d);
    int W = 100, H = 100;
    // Enough columns that about five molecules arrive in every step.
    while (P * W * H < 5 && W < 301) {
        W += 10;
        H += 10;
    }
    run.Prob_in_at_step = P;
    run.N_field_W = W;
    run.N_field_H = H;
    run.N_in_per_step = P * W * H;
    if (auto step = timeStepFor(P, d)) run.Time_step = *step;
}

}  // namespace quorvane
