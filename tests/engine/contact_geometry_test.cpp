// Contact units, reference fractions and the threshold tables built from them.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/contact_geometry.h"
#include "engine/threshold_table.h"

namespace quorvane {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(ContactGeometry, UnitCountsRoundDownAtAnExactHalf) {
    EXPECT_EQ(RoundUnitCount(62.5), 62);
    EXPECT_EQ(RoundUnitCount(62.5000001), 63);
    EXPECT_EQ(RoundUnitCount(0.5), 0);
    EXPECT_EQ(RoundUnitCount(0.75), 1);
    EXPECT_EQ(RoundUnitCount(7.0), 7);

    // a = 3.5, b = c = 1: A = 16, the scale is exactly 62.5 units per unit of area,
    // so the bottom face scales to exactly 62.5 units and stays at 62.
    const auto g = ContactGeometry::make(3.5, 1, 1, 0, 0);
    ASSERT_TRUE(g);
    EXPECT_EQ(g->U_bc, 62);
    EXPECT_EQ(g->U_ab, 219);  // 218.75
    EXPECT_EQ(g->U_ac, 219);
    EXPECT_EQ(g->n, 1000);
}

TEST(ContactGeometry, CubeWithEdgesAndVertices) {
    const auto g = ContactGeometry::make(6, 6, 6, 0.25, 0.05);
    ASSERT_TRUE(g);
    // Faces 128.2, edges 16.03, vertices 4.81 units.
    EXPECT_EQ(g->U_bc, 128);
    EXPECT_EQ(g->U_ab, 128);
    EXPECT_EQ(g->U_ac, 128);
    EXPECT_EQ(g->U_Ea, 16);
    EXPECT_EQ(g->U_Eb, 16);
    EXPECT_EQ(g->U_Ec, 16);
    EXPECT_EQ(g->U_V, 5);
    EXPECT_EQ(g->n, 1000);
    EXPECT_DOUBLE_EQ(g->adatomFraction, 0.212);
    EXPECT_DOUBLE_EQ(g->embeddedFraction, 0.788);
    EXPECT_DOUBLE_EQ(g->bottomFaceFraction, 0.128);
    EXPECT_DOUBLE_EQ(g->volume, 216);
    EXPECT_DOUBLE_EQ(g->area, 216);
}

TEST(ContactGeometry, ElongatedMoleculeGivesDirectionalNeighbourValues) {
    const auto g = ContactGeometry::make(1, 2, 3, 0.25, 0.05);
    ASSERT_TRUE(g);
    EXPECT_EQ(g->U_bc, 210);
    EXPECT_EQ(g->U_ab, 70);
    EXPECT_EQ(g->U_ac, 105);
    EXPECT_EQ(g->U_Ea, 8);
    EXPECT_EQ(g->U_Eb, 16);
    EXPECT_EQ(g->U_Ec, 24);
    EXPECT_EQ(g->U_V, 5);
    EXPECT_EQ(g->n, 1002);
    // j neighbours share the a*c face, i neighbours the a*b face.
    EXPECT_EQ(g->alongJ.level, 129);
    EXPECT_EQ(g->alongJ.lower, 24);
    EXPECT_EQ(g->alongJ.higher, 153);
    EXPECT_EQ(g->alongI.level, 86);
    EXPECT_EQ(g->alongI.lower, 16);
    EXPECT_EQ(g->alongI.higher, 102);
    EXPECT_EQ(g->diagonal.level, 13);
    EXPECT_EQ(g->diagonal.lower, 5);
    EXPECT_EQ(g->diagonal.higher, 18);
    EXPECT_DOUBLE_EQ(g->adatomFraction, 310.0 / 1002);
    EXPECT_DOUBLE_EQ(g->embeddedFraction, 692.0 / 1002);
    EXPECT_DOUBLE_EQ(g->bottomFaceFraction, 210.0 / 1002);
    EXPECT_DOUBLE_EQ(g->volume, 6);
    EXPECT_DOUBLE_EQ(g->area, 22);
}

TEST(ContactGeometry, ZeroEdgeAndVertexWeightsCountFacesOnly) {
    const auto g = ContactGeometry::make(1, 2, 3, 0, 0);
    ASSERT_TRUE(g);
    EXPECT_EQ(g->U_Ea + g->U_Eb + g->U_Ec + g->U_V, 0);
    EXPECT_EQ(g->U_bc, 273);
    EXPECT_EQ(g->U_ab, 91);
    EXPECT_EQ(g->U_ac, 136);
    EXPECT_EQ(g->n, 2 * (g->U_ac + g->U_ab + g->U_bc));
    EXPECT_EQ(g->alongJ.lower, 0);
    EXPECT_EQ(g->diagonal.higher, 0);
}

TEST(ContactGeometry, RefusesSizesAndWeightsThatAreNoMolecule) {
    for (double bad : {0.0, -1.0, kNaN, kInf}) {
        EXPECT_FALSE(ContactGeometry::make(bad, 1, 1, 0.25, 0.05)) << bad;
        EXPECT_FALSE(ContactGeometry::make(1, bad, 1, 0.25, 0.05)) << bad;
        EXPECT_FALSE(ContactGeometry::make(1, 1, bad, 0.25, 0.05)) << bad;
    }
    for (double bad : {-0.1, kNaN, kInf}) {
        EXPECT_FALSE(ContactGeometry::make(1, 1, 1, bad, 0.05)) << bad;
        EXPECT_FALSE(ContactGeometry::make(1, 1, 1, 0.25, bad)) << bad;
    }
    // Products that overflow or vanish leave no countable units.
    EXPECT_FALSE(ContactGeometry::make(1e200, 1e200, 1e200, 0.25, 0.05));
    EXPECT_FALSE(ContactGeometry::make(1e-200, 1e-200, 1e-200, 0, 0));
    EXPECT_FALSE(ContactGeometry::make(1, 1, 1, 1e308, 0));
}

TEST(ThresholdTable, EntriesFollowTheProbabilitiesAndStayOrdered) {
    const RateConstants rates = RateConstants::make(1, 3, 42949672);
    ThresholdTable table;
    ASSERT_TRUE(table.Build(rates, 1000));
    ASSERT_EQ(table.n(), 1000);
    for (int out = 0; out < 1000; out += 37) {
        for (int in = 0; in < 1000; in += 41) {
            const CellProbabilities p = CellProbabilities::make(rates, out / 1000.0, in / 1000.0);
            const auto grow = static_cast<std::uint32_t>(p.grow / p.sum * 4294967295.0);
            const auto leave = static_cast<std::uint32_t>(p.leave / p.sum * 4294967295.0);
            const ThresholdPair entry = table.at(in + 1000 * out);
            EXPECT_EQ(entry.grow, grow);
            EXPECT_EQ(entry.total, leave + grow);
        }
    }
    for (int index = 0; index < 1000 * 1000; ++index) {
        ASSERT_LE(table.at(index).grow, table.at(index).total) << index;
    }
    // More contact: less leaving.
    EXPECT_GT(table.at(500).total - table.at(500).grow,
              table.at(500 + 1000 * 900).total - table.at(500 + 1000 * 900).grow);
}

TEST(ThresholdTable, SharesBeyondOneAreHeldAtTheTopInsteadOfWrapping) {
    CellProbabilities p;
    p.grow = 0.6;
    p.leave = 0.6;
    p.stay = 0;
    p.sum = 1.0;
    const ThresholdPair t = ThresholdsFromProbabilities(p);
    EXPECT_EQ(t.total, 0xFFFFFFFFu);
    EXPECT_EQ(t.grow, static_cast<std::uint32_t>(0.6 * 4294967295.0));

    p.grow = 0;
    p.leave = 1;
    EXPECT_EQ(ThresholdsFromProbabilities(p).total, 0xFFFFFFFFu);
    EXPECT_EQ(ThresholdsFromProbabilities(p).grow, 0u);
}

TEST(ThresholdTable, ProbabilitiesThatAreNoNumberKeepThePreviousTable) {
    ThresholdTable table;
    ASSERT_TRUE(table.Build(RateConstants::make(1, 3, 42949672), 10));
    const ThresholdPair before = table.at(57);
    // No jumping in, and a leaving rate 0 * exp(800): no number.
    EXPECT_FALSE(table.Build(RateConstants::make(0, 800, 0), 12));
    EXPECT_EQ(table.n(), 10);
    EXPECT_EQ(table.at(57), before);
}

TEST(ThresholdTable, ChartProbabilitiesAreTheTableShares) {
    const RateConstants rates = RateConstants::make(0.0884, 11.73, 932000);
    const CellProbabilities p = ProbabilitiesAtContact(rates, 1000, 212, 788);
    const CellProbabilities q = CellProbabilities::make(rates, 0.212, 0.788);
    EXPECT_EQ(p.leaveShare(), q.leaveShare());
    EXPECT_EQ(p.growShare(), q.growShare());
    ThresholdTable table;
    ASSERT_TRUE(table.Build(rates, 1000));
    EXPECT_EQ(table.at(788 + 1000 * 212), ThresholdsFromProbabilities(p));
}

}  // namespace
}  // namespace quorvane
