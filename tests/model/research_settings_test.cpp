#include <gtest/gtest.h>

#include "model/research_settings.h"
#include "support/scripted_platform.h"

namespace quorvane {
namespace {

using Values = std::vector<double>;

struct Research : ::testing::Test {
    testing::ScriptedPlatform platform;
    ResearchSettings settings;

    ResearchUpdateOutcome loop(const char* start, const char* step, const char* count) {
        setValueSource(settings, true);
        settings.Start_loop_from = start;
        settings.Step_in_loop = step;
        settings.N_steps_in_loop = count;
        return updateResearchSettings(settings, platform);
    }
    ResearchUpdateOutcome list(const char* text) {
        setValueSource(settings, false);
        settings.List_of_values_to_try = text;
        return updateResearchSettings(settings, platform);
    }
};

void expectValues(const Values& actual, const Values& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_DOUBLE_EQ(actual[i], expected[i]);
}

TEST_F(Research, DefaultsAreConsistent) {
    EXPECT_FALSE(settings.loopMode());
    EXPECT_EQ(reReadValues(settings), settings.values);
    EXPECT_EQ(settings.Sheme_for_running_with_porosity, kAllWithPorosity);
    EXPECT_STREQ(kPorositySchemeNames[kDuplicateWithPorosity], "dublicate all runs with poricity");
    setValueSource(settings, true);
    expectValues(reReadValues(settings), {0.001, 0.002, 0.003, 0.004});
}

TEST_F(Research, NumberTexts) {
    double v = 0;
    EXPECT_TRUE(isValidProbabilityText("0.001", v));
    EXPECT_EQ(v, 0.001);
    EXPECT_TRUE(isValidProbabilityText("1e-10", v) == false);  // '-' is not a number character
    EXPECT_TRUE(isValidProbabilityText("5E2", v) == false);    // 500
    EXPECT_FALSE(isValidProbabilityText("0.5", v));
    EXPECT_TRUE(isValidProbabilityText("0.4999", v));
    EXPECT_FALSE(isValidProbabilityText("", v));
    EXPECT_FALSE(isValidProbabilityText("0,001", v));
    EXPECT_FALSE(isValidProbabilityText("1e999", v));
    EXPECT_TRUE(isValidCountText("99"));
    EXPECT_TRUE(isValidCountText("0"));
    EXPECT_FALSE(isValidCountText("100"));
    EXPECT_FALSE(isValidCountText("99999999999999999999"));
    EXPECT_FALSE(isValidCountText("-1"));
}

TEST_F(Research, LoopUpdate) {
    EXPECT_TRUE(loop("0.001", "0.001", "4").accepted);
    expectValues(settings.values, {0.001, 0.002, 0.003, 0.004});

    // Values above 0.1 are dropped, by Update and by the re-reading runner alike.
    EXPECT_TRUE(loop("0.05", "0.03", "4").accepted);
    expectValues(settings.values, {0.05, 0.08});
    expectValues(reReadValues(settings), {0.05, 0.08});
    EXPECT_TRUE(platform.messages.empty());

    // Valid, but too many for a series.
    ResearchUpdateOutcome outcome = loop("0.001", "0.001", "12");
    EXPECT_FALSE(outcome.accepted);
    EXPECT_EQ(outcome.focus, 0);
    EXPECT_EQ(settings.values.size(), 12u);
    EXPECT_EQ(platform.messages,
              std::vector<std::string>{"There are wrong in settings. Check and try again."});
}

TEST_F(Research, LoopRefusalsFocusTheirControl) {
    Values before = settings.values;
    struct Case {
        const char* start;
        const char* step;
        const char* count;
        int focus;
        const char* message;
    };
    for (const Case& c :
         {Case{"0.6", "0.001", "4", kLoopStartEdit, "Check starting point in a loop"},
          Case{"0.001", "x", "4", kLoopStepEdit, "Check step value in a loop"},
          Case{"0.001", "0.001", "100", kLoopCountEdit, "Check number steps in a loop"}}) {
        platform.messages.clear();
        ResearchUpdateOutcome outcome = loop(c.start, c.step, c.count);
        EXPECT_EQ(outcome.focus, c.focus);
        EXPECT_EQ(platform.messages, std::vector<std::string>{c.message});
        EXPECT_EQ(settings.values, before);
    }
    platform.messages.clear();
    loop("0.2", "0.001", "0");
    EXPECT_EQ(platform.messages,
              (std::vector<std::string>{"None values in loop",
                                        "There are wrong in settings. Check and try again."}));
}

TEST_F(Research, ListUpdate) {
    EXPECT_TRUE(list("0.004; 0.002,\t0.001\n0.0005").accepted);
    expectValues(settings.values, {0.004, 0.002, 0.001, 0.0005});

    ResearchUpdateOutcome outcome = list("0.001,0.6,0.002");
    EXPECT_EQ(outcome.focus, kListEdit);
    EXPECT_EQ(platform.messages,
              std::vector<std::string>{"Check list of probabilities in for experiment values"});
    expectValues(settings.values, {0.001});  // the items before the refused one

    platform.messages.clear();
    EXPECT_EQ(list(" , ;").focus, kListEdit);
    EXPECT_EQ(platform.messages.size(), 1u);

    // At most 101 items are looked at.
    std::string many;
    for (int i = 0; i < 150; ++i) many += "0.001,";
    EXPECT_EQ(listItems(many).size(), 101u);
    settings.List_of_values_to_try = many + "abc";
    EXPECT_EQ(reReadValues(settings).size(), 101u);
}

TEST_F(Research, ReReadNeedsNoValidation) {
    setValueSource(settings, false);
    settings.List_of_values_to_try = "0.7,abc,nan,0.001";
    expectValues(reReadValues(settings), {0.7, 0, 0.001});

    setValueSource(settings, true);
    settings.Start_loop_from = "0.001";
    settings.Step_in_loop = "0.0001";
    settings.N_steps_in_loop = "2147483647";  // cut, never allocated
    EXPECT_EQ(reReadValues(settings).size(), static_cast<size_t>(kMaxValuesToTry));
    settings.N_steps_in_loop = "-3";
    EXPECT_TRUE(reReadValues(settings).empty());
}

}  // namespace
}  // namespace quorvane
