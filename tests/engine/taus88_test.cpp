// The process-wide generator: the seeding rule and the words it produces.

#include <gtest/gtest.h>

#include "engine/taus88.h"

namespace quorvane {
namespace {

// Expected words computed independently from the taus88 recurrence (shifts 13/19/12,
// 2/25/4, 3/11/17 with masks 0xFFFFFFFE, 0xFFFFFFF8, 0xFFFFFFF0).
TEST(Taus88, StartSeedKeepsTwoWordsAndAdvancesAllByOneDraw) {
    Taus88 random;
    random.SeedForStart();
    // 337643 and 62047 are below their limits: z1, z2 stay 390451501 and 613566701;
    // z3 becomes 2751976; the closing draw then advances all three.
    EXPECT_EQ(random.z1(), 1561515436u);
    EXPECT_EQ(random.z2(), 1227132635u);
    EXPECT_EQ(random.z3(), 4223675586u);
    const std::uint32_t expected[] = {3868628331u, 4174586346u, 3562628738u, 2543160473u,
                                      4258979174u};
    for (std::uint32_t word : expected) EXPECT_EQ(random.NextRandom(), word);
}

TEST(Taus88, SeedEqualToItsLimitIsIgnoredAndOneAboveIsTaken) {
    Taus88 atLimit;
    atLimit.Seed(524288u, 33554432u, 2048u);
    // Only the closing draw happened to the initial words.
    EXPECT_EQ(atLimit.z1(), 1561515436u);
    EXPECT_EQ(atLimit.z2(), 1227132635u);
    EXPECT_EQ(atLimit.z3(), 1710576980u);

    Taus88 aboveLimit;
    aboveLimit.Seed(524289u, 33554433u, 2049u);
    EXPECT_EQ(aboveLimit.z1(), 2147483649u);
    EXPECT_EQ(aboveLimit.z2(), 536870917u);
    EXPECT_EQ(aboveLimit.z3(), 268435465u);
}

}  // namespace
}  // namespace quorvane
