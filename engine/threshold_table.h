#pragma once
/// The two threshold tables of a run: for every pair of contact counts, the 32-bit
/// random-number limits below which the column's top molecule moves, and below
/// which that move is a growth.

#include <cstdint>
#include <vector>

#include "engine/transition_rates.h"

namespace quorvane {

/// A column's two limits. A random number r moves the column when r <= total, and
/// the move is a growth when also r <= grow; grow <= total always holds.
struct ThresholdPair {
    std::uint32_t total = 0;
    std::uint32_t grow = 0;
    friend bool operator==(const ThresholdPair&, const ThresholdPair&) = default;
};

/// The probabilities at a column whose top molecule has `out` of the molecule's `n`
/// contact units and a newly arriving molecule would have `in`; exactly what the
/// tables are built from (the probability chart shows these shares).
CellProbabilities ProbabilitiesAtContact(const RateConstants& rates, int n, int out, int in);

/// Probabilities become limits by truncation, p * 4294967295. When staying is all
/// but impossible the two truncated shares can sum past the 32-bit range by a
/// rounding ulp; the sum is held at 0xFFFFFFFF so a certain move stays certain.
ThresholdPair ThresholdsFromProbabilities(const CellProbabilities& p);

/// Both tables interleaved, so that one column refresh reads one cache line.
class ThresholdTable {
  public:
    /// Builds the n*n entries, indexed by in + n*out. Returns false (and keeps the
    /// previous contents) when some probability is no number, as happens when the
    /// rate parameters overflow the exponentials. Throws std::bad_alloc.
    bool Build(const RateConstants& rates, int n);

    int n() const { return n_; }
    const ThresholdPair& at(int index) const { return entries_[index]; }
    const ThresholdPair* data() const { return entries_.data(); }

  private:
    int n_ = 0;
    std::vector<ThresholdPair> entries_;
};

}  // namespace quorvane
