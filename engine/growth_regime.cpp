#include "engine/growth_regime.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "common/cformat.h"
#include "engine/growth_record.h"
#include "engine/run_evaluation.h"

// How the regime is named, and why.
//
// With faces only, the face is the simple-cubic solid-on-solid model with bond
// energy sigma'/3 and driving force dG'; its roughening point is sigma'_R = 4.84
// (K_R = 0.8061 of the absolute-value model). Other shapes and edge weights move
// that point, but the face stays a solid-on-solid face.
//
// What tells the regimes apart is how strongly the growth is activated: how the
// rate R, as a part of continuous growth, depends on the drive. A rough face has
// a kink everywhere, so R hardly depends on dG' (d ln R / d ln dG' near 0, about
// 0.3 at the roughening point). A smooth face grows from two-dimensional nuclei
// whose barrier falls as the drive rises, ln R ~ -B/dG', so the activation
// d ln R / d ln dG' = B/dG' is large. The barrier is set by the step free
// energy, which vanishes at roughening: faces a little above sigma'_R are only
// weakly activated (0.5 to 1), whatever the bare bond energy says. So:
//   activation < 0.5           continuous
//   0.5 <= activation < 1.5    intermediate
//   activation >= 1.5          two-dimensional nucleation
//
// One run has one drive, but its rate already says how activated it is: the
// further R falls below the rate of a face at its roughening point under the same
// drive, the larger B/dG' (see `rateActivation`, calibrated against activations
// measured from runs at dG'/1.25 and dG' x 1.25). Two more measurements back it:
//  - a face that fills its layers one at a time (rare nuclei that spread over the
//    field) is rough while a layer is half full and smooth when it is complete:
//    the squared roughness follows f(1 - f) of the top layer's filling f. A
//    correlation of 0.5 or more is nucleation whatever the rate (below 0.25 on
//    every continuously growing run of the calibration, above 0.5 only where
//    the measured activation was that of nucleation);
//  - a face that is as rough as a face at its roughening point on the same field
//    under the same drive is not called nucleation, however slowly it grew: it
//    is "intermediate", rough on the simulated scale.
//
// A run is judged on its last two thirds, so that the flat start is forgotten,
// and only when continuous growth would have added at least three layers over
// that stretch: less leaves the rate of a small field to the luck of a few
// nuclei. Too short a run is undetermined, never guessed.

namespace quorvane {
namespace {

constexpr std::size_t kRegimeMinEntries = 50;
// The judged stretch is read at no more than about this many entries, so that the
// cost of a verdict does not grow with the run: a thousand samples set the mean
// roughness and the layer oscillation to within a few hundredths.
constexpr std::size_t kMaxSamples = 1024;
// Below this part of the rough-face rate a weakly activated face is well below
// its roughening point; above it the face is near that point.
constexpr double kNearRougheningRate = 0.6;

/// Mean roughness and layer oscillation of entries first..last.
struct StretchShape {
    double roughness = 0;
    double oscillation = 0;
};

/// One entry from each window of `stride` entries, at a place that varies from
/// window to window: a record as regular as layers filling one after the other
/// cannot alias with the stride. The same places every time.
StretchShape shapeOf(const GrowthRecord& record, std::size_t first, std::size_t last) {
    const std::size_t stride = std::max<std::size_t>(1, (last - first) / kMaxSamples);
    double n = 0, sw = 0, sy = 0, sq = 0, syy = 0, sqq = 0, syq = 0;
    std::uint32_t mix = 2463534242u;  // xorshift32
    for (std::size_t window = first; window <= last; window += stride) {
        mix ^= mix << 13;
        mix ^= mix >> 17;
        mix ^= mix << 5;
        const std::size_t i = std::min(last, window + mix % stride);
        const double h = record.height(i);
        const double f = h - std::floor(h);
        const double q = f * (1 - f);
        const double w = record.roughness(i);
        const double y = w * w;
        n += 1;
        sw += w;
        sy += y;
        sq += q;
        syy += y * y;
        sqq += q * q;
        syq += y * q;
    }
    StretchShape s;
    s.roughness = sw / n;
    const double cov = syq / n - (sy / n) * (sq / n);
    const double vy = syy / n - (sy / n) * (sy / n);
    const double vq = sqq / n - (sq / n) * (sq / n);
    // A constant series (no roughness recorded, or a face that never moved) has
    // no oscillation to speak of; rounding can leave a tiny variance behind.
    if (vy > 1e-12 * (sy / n) * (sy / n) + 1e-300 && vq > 1e-12) {
        s.oscillation = cov / std::sqrt(vy * vq);
    }
    return s;
}

GrowthRegimeAssessment named(GrowthRegimeAssessment a, GrowthRegime regime, RegimeReason reason) {
    a.regime = regime;
    a.reason = reason;
    return a;
}

/// The regime of a run that could be judged, from its measured numbers.
GrowthRegimeAssessment decide(const GrowthRegimeAssessment& a) {
    if (a.activation < kContinuousActivation)
        return named(a, GrowthRegime::Continuous, RegimeReason::RoughFace);
    if (a.layerOscillation >= kLayerByLayerOscillation)
        return named(a, GrowthRegime::Nucleation, RegimeReason::LayerByLayer);
    if (a.activation >= kNucleationActivation) {
        if (a.roughness >= a.roughFaceRoughness)
            return named(a, GrowthRegime::Intermediate, RegimeReason::RoughOnThisField);
        return named(a, GrowthRegime::Nucleation, RegimeReason::StrongActivation);
    }
    if (a.rateParts >= kNearRougheningRate * a.roughFaceRateParts)
        return named(a, GrowthRegime::Intermediate, RegimeReason::NearRoughening);
    return named(a, GrowthRegime::Intermediate, RegimeReason::WeakActivation);
}

}  // namespace

// Measured at sigma' = 4.84 with this engine on 32 x 32, 64 x 64 and 128 x 128
// fields (edge and vertex weights 0, 40 layers of continuous growth per run):
//   dG'    0.05  0.1   0.2   0.35  0.5   0.75  1     1.25  1.5   2     3
//   rate   0.30  0.32  0.36  0.41  0.45  0.51  0.57  0.61  0.66  0.745 0.86
// 1 - 0.71 exp(-dG'/2) follows it within 0.01 up to dG' = 2 and stays a little
// below it at larger drives.
double roughFaceRateParts(double g) {
    return 1.0 - 0.71 * std::exp(-g / 2.0);
}

// Mean roughness over the last two thirds of runs at sigma' = 4.84 that grew 10
// layers (P = 0.01, faces only). Without drive it is the equilibrium width at
// roughening, w^2 = c + ln(L) / pi^2 (0.66, 0.76, 0.79, 0.84 layers on 16, 32, 64
// and 128); the drive adds kinetic roughness, 0.55 dG'^1.75 to w^2 up to dG' = 3:
//   dG'            0.1   0.5   1     1.5   2     3
//   w at 64 x 64   0.76  0.89  1.09  1.30  1.59  2.02
// Past dG' = 3 the roughness grows with the run's length (almost every arrival
// stays where it lands), so the reference stops there and stays below it.
double roughFaceRoughness(int fieldW, double g) {
    const double side = std::max(fieldW, 2);
    const double drive = std::clamp(g, 0.0, 3.0);
    const double pi = 3.14159265358979;
    return std::sqrt(0.2 + std::log(side) / (pi * pi) + 0.55 * std::pow(drive, 1.75));
}

// Activations d ln R / d ln dG' measured from pairs of runs at dG'/1.25 and
// dG' x 1.25 (about 15 layers each) against the rate part R of a run at dG'
// (10 layers), on 208 runs: cubes sigma' 3..10 x dG' 0.1..5 on 64 x 64, and on
// 48 x 48 boxes 1x1x2, 2x1x1, 0.5x1x1, 1x2x3 and cubes with edge and vertex
// weights 0.25 and 0.05, each at 0.8..1.75 times its own roughening point. With
// x = ln(R_R / R), R_R the rough-face rate, a least-squares fit gives
//   activation = 0.31 + (0.74 + 0.23 dG') x
// with a scatter of 0.17; the slope grows with the drive because the nucleation
// barrier then falls faster than 1/dG'. It tells the three classes apart as the
// measured activations do on 195 of the 208 runs, and never confuses
// continuous growth with nucleation.
double rateActivation(double rateParts, double g) {
    if (!(rateParts > 0)) return kMaxActivation;
    const double x = std::log(roughFaceRateParts(g) / rateParts);
    const double activation = 0.31 + (0.74 + 0.23 * g) * x;
    return std::clamp(activation, 0.0, kMaxActivation);
}

GrowthRegimeAssessment assessGrowthRegime(const GrowthRecord& record, const EvaluationInputs& in) {
    GrowthRegimeAssessment a;
    const std::size_t count = record.count();
    if (count <= kRegimeMinEntries)
        return named(a, GrowthRegime::Undetermined, RegimeReason::TooFewEntries);
    const double g = in.generalSupercooling;
    // Continuous growth: every arrival sticks unless it leaves at once.
    const double perStep = in.probIn * (1 - std::exp(-g));
    if (!(g > 0) || !(perStep > 0) || !std::isfinite(perStep))
        return named(a, GrowthRegime::Undetermined, RegimeReason::NoDrivingForce);
    const std::size_t last = count - 1;
    const std::size_t first = count / 3;
    a.judgedLayers = static_cast<double>(last - first) * perStep;
    if (a.judgedLayers < kRegimeMinJudgedLayers)
        return named(a, GrowthRegime::Undetermined, RegimeReason::TooShort);
    a.grownLayers = record.height(last) - record.height(first);
    a.rateParts = a.grownLayers / a.judgedLayers;
    a.roughFaceRateParts = roughFaceRateParts(g);
    a.activation = rateActivation(a.rateParts, g);
    const StretchShape shape = shapeOf(record, first, last);
    a.roughness = shape.roughness;
    a.roughFaceRoughness = roughFaceRoughness(in.fieldW, g);
    a.layerOscillation = shape.oscillation;
    return decide(a);
}

const char* growthRegimeWord(GrowthRegime regime) {
    switch (regime) {
        case GrowthRegime::Continuous:
            return "continuous";
        case GrowthRegime::Intermediate:
            return "intermediate";
        case GrowthRegime::Nucleation:
            return "nucleation";
        default:
            return "undetermined";
    }
}

const char* growthRegimeReason(RegimeReason reason) {
    switch (reason) {
        case RegimeReason::TooFewEntries:
            return "too few steps";
        case RegimeReason::NoDrivingForce:
            return "no driving force";
        case RegimeReason::TooShort:
            return "too short";
        case RegimeReason::RoughFace:
            return "rough face";
        case RegimeReason::NearRoughening:
            return "near the roughening point";
        case RegimeReason::WeakActivation:
            return "weakly activated";
        case RegimeReason::StrongActivation:
            return "strongly activated";
        case RegimeReason::LayerByLayer:
            return "layer by layer";
        case RegimeReason::RoughOnThisField:
            return "activated yet rough on this field";
    }
    return "";
}

std::string growthRegimeEvidence(const GrowthRegimeAssessment& a) {
    switch (a.reason) {
        case RegimeReason::TooFewEntries:
            return "too few steps to judge";
        case RegimeReason::NoDrivingForce:
            return "no driving force for growth";
        case RegimeReason::TooShort:
            return cformat("too short to judge: %.2f of %g layers of continuous growth",
                           a.judgedLayers, kRegimeMinJudgedLayers);
        default:
            break;
    }
    return cformat(
        "%s: activation %.2f, rate %.3f (%.3f at roughening), roughness %.2f (%.2f at "
        "roughening), layer oscillation %.2f, %.1f layers grown",
        growthRegimeReason(a.reason), a.activation, a.rateParts, a.roughFaceRateParts, a.roughness,
        a.roughFaceRoughness, a.layerOscillation, a.grownLayers);
}

std::string growthRegimeText(const GrowthRegimeAssessment& a) {
    return std::string(growthRegimeWord(a.regime)) + " (" + growthRegimeEvidence(a) + ")";
}

std::string growthRegimeText(const RunEvaluation& evaluation) {
    return growthRegimeText(evaluation.regime);
}

}  // namespace quorvane
