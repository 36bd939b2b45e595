// The optimised engine against the literal reference: same random sequence, same
// heights, thresholds, pores and counters after every step.

#include <gtest/gtest.h>

#include <string>

#include "engine/growth_engine.h"
#include "reference_engine.h"

namespace quorvane {
namespace {

using testing::ReferenceEngine;

struct Case {
    std::string name;
    double E0, E8, P;
    double a, b, c, edges, vertices;
    int W, H;
    int steps;
};

std::uint32_t Pint(double P) {
    return static_cast<std::uint32_t>(P * 4294967295.0);
}

// Compares every stored cell, border included, and every interior threshold.
void ExpectSameField(const GrowthEngine& engine, const ReferenceEngine& ref, int step) {
    const auto heights = engine.heights();
    ASSERT_EQ(heights.size(), ref.height.size());
    for (std::size_t k = 0; k < heights.size(); ++k) {
        ASSERT_EQ(heights[k], ref.height[k]) << "cell " << k << " after step " << step;
        const PoreRecord& pore = engine.pores()[k];
        ASSERT_EQ(pore.bottom, ref.poreBottom[k]) << "cell " << k << " after step " << step;
        ASSERT_EQ(pore.top, ref.poreTop[k]) << "cell " << k << " after step " << step;
        ASSERT_EQ(pore.count, ref.poreCount[k]) << "cell " << k << " after step " << step;
    }
    for (int i = 1; i <= ref.W; ++i) {
        for (int j = 1; j <= ref.H; ++j) {
            const ThresholdPair t = engine.thresholdsAt(i, j);
            ASSERT_EQ(t.total, ref.thresholdTotal[i * ref.S + j]) << i << "," << j << " " << step;
            ASSERT_EQ(t.grow, ref.thresholdGrow[i * ref.S + j]) << i << "," << j << " " << step;
        }
    }
}

struct Coverage {
    int full = 0;
    int listed = 0;
    std::int64_t maxPoreCells = 0;
    int poresReopened = 0;
    std::int64_t lastPoreCells = 0;
    std::int32_t lowest = 0;
};

Coverage RunSideBySide(const Case& c, bool porous) {
    SCOPED_TRACE(c.name + (porous ? " porous" : " plain"));
    Taus88 engineRandom;
    engineRandom.SeedForStart();
    Taus88 refRandom = engineRandom;
    GrowthEngine engine(engineRandom);
    EXPECT_EQ(engine.InitRun(c.E0, c.E8, Pint(c.P), c.a, c.b, c.c, c.W, c.H, c.edges, c.vertices),
              InitStatus::Ok);
    ReferenceEngine ref(refRandom, c.E0, c.E8, Pint(c.P), c.a, c.b, c.c, c.W, c.H, c.edges,
                        c.vertices);
    EXPECT_EQ(engine.n(), ref.n);
    Coverage seen;
    for (int step = 1; step <= c.steps; ++step) {
        const StepResult got = porous ? engine.StepPorous() : engine.StepPlain();
        const testing::ReferenceResult want = ref.Step(porous);
        ExpectSameField(engine, ref, step);
        if (::testing::Test::HasFatalFailure()) return seen;
        EXPECT_EQ(engine.total_height(), ref.totalHeight);
        EXPECT_EQ(engine.pore_cells(), ref.poreCells);
        EXPECT_EQ(got.meanHeight, want.mean);
        EXPECT_NEAR(got.roughness, want.roughness, 1e-9 * (1 + want.roughness));
        EXPECT_EQ(got.porosity, want.porosity);
        if (ref.poreCells < seen.lastPoreCells) ++seen.poresReopened;
        seen.lastPoreCells = ref.poreCells;
        seen.maxPoreCells = std::max(seen.maxPoreCells, ref.poreCells);
        seen.lowest = std::min(seen.lowest, GrowthEngine::HeightRange(engine.heights()).min);
    }
    seen.full = ref.fullRecomputations;
    seen.listed = ref.listedRefreshes;
    return seen;
}

const Case kCases[] = {
    // The benchmark's active set on a small field: mostly listed refreshes.
    {"active", 1, 3, 0.01, 6, 6, 6, 0.25, 0.05, 9, 7, 400},
    // Fast exchange: nearly every step recomputes fully, deep pits open and close.
    {"fast", 0.5, 1.0, 0.3, 6, 6, 6, 0.25, 0.05, 7, 6, 300},
    // An elongated molecule on a non-square field, rates in between.
    {"elongated", 0.2, 2.0, 0.05, 1, 2, 3, 0.3, 0.1, 11, 6, 300},
    // Undersaturated: the face dissolves below its start.
    {"dissolving", -0.6, 1.5, 0.05, 2, 1, 1.5, 0.25, 0.05, 8, 8, 300},
    // Faces only.
    {"faces only", 0.3, 1.2, 0.1, 6, 6, 6, 0, 0, 6, 9, 300},
    // The benchmark's quiet set.
    {"quiet", 0.0884, 11.73, 0.000217, 6, 6, 6, 0.25, 0.05, 20, 20, 400},
    // One row only, and a field of one column: the border wraps onto the interior.
    {"one row", 0.5, 1.0, 0.3, 6, 6, 6, 0.25, 0.05, 1, 7, 200},
    {"one column", 0.5, 1.0, 0.3, 6, 6, 6, 0.25, 0.05, 1, 1, 200},
};

TEST(ReferenceEquivalence, PlainStepMatchesLiteralEngine) {
    Coverage total;
    for (const Case& c : kCases) {
        const Coverage seen = RunSideBySide(c, false);
        ASSERT_FALSE(HasFatalFailure());
        total.full += seen.full;
        total.listed += seen.listed;
        total.lowest = std::min(total.lowest, seen.lowest);
    }
    // The comparison means something only if both refresh paths and negative heights
    // occurred.
    EXPECT_GT(total.full, 50);
    EXPECT_GT(total.listed, 50);
    EXPECT_LT(total.lowest, -3);
}

TEST(ReferenceEquivalence, PorousStepMatchesLiteralEngine) {
    Coverage total;
    for (const Case& c : kCases) {
        const Coverage seen = RunSideBySide(c, true);
        ASSERT_FALSE(HasFatalFailure());
        total.full += seen.full;
        total.listed += seen.listed;
        total.maxPoreCells = std::max(total.maxPoreCells, seen.maxPoreCells);
        total.poresReopened += seen.poresReopened;
    }
    EXPECT_GT(total.full, 50);
    EXPECT_GT(total.listed, 50);
    EXPECT_GT(total.maxPoreCells, 2);
    EXPECT_GT(total.poresReopened, 5);
}

}  // namespace
}  // namespace quorvane
