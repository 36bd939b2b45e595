// The panels' sheets: one rule per key for both programs, the panel's texts,
// and a finished run that keeps the data it ran with.

#include <gtest/gtest.h>

#include <set>

#include "common/file_io.h"
#include "model/quantity_schema.h"
#include "model/theory.h"
#include "sheets/data_sheet.h"
#include "sheets/key_setting.h"
#include "sheets/results_sheet.h"
#include "sheets/run_sheet.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"

namespace quorvane {
namespace {

class SheetsTest : public ::testing::Test {
  protected:
    AppState state_;
    testing::ScriptedPlatform platform_;
    Session session_{state_, platform_};
};

TEST_F(SheetsTest, EveryKeyHasOneRowAndEveryFieldItsKey) {
    std::set<std::string> keys;
    for (const QuantityRow& row : quantitySchema()) {
        if (row.kind != QuantityKind::Heading) {
            EXPECT_TRUE(keys.insert(row.key).second) << row.key << " twice";
        }
    }
    for (int i = 0; i < kDataFieldCount; ++i) {
        const auto field = static_cast<DataField>(i);
        EXPECT_EQ(quantityOfField(field).field, field) << dataKeyForField(field);
        EXPECT_EQ(fieldForDataKey(dataKeyForField(field)), field);
    }
    // One dimension, three notations.
    PhysicalData d = makeStartData();
    const QuantityRow& enthalpy = *findQuantity("Enthalpie");
    EXPECT_EQ(unitText(enthalpy, d, Notation::File), "J/A^3");
    EXPECT_EQ(unitText(enthalpy, d, Notation::Panel), "J/A\u00b3");
    EXPECT_EQ(unitText(enthalpy, d, Notation::Html), "J/A<sup>3</sup>");
}

TEST_F(SheetsTest, TheRunPanelAndSetRefuseWithTheSameBoundAndReason) {
    RunSheet sheet(session_);
    const std::string panel =
        sheet.take({{"N_field_H", "Height", "0"}, {"N_in_per_step", "N", "many"}});
    const std::string set = setQuantity(session_, "N_field_H", "0");
    EXPECT_EQ(set, "the value must be a whole number of molecules 1..1000000");
    EXPECT_NE(panel.find("Height: " + set), std::string::npos);
    EXPECT_NE(panel.find("N: the value must be a number of molecules >= 0"), std::string::npos);
    EXPECT_EQ(state_.run.N_field_H, 160);  // refused: kept

    EXPECT_EQ(sheet.take({{"N_field_W", "Width", "20"},
                          {"N_field_H", "Height", "25"},
                          {"N_in_per_step", "N", "5"}}),
              "");
    EXPECT_EQ(sheet.fieldText("Prob_in_at_step"), "0.01");
    // A time step set by hand stays until N, the field or P change again.
    EXPECT_EQ(setQuantity(session_, "Time_step", "0.5"), "");
    EXPECT_EQ(setQuantity(session_, "Layers_limit", "7"), "");
    EXPECT_EQ(state_.run.Time_step, 0.5);
    EXPECT_EQ(setQuantity(session_, "Time_step", "0"), "the value must be a duration above 0");
}

TEST_F(SheetsTest, DataSheetShowsWhatThePanelShows) {
    DataSheet sheet(session_);
    EXPECT_TRUE(sheet.edit(DataField::Volume, "1728").empty());
    EXPECT_EQ(sheet.fieldText(DataField::SizeA), "12");
    EXPECT_EQ(sheet.fieldUnit(DataField::Volume), "A\u00b3");
    EXPECT_EQ(sheet.fieldUnit(DataField::ActivationEnergy), "(J/mol)");
    // A shape text that is no number is refused and named for the focus.
    EXPECT_EQ(sheet.edit(DataField::EdgesRatio, "abc"),
              std::vector<DataField>{DataField::EdgesRatio});
    EXPECT_EQ(platform_.messages.back(), "Do fix vertiges control");

    sheet.changeUnit(0, 2);  // Custom
    EXPECT_TRUE(sheet.comboEnabled(1));
    sheet.changeUnit(5, 1);  // Celsius: temperatures with five digits
    EXPECT_EQ(sheet.fieldText(DataField::Temperature), "1326.8");
    EXPECT_EQ(sheet.unitScale(5), "C+273.15 (Kelvins)");
    sheet.changeUnit(3, 3);  // kcal carry the calorie
    EXPECT_EQ(sheet.unitScale(3).rfind("( 4.184 &middot; ", 0), 0u);
    sheet.changeUnit(4, 1);  // days: their whole seconds
    EXPECT_EQ(sheet.unitScale(4), "( 86400 &middot; 10\u2070 seconds)");
}

// Save after Open writes the file the title names, not the last-data file.
TEST_F(SheetsTest, SaveAfterOpenWritesTheOpenedFile) {
    testing::TempFolder folder;
    const std::string opened = folder.file("growing.csv");
    ASSERT_TRUE(session_.writeDataFile(opened).written);
    const std::string before = state_.paths.currentDataPath;
    DataSheet sheet(session_);
    platform_.fileAnswers.push_back(opened);
    ASSERT_TRUE(sheet.openFile()->loaded());
    EXPECT_TRUE(sheet.edit(DataField::Temperature, "1500").empty());
    EXPECT_EQ(sheet.saveFile().path, opened);
    EXPECT_NE(readWholeFile(opened)->find("\nTemperature,1500,"), std::string::npos);
    EXPECT_FALSE(isRegularFile(before));
}

TEST_F(SheetsTest, AFinishedRunKeepsTheDataItRanWith) {
    state_.run.N_field_W = state_.run.N_field_H = 30;
    state_.run.Is_any_limits = 1;
    computeTheory(state_.data, platform_);
    session_.loop.hooks.stepDone = [this](int step) {
        if (step >= 300) state_.runState.runFlag = false;
    };
    session_.loop.StartNewSingleSimulation();
    ResultsSheet results(session_);
    results.refresh();
    const RunEvaluation before = results.evaluation();
    const std::vector<StatusLine> lines = results.statusLines();
    ASSERT_GT(before.steps, 0);

    // The user changes the temperature and the units afterwards.
    DataSheet(session_).edit(DataField::Temperature, "1000");
    DataSheet(session_).changeUnit(0, 1);
    results.refresh();
    EXPECT_EQ(results.evaluation().rateParts, before.rateParts);
    ASSERT_EQ(results.statusLines().size(), lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(results.statusLines()[i].text, lines[i].text);
}

}  // namespace
}  // namespace quorvane
