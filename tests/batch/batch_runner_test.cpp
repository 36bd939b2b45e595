// The batch runner as its users run it: a separate process over files.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>

#include "batch_fixture.h"
#include "common/file_io.h"
#include "common/text.h"
#include "engine/growth_engine.h"
#include "support/temp_folder.h"

namespace quorvane {
namespace {

TEST_F(BatchRunnerTest, TheSameCommandGivesTheSameNumbers) {
    ASSERT_EQ(runBatch(folder(), {"--quiet", "--data", "growing.csv", "--log", "a.csv"}), 0);
    ASSERT_EQ(runBatch(folder(), {"--quiet", "--data", "growing.csv", "--log", "b.csv"}), 0);
    auto a = rowsWithoutDates("a.csv");
    ASSERT_EQ(a.size(), 1u);
    EXPECT_EQ(a, rowsWithoutDates("b.csv"));
    EXPECT_EQ(a[0].substr(0, 4), "3\",\"");  // ended by the layer limit
}

TEST_F(BatchRunnerTest, RecordReproducesTheRunExactly) {
    ASSERT_EQ(runBatch(folder(), {"--quiet", "--data", "growing.csv", "--steps", "150", "--record",
                                  "record.csv"}),
              0);
    std::istringstream in(read("record.csv"));
    std::map<std::string, std::string> header;
    std::string line;
    while (readLine(in, line) && line.rfind("# ", 0) == 0) {
        auto eq = line.find(" = ");
        header[line.substr(2, eq - 2)] = line.substr(eq + 3);
    }
    EXPECT_EQ(line, "step,time_s,height_layers,roughness_layers,rate_layers_per_s,porosity");
    auto real = [&](const char* key) { return std::strtod(header.at(key).c_str(), nullptr); };
    Taus88 random;
    random.SeedForStart();
    GrowthEngine engine(random);
    ASSERT_EQ(engine.InitRun(real("E0"), real("E8"),
                             static_cast<std::uint32_t>(std::stoul(header.at("Pint"))), real("a"),
                             real("b"), real("c"), std::stoi(header.at("W")),
                             std::stoi(header.at("H")), real("edges"), real("vertices")),
              InitStatus::Ok);
    int steps = 0;
    while (readLine(in, line)) {
        auto cells = splitFields(line, ",");
        StepResult step = engine.StepPlain();
        ++steps;
        ASSERT_EQ(std::stoi(cells[0]), steps);
        ASSERT_EQ(std::strtod(cells[2].c_str(), nullptr), step.meanHeight) << "step " << steps;
        ASSERT_EQ(std::strtod(cells[3].c_str(), nullptr), step.roughness) << "step " << steps;
    }
    EXPECT_EQ(steps, 150);
    EXPECT_NE(read("_Quorvane_log.csv").find("\"5\""), std::string::npos);  // the --steps end
}

TEST_F(BatchRunnerTest, GrowthRegimeInTheRecordAndTheEndOfRunLine) {
    // sigma' = 9 and dG' = 1: a smooth face that grows at a seventh of continuous
    // growth; 1500 steps give 6.3 layers of continuous growth to judge it by.
    ASSERT_EQ(runBatch(folder(), {"--data", "growing.csv", "--set", "General_Surface_Energy=9",
                                  "--steps", "1500", "--record", "slow.csv"}),
              0);
    EXPECT_NE(read("slow.csv")
                  .find("\n# growth_regime = nucleation\n# growth_regime_evidence = "
                        "strongly activated: activation "),
              std::string::npos);
    const std::string line = read("stderr.txt");
    EXPECT_NE(line.find("run 1 logged with event 5: step 1500, "), std::string::npos) << line;
    // The evidence beside the word: what the run measured.
    EXPECT_NE(line.find(", growth regime nucleation (strongly activated: activation "),
              std::string::npos)
        << line;
    EXPECT_NE(line.find(" layers grown)\n"), std::string::npos) << line;
    // 150 steps are too few to judge: said so, not guessed.
    ASSERT_EQ(runBatch(folder(), {"--quiet", "--data", "growing.csv", "--steps", "150", "--record",
                                  "short.csv"}),
              0);
    EXPECT_NE(read("short.csv")
                  .find("\n# growth_regime = undetermined\n# growth_regime_evidence = "
                        "too short to judge: "),
              std::string::npos);
    // The run log keeps its 41 columns.
    for (const std::string& row : rowsWithoutDates("_Quorvane_log.csv"))
        EXPECT_EQ(splitFields(row, ",").size(), 40u) << row;
}

TEST_F(BatchRunnerTest, ShardsMergedCoverTheWholePlan) {
    fs::create_directories(dir_ / "shards");
    for (const char* name : {"growing.csv", "small_plan.csv"})
        fs::copy_file(dir_ / name, dir_ / "shards" / name);
    auto args = [&](std::vector<std::string> extra) {
        std::vector<std::string> all = quick_;
        all.insert(all.end(), extra.begin(), extra.end());
        return all;
    };
    ASSERT_EQ(runBatch(folder(), args({"--plan", "small_plan.csv", "--log", "whole.csv"})), 0);
    std::string shards = (dir_ / "shards").string();
    ASSERT_EQ(
        runBatch(shards, args({"--plan", "small_plan.csv", "--shard", "0/2", "--log", "s0.csv"})),
        0);
    ASSERT_EQ(
        runBatch(shards, args({"--plan", "small_plan.csv", "--shard", "1/2", "--log", "s1.csv"})),
        0);
    ASSERT_EQ(runBatch(shards, {"merge", "merged.csv", "s0.csv", "s1.csv"}), 0);
    auto whole = reducedCombinations("whole.csv");
    EXPECT_EQ(whole.size(), 4u);
    EXPECT_EQ(reducedCombinations("shards/merged.csv"), whole);
    EXPECT_EQ(reducedCombinations("shards/s0.csv").size(), 2u);
    EXPECT_TRUE(exists("shards/small_plan_shard0of2.csv"));
    // The shared plan file was left alone by the shards.
    EXPECT_EQ(read("shards/small_plan.csv"),
              readWholeFile(std::string(QUORVANE_SOURCE_DIR) + "/examples/small_plan.csv").value());
}

TEST_F(BatchRunnerTest, InterruptDuringAPlanLogsCodeTenAndKeepsThePlace) {
    struct stat before {};
    ASSERT_EQ(stat((dir_ / "small_plan.csv").c_str(), &before), 0);
    // Never stop: only the signal ends the first run.
    pid_t pid = testing::startBatch(folder(), {"--quiet", "--plan", "small_plan.csv", "--log",
                                               "log.csv", "--set", "Is_any_limits=1"});
    // The plan file is rewritten (a new file) just before the first run starts.
    for (int i = 0; i < 600; ++i) {
        struct stat now {};
        if (stat((dir_ / "small_plan.csv").c_str(), &now) == 0 && now.st_ino != before.st_ino)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    kill(pid, SIGINT);
    EXPECT_EQ(testing::waitBatch(pid), 130);
    auto rows = rowsWithoutDates("log.csv");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].substr(0, 5), "10\",\"");
    // The plan file still names the first combination, for --resume.
    EXPECT_NE(read("small_plan.csv").find("4, 1600, 1650, 1600, 1\n"), std::string::npos);
    EXPECT_NE(read("small_plan.csv").find("1, 2.5, 3, 2.5, 1\n"), std::string::npos);
}

TEST_F(BatchRunnerTest, BadInputIsRefusedAndNothingIsWritten) {
    const std::vector<std::vector<std::string>> refused = {
        {"--frobnicate"},
        {"--data", "missing.csv"},
        {"--data", "growing.txt"},
        {"--steps", "abc"},
        {"--set", "No_such_key=1"},
        {"--set", "Size_A=abc"},
        {"--set", "Is_any_limits=2"},
        {"--set", "dimension=1"},  // single units only under the system Custom
        {"--plan", "growing.csv"},
        {"--log", "log.txt"},
        {"--test"},
        {"--full", "--research"},
    };
    for (const auto& args : refused) {
        EXPECT_EQ(runBatch(folder(), args), 2) << args[0];
        EXPECT_FALSE(exists("_Quorvane_log.csv")) << args[0];
        EXPECT_FALSE(exists("log.txt")) << args[0];
        EXPECT_NE(read("stderr.txt").find("quorvane-batch: "), std::string::npos) << args[0];
    }
    EXPECT_EQ(runBatch(folder(), {"--help"}), 0);
    EXPECT_NE(read("stdout.txt").find("--shard K/N"), std::string::npos);
}

TEST_F(BatchRunnerTest, UnwritableLogEndsWithStatusOne) {
    fs::create_symlink("/dev/full", dir_ / "full.csv");
    std::vector<std::string> args = quick_;
    args.insert(args.end(), {"--steps", "20", "--log", "full.csv"});
    EXPECT_EQ(runBatch(folder(), args), 1);
    std::string err = read("stderr.txt");
    EXPECT_NE(err.find("Result of simulation cannot be saved."), std::string::npos);
    EXPECT_NE(err.find("could not be written"), std::string::npos);
}

TEST_F(BatchRunnerTest, MergeRefusesAFileThatIsNoLog) {
    ASSERT_EQ(runBatch(folder(), {"--quiet", "--steps", "10", "--set", "N_field_W=8", "--set",
                                  "N_field_H=8", "--log", "a.csv"}),
              0);
    EXPECT_EQ(runBatch(folder(), {"merge", "m.csv", "a.csv", "growing.csv"}), 2);
    EXPECT_FALSE(exists("m.csv"));
    EXPECT_EQ(runBatch(folder(), {"merge", "m.csv", "a.csv", "a.csv"}), 0);
    EXPECT_EQ(rowsWithoutDates("m.csv").size(), 2u);
}

}  // namespace
}  // namespace quorvane
