// Calibration runs for the growth-regime classifier: for each case read from
// standard input (sigma' dG' side a b c edges vertices), a run at dG' judged by the
// classifier, and two runs at dG'/1.25 and dG' x 1.25 whose rates give the
// measured activation d ln R / d ln dG' that the classifier estimates. One CSV
// line per case on standard output.
//
// Usage: quorvane-regime-calibration [LAYERS [SIDE_LAYERS]] < cases
// Each run ends when the face has grown LAYERS (default 10; side runs 15) or
// after 100 (side runs 400) layers of continuous growth, at most 600000 steps.
// P = min(0.01, 0.3 exp(dG' - (1 - 2 phi) sigma')), phi the contact of a lone
// molecule, so that it leaves within one step with a chance below 0.3.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "engine/growth_engine.h"
#include "engine/growth_record.h"
#include "engine/growth_regime.h"
#include "engine/run_evaluation.h"

using namespace quorvane;

namespace {

struct Case {
    double sigma = 0, dg = 0, a = 1, b = 1, c = 1, edges = 0, vertices = 0;
    int side = 64;
};

struct Limits {
    double grown = 10;
    double continuousLayers = 100;
    long maxSteps = 600000;
};

double probabilityFor(const Case& k, double dg) {
    const auto geometry = ContactGeometry::make(k.a, k.b, k.c, k.edges, k.vertices);
    const double phi = geometry ? geometry->adatomFraction : 1.0 / 6;
    return std::min(0.01, 0.3 * std::exp(dg - (1 - 2 * phi) * k.sigma));
}

/// One run of the case at the drive dg, judged as the program judges it.
GrowthRegimeAssessment run(Taus88& random, const Case& k, double dg, const Limits& limits) {
    GrowthEngine engine(random);
    const double P = probabilityFor(k, dg);
    const auto Pint = static_cast<std::uint32_t>(P * 4294967295.0);
    if (engine.InitRun(dg, k.sigma, Pint, k.a, k.b, k.c, k.side, k.side, k.edges, k.vertices) !=
        InitStatus::Ok) {
        std::fprintf(stderr, "refused: %g %g\n", k.sigma, dg);
        return {};
    }
    GrowthRecord record;
    record.Reset(GrowthRecord::kGrowthIncrement,
                 RecordParameters::make(1.0, 1.0, k.side, k.side, P * k.side * k.side, k.a));
    const double perStep = P * (1 - std::exp(-dg));
    const long cap = std::min(limits.maxSteps, std::lround(limits.continuousLayers / perStep));
    for (long s = 0; s < cap; ++s) {
        const StepResult r = engine.StepPlain();
        record.Append(1.0, r.meanHeight, r.roughness, 0, false);
        if (r.meanHeight >= limits.grown) break;
    }
    EvaluationInputs in;
    in.probIn = P;
    in.generalSupercooling = dg;
    in.a = k.a;
    in.b = k.b;
    in.c = k.c;
    in.fieldW = k.side;
    return assessGrowthRegime(record, in);
}

}  // namespace

int main(int argc, char** argv) {
    Limits center, sides;
    center.grown = argc > 1 ? std::atof(argv[1]) : 10;
    sides.grown = argc > 2 ? std::atof(argv[2]) : 15;
    sides.continuousLayers = 400;
    Taus88 random;
    random.SeedForStart();
    std::printf(
        "sigma,dg,side,a,b,c,edges,vertices,rate,rough_rate,activation,roughness,rough_roughness,"
        "oscillation,grown,regime,reason,rate_low,rate_high,measured_activation\n");
    Case k;
    while (std::scanf("%lf %lf %d %lf %lf %lf %lf %lf", &k.sigma, &k.dg, &k.side, &k.a, &k.b, &k.c,
                      &k.edges, &k.vertices) == 8) {
        const GrowthRegimeAssessment a = run(random, k, k.dg, center);
        const double low = run(random, k, k.dg / 1.25, sides).rateParts;
        const double high = run(random, k, k.dg * 1.25, sides).rateParts;
        // Both side runs must have grown for a slope; "nan" says they did not.
        const double measured =
            low > 0 && high > 0 ? std::log(high / low) / std::log(1.5625) : std::nan("");
        std::printf(
            "%g,%g,%d,%g,%g,%g,%g,%g,%.4f,%.4f,%.3f,%.3f,%.3f,%.3f,%.2f,%s,\"%s\",%.4f,%.4f,%.3f\n",
            k.sigma, k.dg, k.side, k.a, k.b, k.c, k.edges, k.vertices, a.rateParts,
            a.roughFaceRateParts, a.activation, a.roughness, a.roughFaceRoughness,
            a.layerOscillation, a.grownLayers, growthRegimeWord(a.regime),
            growthRegimeEvidence(a).c_str(), low, high, measured);
        std::fflush(stdout);
    }
    return 0;
}
