#include "experiments/plan_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/file_io.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"

namespace quorvane {
namespace {

using testing::ScriptedPlatform;
using testing::TempFolder;

/// Records what the plan file asks of the rest of the program. Writing a data
/// file makes it the Data panel's file, as the real data panel does.
struct RecordingHost {
    std::vector<std::string> loaded, written, logPaths;
    std::string dataPanelPath = "own_data.csv";
    int testModeSwitchedOff = 0;
    PlanHost host;

    RecordingHost() {
        host.loadDataFile = [this](const std::string& p) { loaded.push_back(p); };
        host.writeDataFile = [this](const std::string& p) {
            written.push_back(p);
            dataPanelPath = p;
            return true;
        };
        host.setLogPath = [this](const std::string& p) { logPaths.push_back(p); };
        host.currentDataPath = [this] { return dataPanelPath; };
        host.setCurrentDataPath = [this](const std::string& p) { dataPanelPath = p; };
        host.switchOffTestMode = [this] { ++testModeSwitchedOff; };
    }
};

struct PlanFileTest : ::testing::Test {
    TempFolder folder;
    ScriptedPlatform platform;
    RecordingHost recorder;
    ExperimentPlan plan;
    PlanFile file{plan, platform, recorder.host};

    std::string planFile(const std::string& name, const std::string& rows,
                         const std::string& results = "runs_Quorvane_res.csv") {
        return folder.write(
            name, std::string(kPlanFileMagic) + "\nplan_data.csv\n" + results + "\n" + rows);
    }
};

TEST_F(PlanFileTest, WritesTheExactFormatWithEachKindsCurrentValue) {
    plan.setRows({{kKindTemperature, 300, 250, 5},
                  {kKindEnthalpy, 1.5e-21, 3e-21, 2},
                  {kKindTemperature, 240, 230, 1}});
    plan.advance();
    file.paths.plan = folder.file("plan.csv");
    file.paths.data = "d.csv";
    file.paths.results = "r.csv";
    ASSERT_TRUE(file.write());
    EXPECT_EQ(*readWholeFile(file.paths.plan),
              "The_file_of_experiment_tasks_for_Quorvane\nd.csv\nr.csv\n"
              "4, 300, 250, 300, 5\n2, 1.5e-21, 3e-21, 2.25e-21, 2\n4, 240, 230, 300, 1\n");

    file.paths.plan = folder.file("missing/plan.csv");
    EXPECT_FALSE(file.write());
    EXPECT_EQ(platform.messages, (std::vector<std::string>{"Error to open file for writing"}));
}

TEST_F(PlanFileTest, CurrentValuesSurviveSaveAndReopen) {
    plan.setRows({{kKindTemperature, 300, 320, 2}, {kKindEnthalpy, 1, 2, 1}});
    plan.advance();
    plan.advance();  // second temperature, first enthalpy
    file.paths.plan = folder.file("study.csv");
    ASSERT_TRUE(file.save());
    std::string prefix = folder.file("study");
    EXPECT_EQ(file.paths.results, prefix + "_Quorvane_res.csv");
    EXPECT_EQ(file.paths.data, prefix + "_Quorvane_data.csv");
    EXPECT_EQ(recorder.logPaths, (std::vector<std::string>{prefix + "_Quorvane_res.csv"}));
    EXPECT_EQ(recorder.written, (std::vector<std::string>{prefix + "_Quorvane_data.csv"}));

    ExperimentPlan reopened;
    PlanFile reader(reopened, platform, recorder.host);
    ASSERT_TRUE(reader.read(file.paths.plan));
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(reopened.currentValueOfKind(kKindTemperature), 310);
    EXPECT_EQ(reopened.currentValueOfKind(kKindEnthalpy), 1);
    EXPECT_EQ(reader.paths.plan, file.paths.plan);
    EXPECT_EQ(reader.paths.results, file.paths.results);
    EXPECT_EQ(reader.paths.data, file.paths.data);
    EXPECT_EQ(recorder.loaded, (std::vector<std::string>{file.paths.data}));
    EXPECT_EQ(recorder.logPaths.back(), file.paths.results);
    EXPECT_EQ(recorder.testModeSwitchedOff, 1);
    ASSERT_TRUE(reopened.advance());
    EXPECT_EQ(reopened.currentValueOfKind(kKindEnthalpy), 2);  // resumes where it stood
}

// A plan and its data travel together: a data file named without a folder is
// taken from beside the plan when it is there, wherever the program started.
TEST_F(PlanFileTest, DataNamedWithoutAFolderAreTakenFromBesideThePlan) {
    const std::string plan = planFile("p.csv", "0, 300, 310, 10, 1\n");
    ASSERT_TRUE(file.read(plan));
    EXPECT_EQ(recorder.loaded.back(), "plan_data.csv");  // none beside it: as written
    folder.write("plan_data.csv", "data");
    ASSERT_TRUE(file.read(plan));
    EXPECT_EQ(recorder.loaded.back(), folder.file("plan_data.csv"));
    EXPECT_EQ(file.paths.data, "plan_data.csv");  // the plan keeps its own text
}

TEST_F(PlanFileTest, RestoredCurrentValuesSnapToTheirGrid) {
    // 0 .. 1 in 3 steps: the second value is 1/3, saved with six digits.
    plan.setRows({{kKindConcentration, 0, 1, 3}});
    plan.advance();
    file.paths.plan = folder.file("thirds.csv");
    file.paths.results = "thirds_res.csv";
    ASSERT_TRUE(file.write());
    EXPECT_NE(readWholeFile(file.paths.plan)->find("5, 0, 1, 0.333333, 3\n"), std::string::npos);
    ExperimentPlan reopened;
    PlanFile reader(reopened, platform, recorder.host);
    ASSERT_TRUE(reader.read(file.paths.plan));
    EXPECT_EQ(reopened.currentValueOfKind(kKindConcentration), 1.0 / 3);
    ASSERT_TRUE(reopened.advance());
    EXPECT_EQ(reopened.currentValueOfKind(kKindConcentration), 2.0 / 3);  // not 1/3 again
    // A value far from the grid (edited by hand) stays as it was written.
    planFile("edited.csv", "5, 0, 1, 0.5, 3\n");
    ASSERT_TRUE(reader.read(folder.file("edited.csv")));
    EXPECT_EQ(reopened.currentValueOfKind(kKindConcentration), 0.5);
}

TEST_F(PlanFileTest, RefusedFilesLeaveThePlanAndItsPathsAsTheyWere) {
    plan.setRows({{kKindVolume, 1, 2, 1}});
    plan.advance();
    PlanPaths before = file.paths;
    auto unchanged = [&] {
        EXPECT_EQ(plan.rows().size(), 1u);
        EXPECT_EQ(plan.currentValueOfKind(kKindVolume), 2);
        EXPECT_EQ(file.paths.plan, before.plan);
        EXPECT_EQ(file.paths.results, before.results);
        EXPECT_EQ(file.paths.data, before.data);
        EXPECT_TRUE(recorder.logPaths.empty());
        EXPECT_EQ(recorder.testModeSwitchedOff, 0);
    };
    std::string magic = kPlanFileMagic;
    EXPECT_FALSE(file.read(folder.write("plan.txt", magic + "\n")));
    EXPECT_FALSE(file.read(folder.file("absent.csv")));
    EXPECT_FALSE(file.read(folder.write("other.csv", "Content,Data\n")));
    EXPECT_FALSE(file.read(folder.write("empty.csv", "")));
    EXPECT_FALSE(file.read(planFile("nameless.csv", "6, 1, 2, 1, 1\n", "_Quorvane_res.csv")));
    EXPECT_FALSE(file.read(folder.write("no_results.csv", magic + "\nx.csv\n\n6, 1, 2, 1, 1\n")));
    EXPECT_FALSE(file.read(folder.write("two_lines.csv", magic + "\nx.csv\n")));
    EXPECT_FALSE(file.read(planFile("short.csv", "6, 1, 2, 1, 1\n4, 300, 250, 300\n")));
    EXPECT_FALSE(file.read(planFile("kind.csv", "6, 1, 2, 1, 1\n42, 1, 2, 1, 1\n")));
    EXPECT_EQ(platform.messages,
              (std::vector<std::string>{
                  "Wrong file extention, must be csv", "Error to open file for reading",
                  "It is not valid file for experiment setting\nTry other one.",
                  "It is not valid file for experiment setting\nTry other one.",
                  "Wrong or corrupted file", "Wrong or corrupted file", "Wrong or corrupted file",
                  "Wrong or corrupted file", "Wrong or corrupted file"}));
    // The data file named on line 2 is loaded before line 3 is checked.
    EXPECT_EQ(recorder.loaded, (std::vector<std::string>{"plan_data.csv", "x.csv", "x.csv",
                                                         "plan_data.csv", "plan_data.csv"}));
    unchanged();
}

TEST_F(PlanFileTest, ReadsRowsOfAnyLengthAndIgnoresWhatIsNoPath) {
    std::string longTail(100000, ' ');
    std::string path =
        folder.write("long.csv", std::string(kPlanFileMagic) + " and more\n" +
                                     std::string(70000, 'x') + "\nruns.csv\n\n  \n4,300,250,290,5" +
                                     longTail + ",extra\r\n" + "2, abc, 3, nan, 2\n");
    ASSERT_TRUE(file.read(path));
    EXPECT_TRUE(recorder.loaded.empty());  // line 2 names no data file
    EXPECT_EQ(file.paths.data, "");
    ASSERT_EQ(plan.rows().size(), 2u);
    EXPECT_EQ(plan.rows()[0].steps, 5);
    EXPECT_EQ(plan.rows()[1].from, 0);
    EXPECT_EQ(plan.currentValueOfKind(kKindTemperature), 290);
    EXPECT_EQ(plan.currentValueOfKind(kKindEnthalpy), 0);
    EXPECT_EQ(file.paths.plan, path);
    EXPECT_EQ(file.paths.results, "runs.csv");
}

TEST_F(PlanFileTest, OpenAsksForAPlanAndCancelChangesNothing) {
    EXPECT_FALSE(file.open());
    ASSERT_EQ(platform.fileQuestions.size(), 1u);
    EXPECT_EQ(platform.fileQuestions[0].title, "Open experiment plan");
    EXPECT_EQ(platform.fileQuestions[0].filter, "*.csv");
    EXPECT_EQ(file.paths.plan, kDefaultPlanPath);
    EXPECT_EQ(file.paths.results, kDefaultPlanResultsPath);

    platform.fileAnswers.push_back(planFile("chosen.csv", "0, 1, 15, 3, 14\n"));
    EXPECT_TRUE(file.open());
    EXPECT_EQ(plan.currentValueOfKind(kKindGeneralSupercooling), 3);
    EXPECT_EQ(recorder.testModeSwitchedOff, 1);
}

TEST_F(PlanFileTest, SaveAsKeepsTheDataPanelsOwnDataPath) {
    plan.setRows({{kKindVolume, 1, 2, 1}});
    EXPECT_FALSE(file.saveAs());  // cancelled
    platform.fileAnswers.push_back(folder.file("named.txt"));
    EXPECT_FALSE(file.saveAs());
    EXPECT_EQ(platform.messages, (std::vector<std::string>{"Wrong file extention, must be csv"}));
    EXPECT_EQ(file.paths.plan, kDefaultPlanPath);
    EXPECT_TRUE(recorder.written.empty());

    platform.fileAnswers.push_back(folder.file("named.csv"));
    ASSERT_TRUE(file.saveAs());
    EXPECT_EQ(platform.fileQuestions.back().title, "Save experimental plan");
    EXPECT_EQ(platform.fileQuestions.back().filter, "*.csv");
    EXPECT_TRUE(platform.fileQuestions.back().forSaving);
    std::string data = folder.file("named_Quorvane_data.csv");
    EXPECT_EQ(recorder.written, (std::vector<std::string>{data, data}));
    EXPECT_EQ(recorder.dataPanelPath, "own_data.csv");
    EXPECT_TRUE(isRegularFile(folder.file("named.csv")));

    file.paths.plan = "no-extension";
    EXPECT_FALSE(file.save());
    EXPECT_EQ(platform.messages.back(), "Wrong file extention, must be csv");
    EXPECT_EQ(file.paths.results, folder.file("named_Quorvane_res.csv"));
}

}  // namespace
}  // namespace quorvane
