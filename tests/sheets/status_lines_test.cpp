#include "sheets/status_lines.h"

#include <gtest/gtest.h>

#include "engine/mechanism.h"
#include "engine/record_builder.h"

namespace quorvane {
namespace {

constexpr auto kNow = StatusColumn::Now;
constexpr auto kAverages = StatusColumn::Averages;
constexpr auto kAnalysis = StatusColumn::Analysis;

std::vector<std::string> textsOf(const std::vector<StatusLine>& lines) {
    std::vector<std::string> texts;
    for (const StatusLine& line : lines) texts.push_back(line.text);
    return texts;
}

bool mentionsPorosity(const std::vector<StatusLine>& lines) {
    for (const StatusLine& line : lines) {
        if (line.text.find("oros") != std::string::npos) return true;
        if (line.text.find("oroc") != std::string::npos) return true;
    }
    return false;
}

/// A stable run shown in minutes and nanometres.
RunEvaluation stableRun() {
    RunEvaluation ev;
    ev.steps = 1000;
    ev.timeOfGrowth = 1200;
    ev.finalHeight = 12.5;
    ev.finalRoughness = 1.25;
    ev.finalPorosity = 0.125;
    ev.simulationSeconds = 125;
    ev.rateMean = 0.01;
    ev.rateParts = 0.75;
    ev.fillMean = 30;
    ev.fillStd = 0.5;
    ev.startMean = 6;
    ev.startStd = 1.5;
    ev.inductionRatio = 0.2;
    ev.mechanism = kIntermediateMechanism;
    ev.stableStart = 10;
    ev.stableRate = 3.6;
    ev.stableRateParts = 0.4;
    ev.stableRoughness = 1.5;
    ev.stablePorosity = 0.05;
    return ev;
}

StatusDisplay minutesAndNanometres(int mode, bool porous) {
    return {1.0 / 60, 60, "nm", "min", "nm", 0.6, mode, porous};
}

TEST(Mechanism, ThresholdsAreExactAndTextsKeepTheirSpelling) {
    EXPECT_EQ(classifyMechanism(0), kNotEnoughData);
    EXPECT_EQ(classifyMechanism(-1), kNotEnoughData);
    EXPECT_EQ(classifyMechanism(0.5), kIntermediateMechanism);
    EXPECT_EQ(classifyMechanism(0.05), kIntermediateMechanism);
    EXPECT_EQ(classifyMechanism(0.5000001), kTwoDimensionalNucleation);
    EXPECT_EQ(classifyMechanism(0.0499999), kContinuousGrowth);
    EXPECT_STREQ(mechanismText(0), "Two dimensional nucleation");
    EXPECT_STREQ(mechanismText(1), "Continius growth");
    EXPECT_STREQ(mechanismText(2), "Intermedia mechanism");
    EXPECT_STREQ(mechanismText(3), "Not enough data to define mechanism");
}

TEST(StatusBlock, ZeroStepsShowOnlyTheHeader) {
    std::vector<StatusLine> lines = statusBlockLines(RunEvaluation{}, StatusDisplay{});
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text, "Current status from start:");
    EXPECT_EQ(lines[1].text, "Number of steps = 0");
    EXPECT_EQ(lines[1].column, kNow);
    EXPECT_EQ(lines[1].row, 2);
    EXPECT_EQ(lines[1].tone, StatusTone::State);
}

TEST(StatusBlock, RunWithoutACompletedLayer) {
    const RunEvaluation ev =
        Evaluate(testing::recordOf(std::vector<double>(100, 0.5)), EvaluationInputs{});
    const std::vector<StatusLine> lines = statusBlockLines(ev, {1, 1, "A", "s", "A", 6, 0, false});
    const std::vector<std::string> expected = {
        "Current status from start:",
        "Number of steps = 100",
        "Time of growth = 99.00 (s)",
        "Distance = 3.00 (A) = 0.5 (layers)",
        "Roughness =  6.00 (A) = 1.00 (layers)",
        "Time of simulation: 0 minutes 0 seconds of simulaton",
        "Average characteristics:",
        "Rate = 0.00 (A/s) = 0.0000 (parts of continues mechanism)",
        "Time to fill one layer = 0.00 (s) \xB1 0.0000 ",
        "Time to start of filling new layer = 0.00 (s) \xB1 0.0000",
        "Induction period =  0.0000 (parts of layer filling)",
        "Not enough data to define mechanism",
        "Stable growth is not established yet",
        "Growth regime: undetermined",
        "no driving force for growth",
    };
    EXPECT_EQ(textsOf(lines), expected);
    const std::vector<std::pair<StatusColumn, int>> places = {
        {kNow, 1},      {kNow, 2},      {kNow, 3},      {kNow, 4},      {kNow, 5},
        {kNow, 8},      {kAverages, 1}, {kAverages, 2}, {kAverages, 3}, {kAverages, 4},
        {kAverages, 5}, {kAnalysis, 1}, {kAnalysis, 2}, {kAnalysis, 3}, {kAnalysis, 4}};
    ASSERT_EQ(lines.size(), places.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(std::make_pair(lines[i].column, lines[i].row), places[i]) << i;
        EXPECT_EQ(lines[i].indented, i == 5) << i;
        EXPECT_EQ(lines[i].tone, i < 5    ? StatusTone::State
                                 : i == 5 ? StatusTone::ComputerTime
                                          : StatusTone::Average)
            << i;
    }
}

TEST(StatusBlock, StableRunInPercentWithPores) {
    const std::vector<StatusLine> lines =
        statusBlockLines(stableRun(), minutesAndNanometres(1, true));
    const std::vector<std::string> expected = {
        "Current status from start:",
        "Number of steps = 1000",
        "Time of growth = 20.00 (min)",
        "Distance = 7.50 (nm) = 12.5 (layers)",
        "Roughness =  0.750 (nm) = 1.25 (layers)",
        "Porosity =  12.5 (%)",
        "Time of simulation: 2 minutes 5 seconds of simulaton",
        "Average characteristics:",
        "Rate = 0.360 (nm/min) = 75.000 (% of continues mechanism)",
        "Time to fill one layer = 0.500 (min) \xB1 0.0083333 ",
        "Time to start of filling new layer = 0.100 (min) \xB1 0.025000",
        "Induction period =  20.000 (% of layer filling)",
        "Intermedia mechanism",
        "Average rate = 3.60 (nm/min) = 40.0 (%)",
        "Roughness = 0.900 (nm) = 1.50 (layers)",
        "Average porosity = 5.00 (%)",
        "Growth regime: undetermined",
        "too few steps to judge",
    };
    EXPECT_EQ(textsOf(lines), expected);
    EXPECT_EQ(lines[5].row, 6);
    EXPECT_EQ(lines[5].tone, StatusTone::State);
    EXPECT_EQ(lines[15].column, kAnalysis);
    EXPECT_EQ(lines[15].row, 4);
    // The plus-minus sign is one Windows-1252 byte, and the fill line ends with a blank.
    EXPECT_EQ(lines[9].text.find("\xC2"), std::string::npos);
    EXPECT_EQ(lines[9].text[37], '\xB1');
    EXPECT_EQ(lines[9].text.back(), ' ');
}

TEST(StatusBlock, PartsModeAndPlainRuns) {
    std::vector<StatusLine> parts = statusBlockLines(stableRun(), minutesAndNanometres(0, true));
    EXPECT_EQ(parts[5].text, "Porosity =  0.125 (parts)");
    EXPECT_EQ(parts[8].text, "Rate = 0.360 (nm/min) = 0.75000 (parts of continues mechanism)");
    EXPECT_EQ(parts[11].text, "Induction period =  0.20000 (parts of layer filling)");
    EXPECT_EQ(parts[13].text, "Average rate = 3.60 (nm/min) = 0.400 (parts)");
    EXPECT_EQ(parts[15].text, "Average porocity = 0.0500 (parts)");

    std::vector<StatusLine> plain = statusBlockLines(stableRun(), minutesAndNanometres(0, false));
    EXPECT_EQ(plain.size(), 16u);
    EXPECT_FALSE(mentionsPorosity(plain));
    EXPECT_EQ(plain[13].text, "Roughness = 0.900 (nm) = 1.50 (layers)");
    // The growth regime sits one row below the last line of the right column,
    // what it rests on in the row under it.
    EXPECT_EQ(plain[14].text, "Growth regime: undetermined");
    EXPECT_EQ(plain[14].row, 4);
    EXPECT_EQ(plain[15].row, 5);
    EXPECT_EQ(parts[16].row, 5);
    EXPECT_EQ(parts.back().tone, StatusTone::Average);
}

TEST(StatusBlock, GrowthRegimeUnderTheMechanism) {
    RunEvaluation ev = stableRun();
    ev.stableStart = -1;
    ev.regime = testing::stronglyActivatedNucleation();
    const std::vector<StatusLine> lines = statusBlockLines(ev, minutesAndNanometres(0, true));
    ASSERT_EQ(lines.size(), 21u);  // with the two lines of why the mechanism says otherwise
    EXPECT_EQ(lines[13].text, "Stable growth is not established yet");
    EXPECT_EQ(lines[14].text, "Growth regime: nucleation");
    EXPECT_EQ(std::make_pair(lines[14].column, lines[14].row), std::make_pair(kAnalysis, 3));
    // The evidence under it, broken after its commas to fit the narrow column.
    const std::vector<std::string> evidence = {
        "strongly activated: activation 1.90,", "rate 0.168 (0.665 at roughening),",
        "roughness 0.59 (1.30 at roughening),", "layer oscillation 0.07, 3.4 layers grown"};
    for (std::size_t i = 0; i < evidence.size(); ++i) {
        EXPECT_EQ(lines[15 + i].text, evidence[i]);
        EXPECT_EQ(std::make_pair(lines[15 + i].column, lines[15 + i].row),
                  std::make_pair(kAnalysis, 4 + static_cast<int>(i)));
    }
    // A clause longer than the column breaks between words.
    ev.regime = {GrowthRegime::Undetermined, RegimeReason::TooShort, 1.234};
    const std::vector<StatusLine> shortRun = statusBlockLines(ev, minutesAndNanometres(0, true));
    EXPECT_EQ(shortRun[15].text, "too short to judge: 1.23 of 3 layers of");
    EXPECT_EQ(shortRun[16].text, "continuous growth");
    // The mechanism text stays what the induction ratio says.
    EXPECT_EQ(lines[12].text, "Intermedia mechanism");
}

TEST(StatusBlock, WhenMechanismAndRegimeDisagreeALineSaysWhy) {
    RunEvaluation ev = stableRun();
    ev.regime.regime = GrowthRegime::Intermediate;  // as the mechanism says: no note
    const auto agree = statusBlockLines(ev, minutesAndNanometres(0, false));
    ev.mechanism = kNotEnoughData;
    ev.regime.regime = GrowthRegime::Continuous;
    const auto none = statusBlockLines(ev, minutesAndNanometres(0, false));
    ASSERT_EQ(none.size(), agree.size() + 2);
    EXPECT_EQ(none[none.size() - 2].column, kAverages);
    EXPECT_EQ(none[none.size() - 2].row, 7);
    EXPECT_EQ(none[none.size() - 2].text.rfind("No mechanism but a regime: ", 0), 0u);
    ev.mechanism = kTwoDimensionalNucleation;
    const auto differ = statusBlockLines(ev, minutesAndNanometres(0, false));
    EXPECT_EQ(differ[differ.size() - 2].text.rfind("Mechanism and regime differ: ", 0), 0u);
}

}  // namespace
}  // namespace quorvane
