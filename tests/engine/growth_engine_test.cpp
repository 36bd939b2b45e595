// The engine's lifecycle, its decisions at the thresholds, pores, the refresh rules
// and its refusal of bad input.

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <vector>

#include "engine/growth_engine.h"
#include "reference_engine.h"

namespace quorvane {
namespace {

constexpr std::uint32_t kAll = 0xFFFFFFFFu;
constexpr ThresholdPair kNever{0, 0};        // moves only on a random 0
constexpr ThresholdPair kGrows{kAll, kAll};  // every number grows
constexpr ThresholdPair kLeaves{kAll, 0};    // every number but 0 dissolves
const std::uint32_t kFastPint = static_cast<std::uint32_t>(0.3 * 4294967295.0);

void OverrideAll(GrowthEngine& engine, ThresholdPair t) {
    for (int i = 1; i <= engine.W(); ++i)
        for (int j = 1; j <= engine.H(); ++j) ASSERT_TRUE(engine.OverrideThresholds(i, j, t));
}

std::uint32_t Peek(const Taus88& random) {
    Taus88 copy = random;
    return copy.NextRandom();
}

class GrowthEngineTest : public ::testing::Test {
  protected:
    GrowthEngineTest() { random.SeedForStart(); }
    InitStatus Init(int W, int H) {
        return engine.InitRun(0.5, 1.0, kFastPint, 6, 6, 6, W, H, 0.25, 0.05);
    }
    Taus88 random;
    GrowthEngine engine{random};
};

TEST_F(GrowthEngineTest, FlatStartUsesTheFlatSurfaceThresholdsEverywhere) {
    ASSERT_EQ(engine.InitRun(1, 3, 42949672, 1, 2, 3, 5, 4, 0.25, 0.05), InitStatus::Ok);
    EXPECT_EQ(engine.W(), 5);
    EXPECT_EQ(engine.H(), 4);
    EXPECT_EQ(engine.stride(), 6);
    EXPECT_EQ(engine.heights().size(), 42u);
    const ContactGeometry& g = engine.runGeometry().contact;
    // Top molecule embedded in the flat layer, newcomer a lone adatom on it.
    const int out = g.U_bc + 2 * g.alongJ.level + 2 * g.alongI.level + 4 * g.diagonal.level;
    const int in = g.U_bc + 2 * g.alongJ.lower + 2 * g.alongI.lower + 4 * g.diagonal.lower;
    EXPECT_EQ(out, std::lround(g.embeddedFraction * g.n));
    EXPECT_EQ(in, std::lround(g.adatomFraction * g.n));
    for (int i = 1; i <= 5; ++i)
        for (int j = 1; j <= 4; ++j)
            EXPECT_EQ(engine.thresholdsAt(i, j), engine.table().at(in + g.n * out));
    EXPECT_EQ(GrowthEngine::HeightRange(engine.heights()).max, 0);
    EXPECT_EQ(engine.pores()[7].bottom, GrowthEngine::kNoPore);
    EXPECT_DOUBLE_EQ(engine.runGeometry().layersPerColumnUnit, 1.0 / 20);
    EXPECT_DOUBLE_EQ(engine.runGeometry().distancePerColumnUnit, 1.0 / 20);
    EXPECT_EQ(engine.displayGeometry().W, 5);
}

TEST_F(GrowthEngineTest, SingleColumnDecidesAtItsThresholdsAndWrapsOntoItself) {
    ASSERT_EQ(Init(1, 1), InitStatus::Ok);
    testing::ReferenceThresholds expected(engine);
    std::uint32_t r = Peek(random);
    ASSERT_GT(r, 0u);
    engine.OverrideThresholds(1, 1, {r, r});  // equal to grow: grows
    engine.StepPlain();
    EXPECT_EQ(engine.heightAt(1, 1), 1);
    r = Peek(random);
    ASSERT_GT(r, 0u);
    engine.OverrideThresholds(1, 1, {r, r - 1});  // equal to total, above grow: dissolves
    engine.StepPlain();
    EXPECT_EQ(engine.heightAt(1, 1), 0);
    r = Peek(random);
    ASSERT_GT(r, 0u);
    engine.OverrideThresholds(1, 1, {r - 1, 0});  // one above total: stays
    engine.StepPlain();
    EXPECT_EQ(engine.heightAt(1, 1), 0);
    engine.OverrideThresholds(1, 1, kNever);
    engine.StepPlain();
    EXPECT_EQ(engine.heightAt(1, 1), 0);

    // Below the start: negative heights are heights like any other.
    StepResult result;
    for (int step = 1; step <= 5; ++step) {
        ASSERT_GT(Peek(random), 0u);
        engine.OverrideThresholds(1, 1, kLeaves);
        result = engine.StepPlain();
        EXPECT_EQ(engine.heightAt(1, 1), -step);
        // Every neighbour is the column itself: always the flat-surface thresholds.
        for (std::int32_t h : engine.heights()) EXPECT_EQ(h, -step);
        EXPECT_EQ(engine.thresholdsAt(1, 1), expected(1, 1));
    }
    EXPECT_EQ(result.meanHeight, -5);
    EXPECT_EQ(result.roughness, 0);
    EXPECT_EQ(engine.total_height(), -5);
    EXPECT_EQ(engine.MeanAndRoughness().mean, -5);
    EXPECT_EQ(engine.HeightRange().min, -5);
    EXPECT_EQ(engine.HeightRange().max, -5);
}

TEST_F(GrowthEngineTest, PorousPitThreeLayersDeepIsBridgedAndReopened) {
    ASSERT_EQ(Init(3, 3), InitStatus::Ok);
    // On a 3x3 torus the eight neighbours of (2,2) are all the other columns.
    for (int step = 0; step < 3; ++step) {
        OverrideAll(engine, kGrows);
        engine.OverrideThresholds(2, 2, kNever);
        engine.StepPorous();
    }
    for (int i = 1; i <= 3; ++i)
        for (int j = 1; j <= 3; ++j) EXPECT_EQ(engine.heightAt(i, j), i == 2 && j == 2 ? 0 : 3);
    EXPECT_EQ(engine.pore_cells(), 0);

    OverrideAll(engine, kNever);
    engine.OverrideThresholds(2, 2, kGrows);
    StepResult result = engine.StepPorous();
    const PoreRecord& pore = engine.pores()[2 * 5 + 2];
    EXPECT_EQ(engine.heightAt(2, 2), 3);
    EXPECT_EQ(pore.bottom, 0);
    EXPECT_EQ(pore.top, 3);
    EXPECT_EQ(pore.count, 1);
    EXPECT_EQ(engine.pore_cells(), 2);
    EXPECT_EQ(engine.total_height(), 27);
    EXPECT_DOUBLE_EQ(result.porosity, 2.0 / 27);
    // The bridging molecule has no bottom contact.
    const ContactGeometry& g = engine.runGeometry().contact;
    const int out = 2 * g.alongJ.level + 2 * g.alongI.level + 4 * g.diagonal.level;
    const int in = g.U_bc + 2 * g.alongJ.lower + 2 * g.alongI.lower + 4 * g.diagonal.lower;
    EXPECT_EQ(engine.thresholdsAt(2, 2), engine.table().at(in + g.n * out));

    OverrideAll(engine, kNever);
    engine.OverrideThresholds(2, 2, kLeaves);
    result = engine.StepPorous();
    EXPECT_EQ(engine.heightAt(2, 2), 0);
    EXPECT_EQ(pore.bottom, GrowthEngine::kNoPore);
    EXPECT_EQ(pore.top, GrowthEngine::kNoPore);
    EXPECT_EQ(pore.count, 0);
    EXPECT_EQ(engine.pore_cells(), 0);
    EXPECT_EQ(engine.total_height(), 24);
    EXPECT_EQ(result.porosity, 0);
}

TEST_F(GrowthEngineTest, FullRecomputationOnceMovesExceedANinthOfTheField) {
    ASSERT_EQ(Init(6, 6), InitStatus::Ok);
    testing::ReferenceThresholds expected(engine);
    // Four moves list 36 cells, not more than the 36 columns: listed refresh only.
    OverrideAll(engine, kNever);
    for (int i : {2, 3})
        for (int j : {2, 3}) engine.OverrideThresholds(i, j, kGrows);
    engine.StepPlain();
    for (int i = 1; i <= 6; ++i) {
        for (int j = 1; j <= 6; ++j) {
            const ThresholdPair want = i <= 4 && j <= 4 ? expected(i, j) : kNever;
            EXPECT_EQ(engine.thresholdsAt(i, j), want) << i << "," << j;
        }
    }
    // A fifth move passes the limit: every column is recomputed.
    OverrideAll(engine, kNever);
    for (int i : {2, 3})
        for (int j : {2, 3}) engine.OverrideThresholds(i, j, kGrows);
    engine.OverrideThresholds(6, 6, kGrows);
    engine.StepPlain();
    for (int i = 1; i <= 6; ++i)
        for (int j = 1; j <= 6; ++j) EXPECT_EQ(engine.thresholdsAt(i, j), expected(i, j));
}

TEST_F(GrowthEngineTest, OppositeEdgeKeepsStaleThresholdsUntilAFullRecomputation) {
    ASSERT_EQ(Init(5, 4), InitStatus::Ok);
    testing::ReferenceThresholds expected(engine);
    OverrideAll(engine, kNever);
    engine.OverrideThresholds(1, 2, kGrows);
    engine.StepPlain();
    for (int i : {1, 2})
        for (int j : {1, 2, 3}) EXPECT_EQ(engine.thresholdsAt(i, j), expected(i, j));
    // Row 5 touches row 1 through the border, and its contact did change...
    const ThresholdPair flat = expected(3, 4);
    for (int j : {1, 2, 3}) {
        EXPECT_NE(expected(5, j), flat);
        // ...but the listed refresh does not wrap.
        EXPECT_EQ(engine.thresholdsAt(5, j), kNever);
    }
    // Three moves list 27 > 20 cells: the full pass catches up.
    OverrideAll(engine, kNever);
    for (int j : {1, 3, 4}) engine.OverrideThresholds(3, j, kGrows);
    engine.StepPlain();
    for (int i = 1; i <= 5; ++i)
        for (int j = 1; j <= 4; ++j) EXPECT_EQ(engine.thresholdsAt(i, j), expected(i, j));
}

TEST_F(GrowthEngineTest, RunningMeanAndRoughnessEqualADirectRecomputation) {
    for (bool porous : {false, true}) {
        ASSERT_EQ(engine.InitRun(-0.2, 1.0, kFastPint, 6, 6, 6, 12, 10, 0.25, 0.05),
                  InitStatus::Ok);
        for (int step = 0; step < 300; ++step) {
            const StepResult result = porous ? engine.StepPorous() : engine.StepPlain();
            const MeanRoughness direct = engine.MeanAndRoughness();
            std::int64_t sum = 0;
            for (std::int32_t h : engine.interiorHeights()) sum += h;
            ASSERT_EQ(engine.total_height(), sum);
            ASSERT_EQ(result.meanHeight, direct.mean);
            ASSERT_EQ(engine.mean_height(), direct.mean);
            ASSERT_NEAR(result.roughness, direct.roughness, 1e-12 * (1 + direct.roughness));
        }
        EXPECT_GT(engine.MeanAndRoughness().roughness, 0.5);
    }
}

TEST_F(GrowthEngineTest, ReferenceLevelMovesOnlyOnADriftOfThreeLayers) {
    ASSERT_EQ(Init(1, 2), InitStatus::Ok);
    const auto stepAll = [&](ThresholdPair t) {
        OverrideAll(engine, t);
        engine.StepPlain();
        engine.MeanAndRoughness();
        return engine.referenceLevel();
    };
    const int upward[] = {0, 0, 3, 3, 3, 6};
    for (int level : upward) EXPECT_EQ(stepAll(kGrows), level);
    // Rounding is trunc(mean + 0.5): a mean of -3 counts as -2, still within reach.
    const int downward[] = {6, 6, 3, 3, 3, 0, 0, 0, 0, -3};
    for (int level : downward) EXPECT_EQ(stepAll(kLeaves), level);
    EXPECT_EQ(engine.MeanAndRoughness().mean, -4);
}

TEST_F(GrowthEngineTest, ReferenceLevelFollowsTheStepsThemselvesAndStartsAgainAtZero) {
    for (bool porous : {false, true}) {
        ASSERT_EQ(Init(1, 2), InitStatus::Ok);
        EXPECT_EQ(engine.referenceLevel(), 0) << "a new flat field";
        // No recomputation in between: the running sum moves the level.
        const int upward[] = {0, 0, 3, 3, 3, 6, 6, 6, 9};
        for (int level : upward) {
            OverrideAll(engine, kGrows);
            porous ? engine.StepPorous() : engine.StepPlain();
            EXPECT_EQ(engine.referenceLevel(), level);
        }
    }
}

TEST_F(GrowthEngineTest, HeightRangeCoversTheWholeArray) {
    EXPECT_EQ(GrowthEngine::HeightRange({}).min, 0);
    EXPECT_EQ(GrowthEngine::HeightRange({}).max, 0);
    const std::vector<std::int32_t> some{3, -2, 7, 0};
    EXPECT_EQ(GrowthEngine::HeightRange(some).min, -2);
    EXPECT_EQ(GrowthEngine::HeightRange(some).max, 7);
    ASSERT_EQ(Init(4, 3), InitStatus::Ok);
    OverrideAll(engine, kNever);
    engine.OverrideThresholds(4, 3, kGrows);
    engine.OverrideThresholds(1, 1, kLeaves);
    engine.StepPlain();
    EXPECT_EQ(engine.HeightRange().min, -1);
    EXPECT_EQ(engine.HeightRange().max, 1);
    EXPECT_EQ(engine.heights()[0], 1);  // corner (0,0) shows cell (W,H)
}

}  // namespace
}  // namespace quorvane
