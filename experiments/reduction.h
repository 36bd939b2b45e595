#pragma once
/// The reduction of a full run: a series of runs of the same physical data at
/// several incorporation probabilities, extrapolated to probability zero.

#include <functional>
#include <vector>

#include "experiments/run_record.h"

namespace quorvane {

/// One run of a full-run series, kept whole.
using report = RunRecord;

/// A least-squares fit y = c0 + c1 g(x).
struct TwoTermFit {
    double c0 = 0;
    double c1 = 0;
    double residual = 0;  ///< sum of squared residuals
};

/// Fits y = c0 + c1 g(x). When the g values do not spread (one point, or all
/// probabilities equal) the slope cannot be told: c1 = 0 and c0 is the mean.
TwoTermFit fitTwoTerms(const std::vector<double>& x, const std::vector<double>& y,
                       const std::function<double(double)>& g);

/// The value at x = 0 of the best of the three two-term models.
double extrapolateToZero(const std::vector<double>& x, const std::vector<double>& y);

/// The reduced record of a series (at least one record; an empty series gives
/// an empty record).
RunRecord Reduce(const std::vector<report>& reports);

}  // namespace quorvane
