#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

#include "model/random_argument.h"

namespace quorvane {
namespace {

double totalMass(const RandomArgument& a) {
    return std::accumulate(a.bins.begin(), a.bins.end(), a.below + a.above);
}

RandomArgument twoBins() {
    RandomArgument a;
    a.min = 1;
    a.max = 3;
    a.below = 0.2;
    a.bins = {0.4, 0.4};
    return a;
}

TEST(RandomArgumentDefaults, SevenNamedArgumentsInThreeGroups) {
    auto arguments = makeDefaultRandomArguments();
    ASSERT_EQ(arguments.size(), static_cast<size_t>(kRandomArgumentCount));
    const char* names[] = {"A-axis (nm)",
                           "B-axis (nm)",
                           "C-axis (nm)",
                           "Edges weight",
                           "Vertices weight",
                           "Specific supercooling",
                           "Specific surface energy"};
    const int groups[] = {0, 0, 0, 1, 1, 2, 2};
    for (int i = 0; i < kRandomArgumentCount; ++i) {
        const RandomArgument& a = arguments[static_cast<size_t>(i)];
        EXPECT_EQ(a.name, names[i]);
        EXPECT_EQ(randomArgumentGroup(i), groups[i]);
        EXPECT_TRUE(a.valid);
        EXPECT_NEAR(totalMass(a), 1, 1e-12) << a.name;
    }
    EXPECT_STREQ(kRandomArgumentGroups[1], "Surface assymetry");
    EXPECT_EQ(randomArgumentGroup(7), -1);
    const RandomArgument& sigma = arguments[kArgumentSurfaceEnergy];
    EXPECT_TRUE(isAutoEnd(sigma, sigma.min));
    EXPECT_TRUE(isAutoEnd(sigma, sigma.max));
    EXPECT_FALSE(isAutoEnd(arguments[0], arguments[0].min));
    // The built-in surface weights lie inside their ranges.
    EXPECT_LT(arguments[kArgumentEdgesWeight].min, 0.25);
    EXPECT_GT(arguments[kArgumentEdgesWeight].max, 0.25);
    EXPECT_GT(arguments[kArgumentVerticesWeight].max, 0.05);
}

TEST(RandomArgumentSample, InvertsTheCumulativeMass) {
    RandomArgument a = twoBins();
    EXPECT_EQ(Sample(a, 0.1), 1);
    EXPECT_DOUBLE_EQ(Sample(a, 0.5), 1.75);
    EXPECT_DOUBLE_EQ(Sample(a, 0.9), 2.75);
    EXPECT_NEAR(Sample(a, 0.99999999), 3, 1e-7);  // within the last bin
    EXPECT_LT(Sample(a, 0.99999999), 3);
    a.bins = {0.4, 0.3};  // masses short of 1: the rest is max
    EXPECT_EQ(Sample(a, 0.95), 3);

    // Stretched over another range; lo when the range is empty.
    a = twoBins();
    EXPECT_DOUBLE_EQ(Sample(a, 10, 20, 0.5), 13.75);
    EXPECT_EQ(Sample(a, 5, 5, 0.5), 5);
    EXPECT_EQ(Sample(a, 5, 4, 0.9), 5);
    a.bins.clear();
    EXPECT_EQ(Sample(a, 0.5), 3);  // no bins: only the ends
}

TEST(RandomArgumentEdit, NormalisationKeepsTheTotalAtOne) {
    RandomArgument a;
    a.below = 2;
    a.above = -1;
    a.bins = {1, 1};
    EXPECT_TRUE(normalise(a));
    EXPECT_EQ(a.below, 0.5);
    EXPECT_EQ(a.above, 0);
    EXPECT_EQ(a.bins, (std::vector<double>{0.25, 0.25}));

    a.below = 0;
    a.bins = {0, -2};
    EXPECT_FALSE(normalise(a));
    EXPECT_FALSE(a.valid);

    a.bins = {1e308, 1e308, 1e308};  // the total overflows
    EXPECT_TRUE(normalise(a));
    EXPECT_NEAR(a.bins[0], 1.0 / 3, 1e-15);
}

TEST(RandomArgumentEdit, SettingABinOrAnEnd) {
    RandomArgument a = twoBins();
    a.bins = {0.2, 0.1, 0.1};
    setBinMass(a, 0, 0.5);  // the others share 1 - 0.5 - 0.2
    EXPECT_DOUBLE_EQ(a.bins[0], 0.5);
    EXPECT_DOUBLE_EQ(a.bins[1], 0.15);
    EXPECT_DOUBLE_EQ(a.bins[2], 0.15);
    EXPECT_NEAR(totalMass(a), 1, 1e-15);

    // Empty bins come back when the others grow.
    a.below = 0;
    a.bins = {1, 0, 0};
    setBinMass(a, 0, 0.5);
    EXPECT_NEAR(a.bins[1], 0.005 / 0.51, 1e-15);
    setBinMass(a, 7, 0.5);  // no such bin
    setBinMass(a, 0, std::nan(""));
    EXPECT_NEAR(totalMass(a), 1, 1e-15);

    a = twoBins();
    setLowerMass(a, 0.6);
    EXPECT_DOUBLE_EQ(a.below, 0.6);
    EXPECT_DOUBLE_EQ(a.bins[0], 0.2);
    setUpperMass(a, 2);  // clamped to 1: everything else empties
    EXPECT_EQ(a.above, 1);
    EXPECT_EQ(a.below, 0);
    setUpperMass(a, 0.5);  // nothing else to scale: the bins revive
    EXPECT_DOUBLE_EQ(a.above, 0.5 / 0.51);
    EXPECT_DOUBLE_EQ(a.bins[0], 0.005 / 0.51);
}

TEST(RandomArgumentEdit, DragModes) {
    RandomArgument start;
    start.below = 0.2;
    start.bins = {0.2, 0.2, 0.2, 0.2};
    start.min = 1;
    start.max = 2;

    RandomArgument a = dragged(start, 50, 100, 0);  // mode 0: the bars halve
    EXPECT_DOUBLE_EQ(a.below, 0.2 / 0.6);
    EXPECT_DOUBLE_EQ(a.bins[0], 0.1 / 0.6);
    a = dragged(start, 0, 100, 0);
    for (int i = 0; i < 4; ++i) EXPECT_DOUBLE_EQ(a.bins[static_cast<size_t>(i)], 0.2);
    EXPECT_EQ(dragged(start, 10, 0, 0), start);  // no histogram height

    // Mode 1: grabbed at the left, the far (right) side is the pivot.
    start.editMode = 1;
    a = dragged(start, 100, 100, 0);
    double left[] = {0.2 - 0.1 * 0.75, 0.2 - 0.1 * 0.5, 0.2 - 0.1 * 0.25, 0.2};
    double total = 0.2 + left[0] + left[1] + left[2] + left[3];
    for (int i = 0; i < 4; ++i) EXPECT_DOUBLE_EQ(a.bins[static_cast<size_t>(i)], left[i] / total);
    a = dragged(start, 100, 100, 2);  // right half: pivots on the left
    EXPECT_GT(a.bins[0], a.bins[3]);

    start.editMode = 2;
    a = dragged(start, 100, 100, 3);
    EXPECT_DOUBLE_EQ(a.bins[3] * (0.8 - 0.1 * (0.0625 + 0.25 + 0.5625) + 0.2), 0.2 - 0.1 * 0.5625);

    // Mode 3 moves the range and leaves the masses.
    start.editMode = 3;
    a = dragged(start, -50, 100, 0);
    EXPECT_DOUBLE_EQ(a.min, 1.5);
    EXPECT_DOUBLE_EQ(a.max, 2.5);
    EXPECT_EQ(a.bins, start.bins);
    a = dragged(start, 500, 100, 0);  // never below 0
    EXPECT_EQ(a.min, 0);
    EXPECT_EQ(a.max, 1);
    start.min = start.autoMarker;
    EXPECT_EQ(dragged(start, -50, 100, 0), start);
}

}  // namespace
}  // namespace quorvane
