#include "engine/threshold_table.h"

#include <algorithm>
#include <utility>

namespace quorvane {

namespace {

bool IsShare(double share) {
    return share >= 0.0 && share <= 1.0;
}

}  // namespace

CellProbabilities ProbabilitiesAtContact(const RateConstants& rates, int n, int out, int in) {
    const double phiOut = static_cast<double>(out) / n;
    const double phiIn = static_cast<double>(in) / n;
    return CellProbabilities::make(rates, phiOut, phiIn);
}

ThresholdPair ThresholdsFromProbabilities(const CellProbabilities& p) {
    // Shares are at most 1, so each product is at most F and converts exactly.
    const auto grow = static_cast<std::uint32_t>(p.growShare() * RateConstants::kF);
    const auto leave = static_cast<std::uint32_t>(p.leaveShare() * RateConstants::kF);
    const std::uint64_t total = std::uint64_t{leave} + grow;
    return {static_cast<std::uint32_t>(std::min<std::uint64_t>(total, 0xFFFFFFFFu)), grow};
}

bool ThresholdTable::Build(const RateConstants& rates, int n) {
    std::vector<ThresholdPair> entries(static_cast<std::size_t>(n) * n);
    for (int out = 0; out < n; ++out) {
        ThresholdPair* row = entries.data() + static_cast<std::size_t>(n) * out;
        for (int in = 0; in < n; ++in) {
            const CellProbabilities p = ProbabilitiesAtContact(rates, n, out, in);
            if (!IsShare(p.growShare()) || !IsShare(p.leaveShare())) return false;
            row[in] = ThresholdsFromProbabilities(p);
        }
    }
    n_ = n;
    entries_ = std::move(entries);
    return true;
}

}  // namespace quorvane
