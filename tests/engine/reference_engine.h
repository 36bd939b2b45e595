#pragma once
/// A small engine written straight from the description of the model, with none of
/// the optimisations of `GrowthEngine`: separate per-cell arrays, its own unit
/// counts, the nine-entry touched list with its duplicates, a second pass for the
/// mean and the roughness. Tests run it beside the real engine on the same random
/// sequence and demand identical fields.

#include <cmath>
#include <cstdint>
#include <vector>

#include "engine/growth_engine.h"
#include "engine/taus88.h"
#include "engine/transition_rates.h"

namespace quorvane::testing {

struct ReferenceResult {
    double mean = 0;
    double roughness = 0;
    double porosity = 0;
};

class ReferenceEngine {
  public:
    // Unit counts, each made whole by truncation and raised only above .5.
    int Ubc = 0, Uab = 0, Uac = 0, UEa = 0, UEb = 0, UEc = 0, UV = 0, n = 0;
    int W = 0, H = 0, S = 0;
    std::vector<std::int32_t> height, poreBottom, poreTop, poreCount;
    std::vector<std::uint32_t> thresholdTotal, thresholdGrow;
    std::int64_t totalHeight = 0;
    std::int64_t poreCells = 0;
    int fullRecomputations = 0;
    int listedRefreshes = 0;

    ReferenceEngine(Taus88& random, double E0, double E8, std::uint32_t Pint, double a, double b,
                    double c, int W_, int H_, double e, double v)
        : random_(random), rates_(RateConstants::make(E0, E8, Pint)) {
        double Abc = b * c, Aab = a * b, Aac = a * c;
        double A = 2 * (Aab + Abc + Aac);
        double l = A * e / 4, s = a + b + c;
        double Ea = l * a / s, Eb = l * b / s, Ec = l * c / s, Vx = A * v / 8;
        double L = 1000 / (4 * (Ea + Eb + Ec) + A + 8 * Vx);
        Ubc = Round(Abc * L), Uab = Round(Aab * L), Uac = Round(Aac * L);
        UEc = Round(Ec * L), UEb = Round(Eb * L), UEa = Round(Ea * L), UV = Round(Vx * L);
        n = 2 * (Uac + Uab + Ubc + 2 * UEa + 2 * UEb + 2 * UEc + 4 * UV);
        W = W_, H = H_, S = H + 2;
        const std::size_t cells = static_cast<std::size_t>((W + 2) * (H + 2));
        height.assign(cells, 0);
        poreBottom.assign(cells, -1000);
        poreTop.assign(cells, -1000);
        poreCount.assign(cells, 0);
        thresholdTotal.assign(cells, 0);
        thresholdGrow.assign(cells, 0);
        tableKnown_.assign(static_cast<std::size_t>(n) * n, false);
        tableTotal_.assign(tableKnown_.size(), 0);
        tableGrow_.assign(tableKnown_.size(), 0);
        RecomputeAll(false);
    }

    static int Round(double x) {
        double t = std::trunc(x);
        return static_cast<int>(t) + (x - t > 0.5 ? 1 : 0);
    }

    bool Interior(std::int64_t k) const {
        return !(k < S || k % S == 0 || k % S == H + 1 || k > (W + 1) * S - 2);
    }

    // Returns the index into the tables; fills both tables lazily.
    int ContactIndex(std::int64_t k, bool porous) const {
        const int level[3] = {Uac + UEc, Uab + UEb, UEa + UV};
        const int lower[3] = {UEc, UEb, UV};
        const int higher[3] = {Uac + 2 * UEc, Uab + 2 * UEb, UEa + 2 * UV};
        const std::int64_t nb[8] = {k - 1,     k + 1,     k - S,     k + S,
                                    k + S - 1, k + S + 1, k - S - 1, k - S + 1};
        const int dir[8] = {0, 0, 1, 1, 2, 2, 2, 2};
        int out = Ubc, in = Ubc;
        if (porous && poreCount[k] != 0 && height[k] == poreTop[k]) out = 0;
        for (int m = 0; m < 8; ++m) {
            int d = height[nb[m]] - height[k];
            int g = dir[m];
            if (d == 0)
                out += level[g];
            else if (d == -1)
                out += lower[g];
            else if (d >= 1)
                out += higher[g];
            if (d == 1)
                in += level[g];
            else if (d == 0)
                in += lower[g];
            else if (d >= 2)
                in += higher[g];
        }
        if (out > n - 1) out = n - 1;
        if (in > n - 1) in = n - 1;
        return in + n * out;
    }

    void Entry(int index, std::uint32_t& total, std::uint32_t& grow) const {
        if (!tableKnown_[index]) {
            int in = index % n, out = index / n;
            CellProbabilities p = CellProbabilities::make(rates_, out / double(n), in / double(n));
            double F = 4294967295.0;
            std::uint64_t g = static_cast<std::uint32_t>(p.grow / p.sum * F);
            std::uint64_t t = static_cast<std::uint32_t>(p.leave / p.sum * F) + g;
            if (t > 0xFFFFFFFFu) t = 0xFFFFFFFFu;
            tableTotal_[index] = static_cast<std::uint32_t>(t);
            tableGrow_[index] = static_cast<std::uint32_t>(g);
            tableKnown_[index] = true;
        }
        total = tableTotal_[index];
        grow = tableGrow_[index];
    }

    void SetThresholds(std::int64_t k, bool porous) {
        Entry(ContactIndex(k, porous), thresholdTotal[k], thresholdGrow[k]);
    }

    void RecomputeAll(bool porous) {
        for (int i = 1; i <= W; ++i)
            for (int j = 1; j <= H; ++j) SetThresholds(i * S + j, porous);
    }

    ReferenceResult Step(bool porous) {
        std::vector<std::int64_t> touched;
        std::int64_t counter = 0, net = 0, poreChange = 0;
        bool full = false;
        for (int i = 1; i <= W; ++i) {
            for (int j = 1; j <= H; ++j) {
                std::int64_t k = i * S + j;
                std::uint32_t r = random_.NextRandom();
                if (r > thresholdTotal[k]) continue;
                if (r <= thresholdGrow[k]) {
                    int D = porous ? Landing(k) : 1;
                    if (D > 1) {
                        poreBottom[k] = height[k];
                        poreTop[k] = height[k] + D;
                        poreCount[k] += 1;
                        poreChange += D - 1;
                    }
                    height[k] += D;
                    net += D;
                } else if (porous && poreCount[k] != 0 && poreTop[k] == height[k]) {
                    poreCount[k] -= 1;
                    int g = poreTop[k] - poreBottom[k];
                    height[k] = poreBottom[k];
                    net -= g;
                    poreChange -= g - 1;
                    poreBottom[k] = poreTop[k] = -1000;
                } else {
                    height[k] -= 1;
                    net -= 1;
                }
                if (!full) {
                    counter += 9;
                    for (std::int64_t c : {k, k + 1, k - 1, k + S, k - S, k + S + 1, k + S - 1,
                                           k - S + 1, k - S - 1})
                        touched.push_back(c);
                    if (counter > std::int64_t{W} * H) full = true;
                }
            }
        }
        CopyBorder();
        if (full || touched.size() > static_cast<std::size_t>((W + 2) * (H + 2))) {
            RecomputeAll(porous);
            ++fullRecomputations;
        } else {
            for (std::int64_t c : touched)
                if (Interior(c)) SetThresholds(c, porous);
            if (!touched.empty()) ++listedRefreshes;
        }
        totalHeight += net;
        ReferenceResult result;
        result.mean = static_cast<double>(totalHeight) / (W * H);
        double sum = 0;
        for (int i = 1; i <= W; ++i)
            for (int j = 1; j <= H; ++j) {
                double d = result.mean - height[i * S + j];
                sum += d * d;
            }
        result.roughness = std::sqrt(sum / (W * H));
        poreCells += poreChange;
        if (porous && totalHeight != 0 && std::fabs(result.mean) > 0.5)
            result.porosity = static_cast<double>(poreCells) / static_cast<double>(totalHeight);
        return result;
    }

    int Landing(std::int64_t k) const {
        int D = 1 << 30;
        for (std::int64_t c :
             {k - 1, k + 1, k - S, k + S, k + S - 1, k + S + 1, k - S - 1, k - S + 1}) {
            int d = height[c] - height[k];
            if (d < 2) return 1;
            if (d < D) D = d;
        }
        return D;
    }

    void CopyBorder() {
        for (int j = 1; j <= H; ++j) {
            height[j] = height[W * S + j];
            height[(W + 1) * S + j] = height[S + j];
        }
        for (int i = 1; i <= W; ++i) {
            height[i * S] = height[i * S + H];
            height[i * S + H + 1] = height[i * S + 1];
        }
        height[0] = height[W * S + H];
        height[H + 1] = height[W * S + 1];
        height[(W + 1) * S] = height[S + H];
        height[(W + 1) * S + H + 1] = height[S + 1];
    }

  private:
    Taus88& random_;
    RateConstants rates_;
    mutable std::vector<bool> tableKnown_;
    mutable std::vector<std::uint32_t> tableTotal_, tableGrow_;
};

// The literal contact rule applied to the engine's present field; one per test, as
// it keeps the table entries it has computed.
class ReferenceThresholds {
  public:
    explicit ReferenceThresholds(const GrowthEngine& engine)
        : engine_(engine),
          ref_(unused_, engine.runGeometry().E0, engine.runGeometry().E8, engine.runGeometry().Pint,
               engine.runGeometry().contact.a, engine.runGeometry().contact.b,
               engine.runGeometry().contact.c, engine.W(), engine.H(),
               engine.runGeometry().contact.edgeWeight, engine.runGeometry().contact.vertexWeight) {
    }

    ThresholdPair operator()(int i, int j, bool porous = false) {
        ref_.height.assign(engine_.heights().begin(), engine_.heights().end());
        for (std::size_t k = 0; k < ref_.height.size(); ++k) {
            ref_.poreTop[k] = engine_.pores()[k].top;
            ref_.poreCount[k] = engine_.pores()[k].count;
        }
        ThresholdPair t;
        ref_.Entry(ref_.ContactIndex(i * ref_.S + j, porous), t.total, t.grow);
        return t;
    }

  private:
    const GrowthEngine& engine_;
    Taus88 unused_;
    ReferenceEngine ref_;
};

}  // namespace quorvane::testing
