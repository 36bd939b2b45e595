#include "experiments/plan.h"

#include <gtest/gtest.h>

#include <climits>
#include <utility>
#include <vector>

#include "experiments/plan_positions.h"
#include "experiments/plan_proposal.h"

namespace quorvane {
namespace {

/// The current values of one kind from the start until the plan is exhausted.
std::vector<double> visitKind(ExperimentPlan& plan, int kind) {
    std::vector<double> seen{plan.currentValueOfKind(kind)};
    while (plan.advance()) seen.push_back(plan.currentValueOfKind(kind));
    return seen;
}

std::vector<int> parameterKinds(const ExperimentPlan& plan) {
    std::vector<int> kinds;
    for (const auto& p : plan.parameters()) kinds.push_back(p.kind);
    return kinds;
}

TEST(ExperimentPlan, DescendingRowWalksDownAndWrapsToItsTop) {
    ExperimentPlan plan;
    plan.setRows({{kKindTemperature, 300, 250, 5}});
    ASSERT_EQ(plan.parameters().size(), 1u);
    EXPECT_EQ(plan.parameters()[0].direction, -1);
    EXPECT_EQ(plan.parameters()[0].start, 300);
    EXPECT_EQ(visitKind(plan, kKindTemperature),
              (std::vector<double>{300, 290, 280, 270, 260, 250}));
    EXPECT_EQ(plan.currentValueOfKind(kKindTemperature), 300);  // wrapped back to the start
}

TEST(ExperimentPlan, OverlappingRowsMergeIntoOneSortedSequence) {
    ExperimentPlan plan;
    plan.setRows({{kKindGeneralSupercooling, 1, 2, 2}, {kKindGeneralSupercooling, 1.5, 3, 3}});
    EXPECT_EQ(plan.parameters()[0].direction, 1);
    EXPECT_EQ(visitKind(plan, kKindGeneralSupercooling), (std::vector<double>{1, 1.5, 2, 2.5, 3}));
}

TEST(ExperimentPlan, InertRowsCountForTheStartButGiveNoValues) {
    ExperimentPlan plan;
    plan.setRows({{kKindVolume, 5, 6, 0}, {kKindVolume, 1, 2, 1}, {kKindVolume, 0, 9, 10000}});
    EXPECT_EQ(plan.parameters()[0].start, 0);  // the inert rows still set the start
    EXPECT_EQ(plan.valuesOfKind(kKindVolume), (std::vector<double>{1, 2}));
    EXPECT_EQ(visitKind(plan, kKindVolume), (std::vector<double>{0, 1, 2}));

    ExperimentPlan empty;
    EXPECT_FALSE(empty.advance());
    parameter lone{kKindVolume, 4, 7, 0, 1};
    EXPECT_TRUE(empty.stepParameter(lone));  // no rows at all: back to the start
    EXPECT_EQ(lone.current, 4);
}

TEST(ExperimentPlan, OrderOfFirstRowsDecidesWhichKindVariesFastest) {
    ExperimentPlan plan;
    plan.setRows(
        {{kKindEnthalpy, 1, 2, 1}, {kKindTemperature, 300, 310, 1}, {kKindEnthalpy, 5, 6, 1}});
    EXPECT_EQ(parameterKinds(plan), (std::vector<int>{kKindEnthalpy, kKindTemperature}));
    ASSERT_TRUE(plan.advance());
    EXPECT_EQ(plan.currentValueOfKind(kKindTemperature), 310);
    EXPECT_EQ(plan.currentValueOfKind(kKindEnthalpy), 1);

    plan.moveToTop(1);
    EXPECT_EQ(parameterKinds(plan), (std::vector<int>{kKindTemperature, kKindEnthalpy}));
    EXPECT_EQ(plan.rows()[1].kind, kKindEnthalpy);
    EXPECT_EQ(plan.rows()[1].from, 1);  // the rows above shifted down by one
    EXPECT_EQ(plan.currentValueOfKind(kKindTemperature), 300);  // reordering restarts
    ASSERT_TRUE(plan.advance());
    EXPECT_EQ(plan.currentValueOfKind(kKindEnthalpy), 2);
    EXPECT_EQ(plan.currentValueOfKind(kKindTemperature), 300);
}

TEST(ExperimentPlan, SixCombinationsInOdometerOrder) {
    ExperimentPlan plan;
    plan.setRows({{kKindTemperature, 300, 320, 2}, {kKindEnthalpy, 1, 2, 1}});
    std::vector<std::pair<double, double>> visited;
    do {
        visited.emplace_back(plan.currentValueOfKind(kKindTemperature),
                             plan.currentValueOfKind(kKindEnthalpy));
    } while (plan.advance());
    std::vector<std::pair<double, double>> expected{{300, 1}, {300, 2}, {310, 1},
                                                    {310, 2}, {320, 1}, {320, 2}};
    EXPECT_EQ(visited, expected);
    EXPECT_EQ(plan.currentValueOfKind(kKindTemperature), 300);
    EXPECT_EQ(plan.currentValueOfKind(kKindEnthalpy), 1);
}

TEST(ExperimentPlan, EditingCommandsIgnoreBadIndexesAndRestartTheValues) {
    ExperimentPlan plan;
    plan.setRows(
        {{kKindTemperature, 300, 250, 5}, {kKindEnthalpy, 1, 2, 1}, {kKindVolume, 1, 3, 2}});
    auto before = plan.rows();
    plan.deleteRow(-1);
    plan.deleteRow(3);
    plan.moveUp(0);
    plan.moveDown(2);
    plan.moveToTop(0);
    plan.moveUp(7);
    EXPECT_FALSE(plan.commitCell(3, kColumnFrom, "1"));
    EXPECT_FALSE(plan.commitCell(0, kColumnCurrent, "1"));
    EXPECT_FALSE(plan.commitCell(0, kColumnParameter, "1"));
    ASSERT_EQ(plan.rows().size(), before.size());
    for (size_t i = 0; i < before.size(); ++i) EXPECT_EQ(plan.rows()[i].kind, before[i].kind);

    plan.advance();
    EXPECT_EQ(plan.currentValueOfKind(kKindVolume), 2);
    plan.moveDown(0);
    EXPECT_EQ(plan.rows()[1].kind, kKindTemperature);
    EXPECT_EQ(plan.currentValueOfKind(kKindVolume), 1);
    plan.moveUp(1);
    EXPECT_EQ(plan.rows()[0].kind, kKindTemperature);
    plan.deleteRow(1);
    EXPECT_EQ(parameterKinds(plan), (std::vector<int>{kKindTemperature, kKindVolume}));
    plan.clear();
    EXPECT_TRUE(plan.rows().empty());
    EXPECT_TRUE(plan.parameters().empty());
}

TEST(ExperimentPlan, CellTextsAreConvertedAsTheCLibraryDoes) {
    ExperimentPlan plan;
    plan.setRows({{kKindTemperature, 300, 250, 5}});
    auto steps = [&](const char* text) {
        EXPECT_TRUE(plan.commitCell(0, kColumnSteps, text));
        return plan.rows()[0].steps;
    };
    EXPECT_EQ(steps("2.9999999999999996"), 3);
    EXPECT_EQ(steps("2.5"), 2);
    EXPECT_EQ(steps("abc"), 0);
    EXPECT_EQ(steps("-3.5"), -3);
    EXPECT_EQ(steps("inf"), 0);
    EXPECT_EQ(steps("nan"), 0);
    EXPECT_EQ(steps("1e300"), INT_MAX);

    EXPECT_TRUE(plan.commitCell(0, kColumnFrom, "1e-3x"));
    EXPECT_EQ(plan.rows()[0].from, 0.001);
    EXPECT_TRUE(plan.commitCell(0, kColumnTo, "abc"));
    EXPECT_EQ(plan.rows()[0].till, 0);
    EXPECT_TRUE(plan.commitCell(0, kColumnTo, "1e999"));
    EXPECT_EQ(plan.rows()[0].till, 0);
}

TEST(ExperimentPlan, ListShowsLabelsRangesAndCurrentValues) {
    const char* labels[] = {"Specific supercooling",
                            "Specific surf. energy",
                            "Entalphie",
                            "Surface energy",
                            "Temperature",
                            "Concentration",
                            "Volume",
                            "a/b",
                            "b/c",
                            "Edges/Faces",
                            "Vertices/Faces"};
    for (int kind = 0; kind < kPlanKindCount; ++kind)
        EXPECT_STREQ(planKindLabel(kind), labels[kind]);
    EXPECT_STREQ(planKindLabel(11), "");
    EXPECT_STREQ(planKindLabel(-1), "");

    ExperimentPlan plan;
    plan.setRows({{kKindTemperature, 300, 250, 5}, {kKindRatioAB, 1.25e-7, 0.5, 4}});
    plan.advance();
    EXPECT_EQ(plan.cellTexts(0),
              (std::vector<std::string>{"Temperature", "300", "250", "5", "300"}));
    EXPECT_EQ(plan.cellTexts(1),
              (std::vector<std::string>{"a/b", "1.25e-07", "0.5", "4", "0.125"}));
    EXPECT_TRUE(plan.cellTexts(2).empty());
    EXPECT_EQ(plan.currentValueOfKind(kKindVolume), 0);  // no such row
}

TEST(ExperimentPlan, RescaleKeepsThePhysicalPlaceOfAStoppedExperiment) {
    // Kelvin to Celsius halfway through a descending temperature plan.
    ExperimentPlan plan;
    plan.setRows({{kKindTemperature, 300.15, 250.15, 5}});
    plan.advance();
    plan.advance();
    plan.rescaleRanges(kKindTemperature, [](double k) { return k - 273.15; });
    EXPECT_NEAR(plan.rows()[0].from, 27, 1e-12);
    EXPECT_NEAR(plan.parameters()[0].start, 27, 1e-12);
    EXPECT_NEAR(plan.currentValueOfKind(kKindTemperature), 7, 1e-12);
    std::vector<double> rest = visitKind(plan, kKindTemperature);
    ASSERT_EQ(rest.size(), 4u);  // 7, -3, -13, -23: nothing repeated, nothing skipped
    EXPECT_NEAR(rest[3], -23, 1e-12);

    // Joule to calorie: the converted 4/3 lies an ulp below the converted grid's
    // second value, which must not be visited a second time.
    ExperimentPlan energy;
    energy.setRows({{kKindEnthalpy, 1, 2, 3}, {kKindSurfaceEnergy, 1, 2, 1}});
    energy.advance();
    energy.advance();
    energy.rescaleRanges(kKindEnthalpy, [](double j) { return j / 4.184; });
    EXPECT_NEAR(energy.currentValueOfKind(kKindEnthalpy), 4.0 / 3 / 4.184, 1e-15);
    EXPECT_EQ(energy.currentValueOfKind(kKindSurfaceEnergy), 1);
    int remaining = 1;
    while (energy.advance()) ++remaining;
    EXPECT_EQ(remaining, 6);  // enthalpies 4/3, 5/3, 2 (/4.184), two surface energies each
    energy.rescaleRanges(kKindEnthalpy, nullptr);
}

TEST(ProposedRow, FollowsTheRowsAlreadyInThePlan) {
    PlanQuantities now;
    now.enthalpyPerVolume = 2;
    now.surfaceEnergy = 4;
    now.moleculeVolume = 8;
    now.liquidusTemperature = 1000;
    now.concentrationUnit = 1;
    auto range = [](const task& row) {
        return std::vector<double>{row.from, row.till, 1.0 * row.steps};
    };

    ExperimentPlan plan;
    plan.addRow(kKindRatioAB, now);
    plan.addRow(kKindRatioAB, now);
    EXPECT_EQ(range(plan.rows()[0]), (std::vector<double>{10, 90, 10}));
    EXPECT_EQ(range(plan.rows()[1]), (std::vector<double>{91, 99, 10}));

    plan.addRow(kKindGeneralSupercooling, now);
    plan.addRow(kKindGeneralSupercooling, now);
    EXPECT_EQ(range(plan.rows()[2]), (std::vector<double>{1, 15, 15}));
    EXPECT_EQ(range(plan.rows()[3]), (std::vector<double>{0.1, 0.9, 10}));

    plan.addRow(kKindEnthalpy, now);
    plan.addRow(kKindEnthalpy, now);
    plan.addRow(kKindEnthalpy, now);
    EXPECT_EQ(range(plan.rows()[4]), (std::vector<double>{0.6, 2, 10}));
    EXPECT_EQ(range(plan.rows()[5]), (std::vector<double>{2, 6, 10}));
    EXPECT_EQ(range(plan.rows()[6]), (std::vector<double>{1.7, 2.3, 10}));

    plan.addRow(kKindTemperature, now);
    plan.addRow(kKindTemperature, now);
    EXPECT_EQ(range(plan.rows()[7]), (std::vector<double>{100, 900, 10}));
    EXPECT_EQ(range(plan.rows()[8]), (std::vector<double>{910, 990, 10}));
    plan.addRow(99, now);
    EXPECT_EQ(plan.rows().size(), 9u);

    now.concentrationUnit = 0;
    task parts = proposeRow(kKindConcentration, {}, now);
    EXPECT_EQ(range(parts), (std::vector<double>{0.1, 0.9, 10}));
    EXPECT_EQ(range(proposeRow(kKindVerticesPerFaces, {}, now)), (std::vector<double>{0, 10, 10}));
}

TEST(ProposedRow, SplitsTheLastIntervalWhenTheRowsReachBeyondTheLimit) {
    PlanQuantities now;
    now.liquidusTemperature = 400;
    // Grid 100..500: P = 400, the value nearest below the top.
    task above = proposeRow(kKindTemperature, {{kKindTemperature, 100, 500, 4}}, now);
    EXPECT_EQ(above.from, 410);
    EXPECT_EQ(above.till, 490);

    task weights = proposeRow(kKindEdgesPerFaces, {{kKindEdgesPerFaces, 0, 20, 10}}, now);
    EXPECT_DOUBLE_EQ(weights.from, 18.2);
    EXPECT_DOUBLE_EQ(weights.till, 19.8);

    // Small liquidus: the tenth is not cut to whole degrees.
    now.liquidusTemperature = 10.5;
    task small = proposeRow(kKindTemperature, {}, now);
    EXPECT_DOUBLE_EQ(small.from, 1.05);
    EXPECT_DOUBLE_EQ(small.till, 9.45);
    now.liquidusTemperature = 315;  // L - Tmax = 15: c = trunc(1.5) = 1
    task whole = proposeRow(kKindTemperature, {{kKindTemperature, 250, 300, 5}}, now);
    EXPECT_EQ(whole.from, 301);
    EXPECT_EQ(whole.till, 314);

    // Rows without a grid (equal ends, no steps, descending) leave P at the top.
    task flat = proposeRow(
        kKindRatioCB, {{kKindRatioCB, 3, 3, 5}, {kKindRatioCB, 2, 3, 0}, {kKindRatioCB, 4, 1, 3}},
        now);
    EXPECT_EQ(flat.from, 3);
    EXPECT_EQ(flat.till, 3);
}

TEST(ExperimentPlan, PositionsByMultiplicationAgreeWithTheWalk) {
    // Descending, overlapping, an inert row and a duplicate end point together.
    ExperimentPlan plan;
    plan.setRows({{kKindTemperature, 300, 250, 5},
                  {kKindGeneralSupercooling, 1, 2, 2},
                  {kKindGeneralSupercooling, 1.5, 3, 3},
                  {kKindEdgesPerFaces, 0, 4, 0},
                  {kKindVolume, 2, 1, 2}});
    ExperimentPlan walk = plan, jump = plan;
    long long walked = 0;
    do {
        EXPECT_EQ(currentPosition(walk), walked);
        ASSERT_TRUE(moveToPosition(jump, walked));
        for (const parameter& p : walk.parameters())
            EXPECT_EQ(jump.currentValueOfKind(p.kind), p.current) << walked;
        ++walked;
    } while (walk.advance());
    EXPECT_EQ(combinationCount(plan), walked);
    EXPECT_EQ(walked, 6 * 5 * 1 * 3);
    EXPECT_FALSE(moveToPosition(jump, walked));
    // A value between two of its kind's stands where the walk goes on from it.
    plan.setCurrent(kKindTemperature, 285);
    EXPECT_EQ(currentPosition(plan), 1 * 15);
    // Three kinds of 10000 values: 10^12 combinations, counted at once; more
    // than a long long holds is said as such.
    ExperimentPlan huge;
    huge.setRows({{0, 1, 15, 9999}, {1, 1, 15, 9999}, {4, 1000, 1600, 9999}});
    EXPECT_EQ(combinationCount(huge), 1'000'000'000'000LL);
    ASSERT_TRUE(moveToPosition(huge, 999'999'999'999LL));
    EXPECT_EQ(currentPosition(huge), 999'999'999'999LL);
    huge.setRows(
        {{0, 1, 15, 9999}, {1, 1, 15, 9999}, {4, 1, 9, 9999}, {5, 0, 1, 9999}, {6, 1, 2, 9999}});
    EXPECT_FALSE(combinationCount(huge).has_value());
}

}  // namespace
}  // namespace quorvane
