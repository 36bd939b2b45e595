#include "batch/key_setting.h"

#include <gtest/gtest.h>

#include "model/data_rules.h"
#include "support/scripted_platform.h"

namespace quorvane {
namespace {

class KeySettingTest : public ::testing::Test {
  protected:
    AppState state_;
    testing::ScriptedPlatform platform_;
    Session session_{state_, platform_};
    std::string set(const std::string& key, const std::string& value) {
        return batch::applyKeySetting(session_, key, value);
    }
};

TEST_F(KeySettingTest, DataKeysFollowTheDataRules) {
    AppState typed;
    enterDataKeyValue(typed.data, typed.run, "General_Suupercooling", "1.5", platform_);
    EXPECT_EQ(set("General_Suupercooling", "1.5"), "");
    EXPECT_EQ(state_.data, typed.data);  // the enthalpies were rescaled, as the panel does

    EXPECT_EQ(set("Volume", "1728"), "");
    EXPECT_DOUBLE_EQ(state_.data.Size_A, 12);
    EXPECT_DOUBLE_EQ(state_.data.Surface, 864);
}

TEST_F(KeySettingTest, RunKeysKeepProbabilityAndFieldConsistent) {
    const double N = state_.run.N_in_per_step;
    EXPECT_EQ(set("N_field_W", "60"), "");
    EXPECT_EQ(state_.run.N_field_W, 60);
    EXPECT_DOUBLE_EQ(state_.run.Prob_in_at_step, N / (60.0 * state_.run.N_field_H));
    EXPECT_EQ(set("Prob_in_at_step", "0.01"), "");
    EXPECT_DOUBLE_EQ(state_.run.N_in_per_step, 0.01 * 60 * state_.run.N_field_H);
    EXPECT_NE(set("N_field_W", "0"), "");
    EXPECT_NE(set("Prob_in_at_step", "1.5"), "");
    EXPECT_EQ(state_.run.N_field_W, 60);
}

TEST_F(KeySettingTest, UnitKeysConvertInPlaceAndRescaleThePlan) {
    state_.plan.setRows({{3, 1e-21, 2e-21, 1}});
    EXPECT_NE(set("dimension", "1"), "");  // SI and CGS fix the units
    EXPECT_EQ(set("system", "2"), "");
    EXPECT_EQ(set("dimension", "1"), "");  // angstrom to nanometre
    EXPECT_DOUBLE_EQ(state_.data.Size_A, 0.6);
    EXPECT_DOUBLE_EQ(state_.plan.rows()[0].from, 1e-19);  // surface energy per nm^2
    EXPECT_NE(set("dimension", "9"), "");
}

TEST_F(KeySettingTest, ResearchKeysAreValidatedAsTheDialogDoes) {
    EXPECT_EQ(set("List_of_values_to_try", "0.001,0.002"), "");
    EXPECT_EQ(state_.research.values, (std::vector<double>{0.001, 0.002}));
    EXPECT_EQ(set("Sheme_for_running_with_porosity", "3"), "");
    EXPECT_NE(set("Sheme_for_running_with_porosity", "4"), "");
    EXPECT_NE(set("List_of_values_to_try", "0.001,0.6"), "");
    EXPECT_EQ(platform_.messages.back(), "Check list of probabilities in for experiment values");
    EXPECT_EQ(set("Random_argument__1", "B-axis (nm),0,0.3,1,0,0,2,0.5,0.5"), "");
    EXPECT_DOUBLE_EQ(state_.randomArguments[1].max, 1);
    EXPECT_NE(set("Va_continues", "1"), "");  // a result, not an input
}

}  // namespace
}  // namespace quorvane
