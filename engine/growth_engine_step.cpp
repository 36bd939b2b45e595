// The Monte Carlo step of `GrowthEngine`: the sweep, the periodic border and the
// refresh of the thresholds.

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "engine/growth_engine.h"
#include "engine/threshold_marks.h"

namespace quorvane {

namespace {

/// The eight neighbours of a column in the stored array of stride S.
struct Around {
    std::int64_t offset[8];
    explicit Around(std::int64_t S) : offset{-S - 1, -S, -S + 1, -1, 1, S - 1, S, S + 1} {}
};

}  // namespace

StepResult GrowthEngine::StepPlain() {
    return Step<false>();
}
StepResult GrowthEngine::StepPorous() {
    return Step<true>();
}

GrowthEngine::ContactRule GrowthEngine::MakeContactRule() const {
    const ContactGeometry& g = run_.contact;
    ContactRule rule{};
    const NeighbourContact* directions[3] = {&g.alongJ, &g.alongI, &g.diagonal};
    for (int d = 0; d < 3; ++d) {
        const NeighbourContact& v = *directions[d];
        // By the neighbour's height minus the column's, clamped to -2..2. The top
        // molecule sits at the column's height, a newcomer one layer higher, so the
        // newcomer sees every difference one smaller.
        const int out[5] = {0, v.lower, v.level, v.higher, v.higher};
        const int in[5] = {0, 0, v.lower, v.level, v.higher};
        for (int x = 0; x < 5; ++x) {
            rule.packed[d][x] =
                static_cast<std::uint32_t>(out[x]) | static_cast<std::uint32_t>(in[x]) << 16;
        }
    }
    rule.bottom = g.U_bc;
    rule.n = table_.n();
    rule.maxIndex = table_.n() - 1;
    rule.stride = run_.stride;
    rule.table = table_.data();
    return rule;
}

template <bool Porous>
[[gnu::always_inline]] inline ThresholdPair GrowthEngine::CellThresholds(const ContactRule& rule,
                                                                         std::int64_t k) const {
    const std::int32_t* h = height_.data() + k;
    const std::int64_t S = rule.stride;
    const std::int64_t own = h[0];
    const auto part = [&](int direction, std::int64_t offset) {
        const std::int64_t d = std::clamp<std::int64_t>(h[offset] - own, -2, 2);
        return rule.packed[direction][d + 2];
    };
    // Both sums stay below n <= 4096, so they share one word without carrying over.
    const std::uint32_t sum = part(0, -1) + part(0, 1) + part(1, -S) + part(1, S) + part(2, S - 1) +
                              part(2, S + 1) + part(2, -S - 1) + part(2, -S + 1);
    int out = static_cast<int>(sum & 0xFFFFu);
    const int in = std::min(rule.bottom + static_cast<int>(sum >> 16), rule.maxIndex);
    bool restsOnBottom = true;
    if constexpr (Porous) {
        // The molecule that bridged a pore has nothing under it.
        const PoreRecord& pore = pores_[k];
        restsOnBottom = !(pore.count != 0 && own == pore.top);
    }
    if (restsOnBottom) out += rule.bottom;
    out = std::min(out, rule.maxIndex);
    return rule.table[in + static_cast<std::int64_t>(rule.n) * out];
}

template <bool Porous>
void GrowthEngine::RecomputeAll() {
    const ContactRule rule = MakeContactRule();
    for (int i = 1; i <= run_.W; ++i) {
        const std::int64_t first = Index(i, 1);
        for (std::int64_t k = first; k < first + run_.H; ++k) {
            thresholds_[k] = CellThresholds<Porous>(rule, k);
        }
    }
}
template void GrowthEngine::RecomputeAll<false>();

// Refreshes every interior column within one cell of a moved column (no wrap across
// the border: a column on the opposite edge keeps its thresholds until the next full
// recomputation). Each column is computed once, however many moved columns it
// touches; the result is the same as computing it once per touch.
template <bool Porous>
void GrowthEngine::RefreshMoved(std::uint32_t head) {
    const ContactRule rule = MakeContactRule();
    ThresholdPair* th = thresholds_.data();
    const Around around(rule.stride);
    // Border slots and moved columns already carry marks; real pairs get one.
    for (std::uint32_t k = head; k != 0; k = th[k].total) {
        for (std::int64_t offset : around.offset) {
            ThresholdPair& p = th[k + offset];
            if (marks::IsReal(p)) p = marks::kRefresh;
        }
    }
    for (std::uint32_t k = head; k != 0;) {
        const std::uint32_t next = th[k].total;
        for (std::int64_t offset : around.offset) {
            const std::int64_t c = k + offset;
            if (th[c] == marks::kRefresh) th[c] = CellThresholds<Porous>(rule, c);
        }
        th[k] = CellThresholds<Porous>(rule, k);
        k = next;
    }
}

std::int64_t GrowthEngine::LandingHeight(std::int64_t k) const {
    const std::int32_t* h = height_.data() + k;
    const std::int64_t own = h[0];
    std::int64_t lowest = std::numeric_limits<std::int64_t>::max();
    for (std::int64_t offset : Around(run_.stride).offset) {
        lowest = std::min(lowest, h[offset] - own);
    }
    // In a pit at least two layers deep the molecule bridges it at the level of the
    // lowest neighbour.
    return lowest < 2 ? 1 : lowest;
}

void GrowthEngine::SetHeight(std::int64_t k, std::int64_t height, StepTally& tally) {
    const std::int64_t old = height_[k];
    height_[k] = static_cast<std::int32_t>(height);
    tally.net += height - old;
    tally.squares += static_cast<__int128>(height) * height - static_cast<__int128>(old) * old;
}

template <bool Porous>
void GrowthEngine::MoveColumn(std::int64_t k, bool grows, StepTally& tally) {
    const std::int64_t old = height_[k];
    if constexpr (!Porous) {
        SetHeight(k, grows ? old + 1 : old - 1, tally);
    } else if (grows) {
        const std::int64_t rise = LandingHeight(k);
        if (rise > 1) {
            PoreRecord& pore = pores_[k];
            pore.bottom = static_cast<std::int32_t>(old);
            pore.top = static_cast<std::int32_t>(old + rise);
            pore.count += 1;
            tally.poreChange += rise - 1;
        }
        SetHeight(k, old + rise, tally);
    } else {
        PoreRecord& pore = pores_[k];
        if (pore.count != 0 && pore.top == old) {
            // The bridging molecule leaves: the pit reopens down to its bottom.
            pore.count -= 1;
            tally.poreChange -= std::int64_t{pore.top} - pore.bottom - 1;
            SetHeight(k, pore.bottom, tally);
            pore.bottom = kNoPore;
            pore.top = kNoPore;
        } else {
            SetHeight(k, old - 1, tally);
        }
    }
}

template <bool Porous>
StepResult GrowthEngine::Step() {
    if (!hasField_) return {};
    // A local copy of the generator stays in registers: stores into the field could
    // otherwise alias its words.
    Taus88 rng = random_;
    ThresholdPair* const th = thresholds_.data();
    StepTally tally;
    for (int i = 1; i <= run_.W; ++i) {
        const std::int64_t first = Index(i, 1);
        for (std::int64_t k = first; k < first + run_.H; ++k) {
            const std::uint32_t r = rng.NextRandom();
            const ThresholdPair t = th[k];
            if (r > t.total) continue;
            MoveColumn<Porous>(k, r <= t.grow, tally);
            th[k] = marks::Moved(tally.movedHead);
            tally.movedHead = static_cast<std::uint32_t>(k);
            ++tally.moves;
        }
    }
    random_ = rng;
    CopyBorder();
    // Nine listed cells per move; past W*H listed cells one full pass is cheaper.
    if (9 * tally.moves > run_.area) {
        RecomputeAll<Porous>();
    } else {
        RefreshMoved<Porous>(tally.movedHead);
    }
    return Finish(tally, Porous);
}

void GrowthEngine::CopyBorder() {
    std::int32_t* h = height_.data();
    const int W = run_.W;
    const int H = run_.H;
    std::copy_n(h + Index(W, 1), H, h + Index(0, 1));
    std::copy_n(h + Index(1, 1), H, h + Index(W + 1, 1));
    for (int i = 1; i <= W; ++i) {
        h[Index(i, 0)] = h[Index(i, H)];
        h[Index(i, H + 1)] = h[Index(i, 1)];
    }
    h[Index(0, 0)] = h[Index(W, H)];
    h[Index(0, H + 1)] = h[Index(W, 1)];
    h[Index(W + 1, 0)] = h[Index(1, H)];
    h[Index(W + 1, H + 1)] = h[Index(1, 1)];
}

StepResult GrowthEngine::Finish(const StepTally& tally, bool porous) {
    totalHeight_ += tally.net;
    sumSquares_ += tally.squares;
    poreCells_ += tally.poreChange;
    const double area = static_cast<double>(run_.area);
    meanHeight_ = static_cast<double>(totalHeight_) / area;
    // Once a step, from the running sum: the map follows the surface as it grows.
    FollowReferenceLevel(totalHeight_);
    // W*H times the sum of (mean - h)^2, exactly, from the two integer sums.
    const __int128 spread = static_cast<__int128>(run_.area) * sumSquares_ -
                            static_cast<__int128>(totalHeight_) * totalHeight_;
    StepResult result{meanHeight_, std::sqrt(static_cast<double>(spread) / (area * area)), 0};
    if (porous && totalHeight_ != 0 && std::abs(meanHeight_) > 0.5) {
        result.porosity = static_cast<double>(poreCells_) / static_cast<double>(totalHeight_);
    }
    return result;
}

}  // namespace quorvane
