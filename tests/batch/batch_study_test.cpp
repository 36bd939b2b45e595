// --jobs: a study spread over the workers of one process.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <map>
#include <thread>

#include "batch_fixture.h"

namespace quorvane {
namespace {

/// The event-77 rows' temperature and surface energy, in the order of the log.
std::vector<std::string> reducedInOrder(const std::vector<std::string>& rows) {
    std::vector<std::string> out;
    for (const std::string& row : rows) {
        auto cells = splitFields(row, ",");
        if (cells[0] == "77\"") out.push_back(cells[14] + "/" + cells[20]);
    }
    return out;
}

TEST_F(BatchRunnerTest, JobsGiveTheRowsOfTheShardsInPlanOrder) {
    ASSERT_EQ(runBatch(folder(), quick({"--plan", "small_plan.csv", "--log", "one.csv"})), 0);
    ASSERT_EQ(
        runBatch(folder(), quick({"--plan", "small_plan.csv", "--log", "jobs.csv", "--jobs", "2"})),
        0);
    for (const char* k : {"0/2", "1/2"})
        ASSERT_EQ(runBatch(folder(), quick({"--plan", "small_plan.csv", "--shard", k, "--log",
                                            std::string("s") + k[0] + ".csv"})),
                  0);
    ASSERT_EQ(runBatch(folder(), {"merge", "merged.csv", "s0.csv", "s1.csv"}), 0);
    auto jobs = rowsWithoutDates("jobs.csv");
    auto merged = rowsWithoutDates("merged.csv");
    ASSERT_EQ(jobs.size(), 12u);
    // The same rows as the shards run by hand...
    auto sorted = [](std::vector<std::string> v) {
        std::sort(v.begin(), v.end());
        return v;
    };
    EXPECT_EQ(sorted(jobs), sorted(merged));
    // ...in the order of the plan, combination after combination.
    EXPECT_EQ(reducedInOrder(jobs), reducedInOrder(rowsWithoutDates("one.csv")));
    EXPECT_FALSE(exists("jobs_Quorvane_parts"));
}

TEST_F(BatchRunnerTest, InterruptedJobsResumeEveryCombinationOnce) {
    // Never stop: only the signal ends the first run of each worker.
    pid_t pid = testing::startBatch(folder(), quick({"--plan", "small_plan.csv", "--log", "log.csv",
                                                     "--jobs", "2", "--set", "Is_any_limits=1"}));
    // Each worker writes its shard's plan file just before its first run.
    for (int i = 0; i < 500; ++i) {
        if (exists("small_plan_shard0of2.csv") && exists("small_plan_shard1of2.csv")) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    kill(pid, SIGINT);
    EXPECT_EQ(testing::waitBatch(pid), 130);
    EXPECT_EQ(rowsWithCode("log.csv", 10), 2);  // one interrupted run per worker
    EXPECT_EQ(rowsWithCode("log.csv", 77), 0);
    ASSERT_EQ(runBatch(folder(), quick({"--plan", "small_plan.csv", "--log", "log.csv", "--jobs",
                                        "2", "--resume"})),
              0);
    EXPECT_EQ(rowsWithCode("log.csv", 77), 4);
    EXPECT_EQ(reducedCombinations("log.csv").size(), 4u);
}

}  // namespace
}  // namespace quorvane

namespace quorvane {
namespace {

TEST_F(BatchRunnerTest, ALeanRecordStaysUnderItsCapAndKeepsTheLastStep) {
    auto run = [&](const std::string& name, std::vector<std::string> extra) {
        std::vector<std::string> args = {"--quiet", "--data",   "growing.csv", "--steps",
                                         "1000",    "--record", name};
        args.insert(args.end(), extra.begin(), extra.end());
        ASSERT_EQ(runBatch(folder(), args), 0);
    };
    run("full.csv", {});
    run("capped.csv", {"--record-max-mb", "0.02"});
    run("every.csv", {"--record-every", "7"});
    auto lines = [&](const std::string& name) {
        std::map<std::string, std::string> byStep;  // step -> line
        std::istringstream in(read(name));
        std::string line;
        while (readLine(in, line))
            if (!line.empty() && std::isdigit(static_cast<unsigned char>(line[0])))
                byStep[line.substr(0, line.find(','))] = line;
        return byStep;
    };
    const auto full = lines("full.csv");
    ASSERT_EQ(full.size(), 1000u);
    EXPECT_NE(read("full.csv").find("# record_every = 1\n"), std::string::npos);
    EXPECT_LE(read("capped.csv").size(), 20000u);
    EXPECT_NE(read("capped.csv").find("# record_every = 4\n"), std::string::npos);
    EXPECT_NE(read("every.csv").find("# record_every = 7\n"), std::string::npos);
    for (const char* name : {"capped.csv", "every.csv"}) {
        const auto kept = lines(name);
        EXPECT_EQ(kept.count("1000"), 1u) << name;  // the last step, always
        for (const auto& [step, line] : kept) EXPECT_EQ(line, full.at(step)) << name;
    }
    EXPECT_EQ(lines("every.csv").size(), 1000u / 7 + 1);
    // The run itself kept every step: the log counts them all.
    for (const std::string& row : rowsWithoutDates("_Quorvane_log.csv"))
        EXPECT_EQ(splitFields(row, ",")[26], "\"1000\"");
}

}  // namespace
}  // namespace quorvane

namespace quorvane {
namespace {

TEST_F(BatchRunnerTest, ASlowRunIsExplainedOnceAndAGrowingOneNot) {
    // The built-in data: deep in the nucleation regime, no layer in 1.2 s.
    ASSERT_EQ(runBatch(folder(), {"--set", "Time_simulattion_limit=0.02", "--log", "slow.csv"}), 0);
    std::string err = read("stderr.txt");
    const std::string hint = "The run is growing slowly: no layer has completed";
    ASSERT_NE(err.find(hint), std::string::npos) << err;
    EXPECT_EQ(err.find(hint, err.find(hint) + 1), std::string::npos);  // once
    EXPECT_NE(err.find("two-dimensional nucleation at"), std::string::npos);
    EXPECT_NE(err.find("A larger supercooling"), std::string::npos);
    EXPECT_NE(err.find("% of continuous"), std::string::npos);

    // A limit a loaded machine cannot reach first: the run ends by its layers.
    ASSERT_EQ(runBatch(folder(), {"--data", "growing.csv", "--set", "Time_simulattion_limit=1",
                                  "--log", "fast.csv"}),
              0);
    err = read("stderr.txt");
    EXPECT_EQ(err.find(hint), std::string::npos) << err;
    EXPECT_NE(err.find("logged with event 3"), std::string::npos);
}

}  // namespace
}  // namespace quorvane

namespace quorvane {
namespace {

TEST_F(BatchRunnerTest, AFullRunsSeriesOverWorkersRunsEachFromTheFixedSeeds) {
    auto full = [&](const std::string& log, std::vector<std::string> extra) {
        auto args = quick({"--data", "growing.csv", "--full", "--log", log});
        args.insert(args.end(), extra.begin(), extra.end());
        ASSERT_EQ(runBatch(folder(), args), 0);
    };
    full("jobs.csv", {"--jobs", "2"});  // the list of growing.csv: 0.01, 0.02
    full("first.csv", {"--set", "List_of_values_to_try=0.01"});
    full("second.csv", {"--set", "List_of_values_to_try=0.02"});
    auto jobs = rowsWithoutDates("jobs.csv");
    ASSERT_EQ(jobs.size(), 3u);
    // Worker 1 made the first run and worker 2 the second, each from the fixed
    // seeds: the rows of those probabilities alone, in the series' order.
    EXPECT_EQ(jobs[0], rowsWithoutDates("first.csv").at(0));
    EXPECT_EQ(jobs[1], rowsWithoutDates("second.csv").at(0));
    EXPECT_EQ(jobs[2].rfind("77\",\"0\"", 0), 0u);  // reduced to probability zero
    EXPECT_FALSE(exists("jobs_Quorvane_parts"));
}

}  // namespace
}  // namespace quorvane
