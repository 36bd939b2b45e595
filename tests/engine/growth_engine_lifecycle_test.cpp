// Runs, paused runs and bad input: what survives which call.

#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <type_traits>
#include <utility>
#include <vector>

#include "engine/growth_engine.h"
#include "reference_engine.h"

namespace quorvane {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
const std::uint32_t kPint = static_cast<std::uint32_t>(0.3 * 4294967295.0);

// A 310 x 310 field passes 2^31 layers in total after some 22,000 layers of growth:
// the run counters must be wider than the heights.
static_assert(std::is_same_v<decltype(std::declval<GrowthEngine>().total_height()), std::int64_t>);
static_assert(std::is_same_v<decltype(std::declval<GrowthEngine>().pore_cells()), std::int64_t>);

// Everything a run keeps between steps.
struct Snapshot {
    std::vector<std::int32_t> heights;
    std::vector<PoreRecord> pores;
    std::vector<ThresholdPair> thresholds;
    std::int64_t total = 0;
    std::int64_t poreCells = 0;
    double mean = 0;
    int W = 0, H = 0, n = 0;
    ThresholdPair tableEntry;

    explicit Snapshot(const GrowthEngine& e)
        : heights(e.heights().begin(), e.heights().end()),
          pores(e.pores().begin(), e.pores().end()),
          total(e.total_height()),
          poreCells(e.pore_cells()),
          mean(e.mean_height()),
          W(e.W()),
          H(e.H()),
          n(e.n()),
          tableEntry(e.table().at(12345)) {
        for (int i = 1; i <= W; ++i)
            for (int j = 1; j <= H; ++j) thresholds.push_back(e.thresholdsAt(i, j));
    }
};

void ExpectSame(const Snapshot& a, const Snapshot& b) {
    EXPECT_EQ(a.heights, b.heights);
    EXPECT_EQ(a.thresholds, b.thresholds);
    ASSERT_EQ(a.pores.size(), b.pores.size());
    for (std::size_t k = 0; k < a.pores.size(); ++k) {
        EXPECT_EQ(a.pores[k].top, b.pores[k].top);
        EXPECT_EQ(a.pores[k].count, b.pores[k].count);
    }
    EXPECT_EQ(a.total, b.total);
    EXPECT_EQ(a.poreCells, b.poreCells);
    EXPECT_EQ(a.mean, b.mean);
    EXPECT_EQ(a.W, b.W);
    EXPECT_EQ(a.H, b.H);
    EXPECT_EQ(a.n, b.n);
    EXPECT_EQ(a.tableEntry, b.tableEntry);
}

// Two engines on twin generators: one receives the calls under test, the other not.
class TwinTest : public ::testing::Test {
  protected:
    TwinTest() {
        randomA.SeedForStart();
        randomB = randomA;
    }
    void InitBoth() {
        ASSERT_EQ(a.InitRun(0.5, 1.0, kPint, 6, 6, 6, 6, 5, 0.25, 0.05), InitStatus::Ok);
        ASSERT_EQ(b.InitRun(0.5, 1.0, kPint, 6, 6, 6, 6, 5, 0.25, 0.05), InitStatus::Ok);
    }
    void StepBoth(int steps) {
        for (int s = 0; s < steps; ++s) {
            a.StepPorous();
            b.StepPorous();
        }
        EXPECT_EQ(std::vector<std::int32_t>(a.heights().begin(), a.heights().end()),
                  std::vector<std::int32_t>(b.heights().begin(), b.heights().end()));
    }
    Taus88 randomA, randomB;
    GrowthEngine a{randomA}, b{randomB};
};

TEST_F(TwinTest, BadInputIsRefusedAndLeavesTheRunAsItWas) {
    InitBoth();
    StepBoth(20);
    const Snapshot before(a);
    const auto init = [&](double E0, double E8, std::uint32_t P, double sa, double sb, double sc,
                          int W, int H, double e, double v) {
        const InitStatus status = a.InitRun(E0, E8, P, sa, sb, sc, W, H, e, v);
        ExpectSame(before, Snapshot(a));
        return status;
    };
    EXPECT_EQ(init(0.5, 1, kPint, 6, 6, 6, 0, 5, 0.25, 0.05), InitStatus::BadFieldSize);
    EXPECT_EQ(init(0.5, 1, kPint, 6, 6, 6, 5, -3, 0.25, 0.05), InitStatus::BadFieldSize);
    EXPECT_EQ(init(0.5, 1, kPint, 6, 6, 6, INT_MAX, 1, 0.25, 0.05), InitStatus::FieldTooLarge);
    EXPECT_EQ(init(0.5, 1, kPint, 6, 6, 6, INT_MAX, INT_MAX, 0.25, 0.05),
              InitStatus::FieldTooLarge);
    EXPECT_EQ(init(0.5, 1, kPint, 6, 6, 6, 46341, 46341, 0.25, 0.05), InitStatus::FieldTooLarge);
    EXPECT_EQ(init(kNaN, 1, kPint, 6, 6, 6, 5, 5, 0.25, 0.05), InitStatus::BadRate);
    EXPECT_EQ(init(0.5, kInf, kPint, 6, 6, 6, 5, 5, 0.25, 0.05), InitStatus::BadRate);
    // Finite, but the leaving rate becomes 0 * exp(800).
    EXPECT_EQ(init(0, 800, 0, 6, 6, 6, 5, 5, 0.25, 0.05), InitStatus::BadRate);
    EXPECT_EQ(init(0.5, 1, kPint, 0, 6, 6, 5, 5, 0.25, 0.05), InitStatus::BadMolecule);
    EXPECT_EQ(init(0.5, 1, kPint, 6, -1, 6, 5, 5, 0.25, 0.05), InitStatus::BadMolecule);
    EXPECT_EQ(init(0.5, 1, kPint, 6, 6, kNaN, 5, 5, 0.25, 0.05), InitStatus::BadMolecule);
    EXPECT_EQ(init(0.5, 1, kPint, 6, 6, 6, 5, 5, -0.25, 0.05), InitStatus::BadMolecule);
    EXPECT_EQ(init(0.5, 1, kPint, 6, 6, 6, 5, 5, 0.25, kInf), InitStatus::BadMolecule);

    EXPECT_EQ(a.SetRates(kNaN, 1, kPint, 0.25, 0.05), InitStatus::BadRate);
    EXPECT_EQ(a.SetRates(0, 800, 0, 0.25, 0.05), InitStatus::BadRate);
    EXPECT_EQ(a.SetRates(0.5, 1, kPint, -1, 0.05), InitStatus::BadMolecule);
    ExpectSame(before, Snapshot(a));
    EXPECT_EQ(a.UpdateGeometry(0.5, 1, kPint, 6, 6, 6, 0, 0, 0.25, 0.05), InitStatus::BadFieldSize);
    EXPECT_EQ(a.displayGeometry().W, 6);

    // Nothing was disturbed: the run goes on exactly as its twin.
    StepBoth(30);
    ExpectSame(Snapshot(a), Snapshot(b));
}

TEST_F(TwinTest, PausedRunKeepsItsFieldAndTablesThroughGeometryEdits) {
    InitBoth();
    StepBoth(10);
    // The panel shows other inputs while the run is paused.
    ASSERT_EQ(a.UpdateGeometry(1, 3, 4294967, 1, 2, 3, 9, 3, 0.3, 0.1), InitStatus::Ok);
    EXPECT_EQ(a.displayGeometry().W, 9);
    EXPECT_EQ(a.displayGeometry().H, 3);
    EXPECT_EQ(a.displayGeometry().contact.n, 1002);
    EXPECT_EQ(a.displayGeometry().contact.c, 3);
    EXPECT_DOUBLE_EQ(a.displayGeometry().distancePerColumnUnit, 1.0 / 27);
    ExpectSame(Snapshot(a), Snapshot(b));
    EXPECT_EQ(a.runGeometry().contact.a, 6);
    StepBoth(20);

    // Resuming with new rates rebuilds the tables for the run's own sizes.
    ASSERT_EQ(a.SetRates(0.2, 1.5, kPint / 2, 0.25, 0.05), InitStatus::Ok);
    ASSERT_EQ(b.SetRates(0.2, 1.5, kPint / 2, 0.25, 0.05), InitStatus::Ok);
    EXPECT_EQ(a.W(), 6);
    EXPECT_EQ(a.n(), 1000);
    EXPECT_EQ(a.runGeometry().contact.c, 6);
    const RateConstants rates = RateConstants::make(0.2, 1.5, kPint / 2);
    EXPECT_EQ(a.table().at(345 + 1000 * 678),
              ThresholdsFromProbabilities(ProbabilitiesAtContact(rates, 1000, 678, 345)));
    ExpectSame(Snapshot(a), Snapshot(b));
    testing::ReferenceThresholds expected(a);
    for (int i = 1; i <= a.W(); ++i)
        for (int j = 1; j <= a.H(); ++j) EXPECT_EQ(a.thresholdsAt(i, j), expected(i, j));
    StepBoth(20);
    // A display refresh with the run's own inputs changes nothing either.
    ASSERT_EQ(a.UpdateGeometry(0.2, 1.5, kPint / 2, 6, 6, 6, 6, 5, 0.25, 0.05), InitStatus::Ok);
    ExpectSame(Snapshot(a), Snapshot(b));
}

TEST_F(TwinTest, WeightsEditedDuringAPauseWaitForTheNextRun) {
    InitBoth();
    StepBoth(15);
    // Without edges and vertices the cube would have n = 6 * 167 = 1002 units.
    ASSERT_EQ(a.SetRates(0.4, 1.1, kPint, 0, 0), InitStatus::Ok);
    ASSERT_EQ(b.SetRates(0.4, 1.1, kPint, 0.25, 0.05), InitStatus::Ok);
    EXPECT_EQ(a.n(), 1000);
    EXPECT_EQ(a.runGeometry().contact.edgeWeight, 0.25);
    EXPECT_EQ(a.runGeometry().E0, 0.4);
    ExpectSame(Snapshot(a), Snapshot(b));
    StepBoth(20);
    Taus88 spare;
    GrowthEngine next(spare);
    ASSERT_EQ(next.InitRun(0.4, 1.1, kPint, 6, 6, 6, 6, 5, 0, 0), InitStatus::Ok);
    EXPECT_EQ(next.n(), 1002);
}

TEST(GrowthEngineLifecycle, NothingHappensBeforeTheFirstRunAndEveryRunStartsFlat) {
    Taus88 random;
    GrowthEngine engine(random);
    EXPECT_FALSE(engine.hasField());
    EXPECT_EQ(engine.SetRates(0.5, 1, kPint, 0.25, 0.05), InitStatus::NoRun);
    const StepResult step = engine.StepPorous();
    EXPECT_EQ(step.meanHeight, 0);
    EXPECT_EQ(engine.MeanAndRoughness().roughness, 0);
    EXPECT_TRUE(engine.heights().empty());
    EXPECT_TRUE(engine.interiorHeights().empty());
    EXPECT_EQ(engine.HeightRange().max, 0);
    EXPECT_FALSE(engine.OverrideThresholds(1, 1, {1, 1}));
    EXPECT_EQ(random.z1(), Taus88::kInitialZ1);  // no number drawn

    ASSERT_EQ(engine.InitRun(0.5, 1, kPint, 6, 6, 6, 4, 4, 0.25, 0.05), InitStatus::Ok);
    for (int s = 0; s < 30; ++s) engine.StepPorous();
    EXPECT_NE(engine.HeightRange().max, 0);
    EXPECT_FALSE(engine.OverrideThresholds(5, 1, {1, 1}));
    EXPECT_FALSE(engine.OverrideThresholds(1, 1, {1, 2}));  // grow above total

    const std::uint32_t z1 = random.z1();
    ASSERT_EQ(engine.InitRun(0.5, 1, kPint, 6, 6, 6, 7, 3, 0.25, 0.05), InitStatus::Ok);
    EXPECT_EQ(random.z1(), z1);  // a new run never reseeds
    EXPECT_EQ(engine.W(), 7);
    EXPECT_EQ(engine.H(), 3);
    EXPECT_EQ(engine.heights().size(), 45u);
    EXPECT_EQ(engine.HeightRange().min, 0);
    EXPECT_EQ(engine.HeightRange().max, 0);
    EXPECT_EQ(engine.total_height(), 0);
    EXPECT_EQ(engine.pore_cells(), 0);
    EXPECT_EQ(engine.mean_height(), 0);
    for (const PoreRecord& pore : engine.pores()) EXPECT_EQ(pore.count, 0);
}

}  // namespace
}  // namespace quorvane
