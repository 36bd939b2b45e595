#include "experiments/reduction.h"

#include <cmath>

namespace quorvane {
namespace {

/// Spreads below this share of the g values' own size are rounding, not data.
constexpr double kNoSpread = 1e-14;
/// Differences of residual sums below this share of the squared data are rounding.
constexpr double kRoundingShare = 1e-12;

}  // namespace

TwoTermFit fitTwoTerms(const std::vector<double>& x, const std::vector<double>& y,
                       const std::function<double(double)>& g) {
    TwoTermFit fit;
    size_t n = x.size() < y.size() ? x.size() : y.size();
    if (n == 0) return fit;
    std::vector<double> gx(n);
    double gMean = 0, yMean = 0, gSquares = 0;
    for (size_t i = 0; i < n; ++i) {
        gx[i] = g(x[i]);
        gMean += gx[i];
        yMean += y[i];
        gSquares += gx[i] * gx[i];
    }
    gMean /= n;
    yMean /= n;
    // Centred sums: the normal equations without the cancellation of n*Sgg - Sg^2.
    double sgg = 0, sgy = 0;
    for (size_t i = 0; i < n; ++i) {
        sgg += (gx[i] - gMean) * (gx[i] - gMean);
        sgy += (gx[i] - gMean) * (y[i] - yMean);
    }
    if (sgg > kNoSpread * gSquares) fit.c1 = sgy / sgg;
    fit.c0 = yMean - fit.c1 * gMean;
    for (size_t i = 0; i < n; ++i) {
        double r = y[i] - fit.c0 - fit.c1 * gx[i];
        fit.residual += r * r;
    }
    return fit;
}

double extrapolateToZero(const std::vector<double>& x, const std::vector<double>& y) {
    // A later model wins only when it fits better by more than rounding: with
    // two points every two-term model passes through both, their residuals
    // are all rounding noise, and the straight line is kept. Rounding of the
    // squared residuals is measured against the squares of the data.
    double squares = 0;
    for (double v : y) squares += v * v;
    const double rounding = kRoundingShare * squares;
    auto better = [&](const TwoTermFit& candidate, const TwoTermFit& best) {
        return candidate.residual < best.residual - rounding;
    };
    // Three ways a measured quantity may approach its limit at probability
    // zero: linearly, quadratically (flat at zero) and as the square root
    // (steep at zero). Each has c0 as its value at x = 0, so c0 is the
    // extrapolation whichever fits best. The square root stands in for the
    // e^x * e^-x model, which is the constant 1 and so adds nothing.
    TwoTermFit best = fitTwoTerms(x, y, [](double v) { return v; });
    TwoTermFit square = fitTwoTerms(x, y, [](double v) { return v * v; });
    if (better(square, best)) best = square;
    TwoTermFit root = fitTwoTerms(x, y, [](double v) { return std::sqrt(v > 0 ? v : 0.0); });
    if (better(root, best)) best = root;
    return best.c0;
}

RunRecord Reduce(const std::vector<report>& reports) {
    if (reports.empty()) return RunRecord{};
    RunRecord reduced = reports.front();
    // What belongs to one run alone has no value at probability zero.
    reduced.timeStep = 0;
    reduced.probIn = 0;
    reduced.nRecords = 0;
    reduced.curLayer = 0;
    reduced.simTime = 0;
    reduced.time = 0;
    reduced.distance = 0;

    std::vector<double> x;
    for (const auto& r : reports) x.push_back(r.probIn);
    auto reduce = [&](double RunRecord::*quantity) {
        std::vector<double> y;
        for (const auto& r : reports) y.push_back(r.*quantity);
        return extrapolateToZero(x, y);
    };
    reduced.avRate = reduce(&RunRecord::avRate);
    reduced.avRatePercent = reduce(&RunRecord::avRatePercent);
    reduced.timeToFillLayer = reduce(&RunRecord::timeToFillLayer);
    reduced.timeToBeginFill = reduce(&RunRecord::timeToBeginFill);
    reduced.partTimeToStart = reduce(&RunRecord::partTimeToStart);
    // Neither roughness nor porosity can be negative: an extrapolation below
    // zero says there is none.
    double roughness = reduce(&RunRecord::roughness);
    reduced.roughness = roughness > 0 ? roughness : 0.0;
    double porosity = reduce(&RunRecord::porosity);
    reduced.porosity = porosity > 0 ? porosity : 0.0;
    return reduced;
}

}  // namespace quorvane
