#include "experiments/plan_commands.h"

#include <gtest/gtest.h>

#include "support/scripted_platform.h"

namespace quorvane {
namespace {

TEST(PlanCommands, MenuCommandsEditThePlan) {
    testing::ScriptedPlatform platform;
    PlanHost host;
    host.currentQuantities = [] {
        PlanQuantities now;
        now.liquidusTemperature = 1000;
        now.concentrationUnit = 1;
        return now;
    };
    ExperimentPlan plan;
    PlanFile file(plan, platform, host);
    auto run = [&](int command, int selected = -1) {
        return runPlanCommand(command, selected, plan, file, host);
    };

    EXPECT_TRUE(run(32798));   // Molecule: "Ratio a/b"
    EXPECT_TRUE(run(32794));   // Thermodynamics: "Temperature"
    EXPECT_TRUE(run(32847));   // Molecule: "Vertices/Faces"
    EXPECT_FALSE(run(32796));  // no quantity behind this identifier
    ASSERT_EQ(plan.rows().size(), 3u);
    EXPECT_EQ(plan.rows()[0].from, 10);
    EXPECT_EQ(plan.rows()[1].till, 900);
    EXPECT_EQ(plan.rows()[2].kind, kKindVerticesPerFaces);

    EXPECT_TRUE(run(32800));  // Delete without a selection does nothing
    EXPECT_TRUE(run(32831, 2));
    EXPECT_EQ(plan.rows()[0].kind, kKindVerticesPerFaces);
    EXPECT_TRUE(run(32803, 0));
    EXPECT_EQ(plan.rows()[1].kind, kKindVerticesPerFaces);
    EXPECT_TRUE(run(32802, 2));
    EXPECT_EQ(plan.rows()[1].kind, kKindTemperature);
    EXPECT_TRUE(run(32800, 1));
    EXPECT_EQ(plan.rows().size(), 2u);
    EXPECT_TRUE(run(32788));
    EXPECT_TRUE(plan.rows().empty());

    EXPECT_TRUE(run(32785));  // Open, cancelled
    EXPECT_TRUE(run(32832));  // Save as, cancelled
    EXPECT_EQ(platform.fileQuestions.size(), 2u);
    EXPECT_TRUE(platform.messages.empty());
}

}  // namespace
}  // namespace quorvane
