// Studies under kills, signals, full disks and hostile plans: every
// combination's result reaches the log exactly once, and every failure says so.

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/statvfs.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "batch_fixture.h"
#include "common/cformat.h"

namespace quorvane {
namespace {

using testing::startBatch;
using testing::waitBatch;
constexpr auto npos = std::string::npos;

/// Every line ends with a line feed, the header comes once and every row has its 41 cells.
void expectWholeRows(const std::string& log) {
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), '\n');
    std::istringstream in(log);
    std::string line;
    for (int n = 0; readLine(in, line); ++n) {
        if (n >= 2) {
            EXPECT_EQ(splitFields(line, ",").size(), 41u) << line;
        }
        if (n >= 1) {
            EXPECT_NE(line.rfind("\"Date\"", 0), 0u) << "a second header";
        }
    }
}

/// The number in "(N rows logged before)" of a message.
int rowsSaidLogged(const std::string& err) {
    const std::size_t end = err.find(" logged before)");
    const std::size_t open = err.rfind('(', end);
    return end == npos || open == npos ? -1 : std::atoi(err.c_str() + open + 1);
}

class StudyTest : public BatchRunnerTest {
  protected:
    std::vector<std::string> study(std::vector<std::string> extra = {}) const {
        auto args = quick({"--plan", "small_plan.csv", "--log", "log.csv", "--jobs", "2"});
        args.insert(args.end(), extra.begin(), extra.end());
        return args;
    }
    /// Each of the plan's four combinations reduced exactly once.
    void expectEveryCombinationOnce(const std::string& log) {
        EXPECT_EQ(rowsWithCode(log, 77), 4) << read(log);
        EXPECT_EQ(reducedCombinations(log).size(), 4u);
        expectWholeRows(read(log));
    }
};

TEST_F(StudyTest, AFullRunsWorkerFailuresReachTheExitStatus) {
    const auto full = [&](std::vector<std::string> extra, long limit = -1) {
        auto args = quick({"--data", "growing.csv", "--full", "--jobs", "2"});
        args.insert(args.end(), extra.begin(), extra.end());
        return runBatch(folder(), args, limit);
    };
    EXPECT_EQ(full({"--set", "Size_A=1e300", "--log", "refused.csv"}), 2);
    EXPECT_FALSE(exists("refused.csv"));
    EXPECT_EQ(full({"--log", "full.csv"}, 300), 1);  // no row fits: a full disk
    EXPECT_FALSE(exists("full.csv"));
    EXPECT_EQ(full({"--log", "/proc/quorvane-log.csv"}), 1);  // a folder nobody can write
    // A user's file named like the workers' folder is refused and kept.
    std::ofstream(temp_.file("mine_Quorvane_parts")) << "my notes\n";
    EXPECT_EQ(full({"--log", "mine.csv"}), 2);
    EXPECT_EQ(read("mine_Quorvane_parts"), "my notes\n");
    EXPECT_NE(read("stderr.txt").find("a file of that name is there"), npos);
    ASSERT_EQ(full({"--log", "good.csv"}), 0);
    EXPECT_EQ(rowsWithCode("good.csv", 77), 1);
    EXPECT_FALSE(exists("good_Quorvane_parts"));
}

TEST_F(StudyTest, AFinishedShareIsNotRunAgainAndOtherCountsAreRefused) {
    ASSERT_EQ(runBatch(folder(), quick({"--plan", "small_plan.csv", "--shard", "0/2", "--log",
                                        "by_hand.csv"})),
              0);
    EXPECT_EQ(read("small_plan_shard0of2.csv")
                  .rfind("The_file_of_experiment_tasks_for_Quorvane finished\n", 0),
              0u);
    ASSERT_EQ(runBatch(folder(), study({"--resume"})), 0);
    EXPECT_EQ(rowsWithCode("log.csv", 77), 2);  // shard 1's share only
    auto all = reducedCombinations("log.csv");
    for (const auto& c : reducedCombinations("by_hand.csv")) EXPECT_TRUE(all.insert(c).second);
    EXPECT_EQ(all.size(), 4u);
    // Three workers, or one process, would run again what ran: refused, with what to run.
    for (auto other : {quick({"--plan", "small_plan.csv", "--log", "log.csv", "--jobs", "3"}),
                       quick({"--plan", "small_plan.csv", "--log", "log.csv", "--resume"})}) {
        EXPECT_EQ(runBatch(folder(), other), 2);
        EXPECT_NE(read("stderr.txt").find("continue it with --jobs 2"), npos);
    }
    ASSERT_EQ(runBatch(folder(), study()), 0);
    EXPECT_NE(read("stderr.txt").find("every combination of the plan small_plan.csv has run"),
              npos);
    EXPECT_EQ(rowsWithCode("log.csv", 77), 2);
}

TEST_F(StudyTest, KillsAndSignalsAnywhereNeverLoseOrDoubleACombination) {
    // Ctrl-C once the first worker has moved past its first combination...
    const std::string first = "4, 1600, 1650, 1600, 1\n1, 2.5, 3, 2.5, 1\n";
    pid_t pid = startBatch(folder(), study());
    for (int wait = 0; wait < 3000; ++wait) {
        const std::string shard = read("small_plan_shard0of2.csv");
        if (!shard.empty() && shard.find(first) == npos) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill(pid, SIGINT);
    EXPECT_EQ(waitBatch(pid), 130);
    // ...then kills at growing moments, each time the same command again.
    for (int round = 1; round <= 8; ++round) {
        pid = startBatch(folder(), study());
        std::this_thread::sleep_for(std::chrono::milliseconds(150 * round));
        kill(pid, SIGKILL);
        waitBatch(pid);
    }
    ASSERT_EQ(runBatch(folder(), study()), 0) << read("stderr.txt");
    expectEveryCombinationOnce("log.csv");
    std::string left;
    if (exists("log_Quorvane_parts"))
        for (const auto& entry : fs::directory_iterator(dir_ / "log_Quorvane_parts"))
            left += entry.path().filename().string() + " ";
    EXPECT_FALSE(exists("log_Quorvane_parts")) << left;
}

TEST_F(StudyTest, AJoinCutShortIsFinishedOnceAndNeverRepeated) {
    // Room for every worker's part, not for the rows of all four combinations.
    EXPECT_EQ(runBatch(folder(), study(), 4000), 1);
    EXPECT_NE(read("stderr.txt").find("run the same command again to add them"), npos);
    ASSERT_EQ(runBatch(folder(), study()), 0);  // the program's own advice
    expectEveryCombinationOnce("log.csv");
    // A join killed after adding the last combination's rows, before removing
    // its part; then one killed before adding them.
    const std::string log = read("log.csv");
    std::size_t offset = log.size();
    for (int row = 0; row < 4; ++row) offset = log.rfind('\n', offset - 2) + 1;
    const std::string rows = log.substr(offset);
    for (const std::string& cut : {log, log.substr(0, offset)}) {
        fs::create_directories(dir_ / "log_Quorvane_parts");
        std::ofstream(temp_.file("log.csv"), std::ios::trunc) << cut;
        std::ofstream(temp_.file("log_Quorvane_parts/00000003.csv")) << rows;
        std::ofstream(temp_.file("log_Quorvane_parts/joining.txt"))
            << cformat("%zu 1\n3\n", offset) << rows;
        ASSERT_EQ(runBatch(folder(), study()), 0) << read("stderr.txt");
        EXPECT_EQ(read("log.csv"), log);
        EXPECT_FALSE(exists("log_Quorvane_parts"));
    }
    // A record that is not whole rows is never taken into the log.
    fs::create_directories(dir_ / "log_Quorvane_parts");
    std::ofstream(temp_.file("log_Quorvane_parts/joining.txt")) << "0 1\n3\n<script>\n";
    EXPECT_EQ(runBatch(folder(), study()), 1);
    EXPECT_NE(read("stderr.txt").find("is damaged"), npos);
    EXPECT_EQ(read("log.csv"), log);
}

TEST_F(StudyTest, HugeStudiesAreCountedAtOnceAndHeedASignal) {
    // 10^12 combinations; runs that never end until the signal.
    std::ofstream(temp_.file("huge.csv"))
        << "The_file_of_experiment_tasks_for_Quorvane\ngrowing.csv\nhuge_results.csv\n"
           "0, 1, 15, 1, 9999\n1, 2.5, 3, 2.5, 9999\n9, 0, 10, 0, 9999\n";
    struct Huge {
        std::vector<std::string> args;
        std::string log, startedOnce;  ///< a file there once the runs begin, or ""
    };
    for (Huge huge : {Huge{quick({"--plan", "huge.csv", "--log", "plan_log.csv"}), "plan_log.csv",
                           "huge_shard1of2.csv"},
                      Huge{quick({"--general", "1000000000000", "--general-seed", "1", "--log",
                                  "general_log.csv"}),
                           "general_log.csv", ""}}) {
        for (const char* arg : {"--set", "Is_any_limits=1", "--jobs", "2"})
            huge.args.push_back(arg);
        pid_t pid = startBatch(folder(), huge.args);
        for (int wait = 0; wait < 3000 && !huge.startedOnce.empty() && !exists(huge.startedOnce);
             ++wait)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        kill(pid, SIGINT);
        EXPECT_EQ(testing::waitBatchAtMost(pid, 60), 130) << huge.log;
        EXPECT_EQ(rowsWithCode(huge.log, 10), static_cast<int>(rowsWithoutDates(huge.log).size()));
    }
    // More combinations than a long long holds cannot be shared out by number.
    std::ofstream(temp_.file("vast.csv"))
        << read("huge.csv") << "4, 1000, 1600, 1000, 9999\n5, 0.1, 0.5, 0.1, 9999\n";
    const pid_t vast = startBatch(folder(), quick({"--plan", "vast.csv", "--jobs", "2"}));
    EXPECT_EQ(testing::waitBatchAtMost(vast, 60), 2);
    EXPECT_NE(read("stderr.txt").find("more combinations than can be numbered"), npos);
}

TEST_F(StudyTest, ARecordCapBeyondAnyDiskIsRefused) {
    auto record = [&](const char* mb) {
        return runBatch(folder(), {"--quiet", "--data", "growing.csv", "--steps", "300", "--record",
                                   "r.csv", "--record-max-mb", mb});
    };
    EXPECT_EQ(record("1.85e13"), 2);
    EXPECT_NE(read("stderr.txt").find("from 0.01 to 1000000"), npos);
    EXPECT_FALSE(exists("r.csv"));
    ASSERT_EQ(record("1000000"), 0);
    const std::string kept = read("r.csv");
    EXPECT_NE(kept.find("# record_every = 1\n"), npos);
    for (const char* step : {"\n1,", "\n150,", "\n300,"}) EXPECT_NE(kept.find(step), npos);
}

TEST_F(StudyTest, NamesMadeFromAFileCutOnlyItsOwnExtension) {
    fs::create_directories(dir_ / "runs.csv.d");
    std::ofstream(temp_.file("runs.csv.d/pA.csv")) << read("small_plan.csv");
    std::ofstream(temp_.file("runs.csv.d/pB.csv"))
        << "The_file_of_experiment_tasks_for_Quorvane\ngrowing.csv\nb_results.csv\n"
           "4, 1500, 1550, 1500, 1\n1, 2.5, 3, 2.5, 1\n";
    for (const char* name : {"A", "B"}) {
        const std::string plan = std::string("runs.csv.d/p") + name + ".csv";
        const std::string log = std::string("runs.csv.d/") + name + ".csv";
        const auto args = quick({"--plan", plan, "--log", log, "--jobs", "2", "--summary"});
        ASSERT_EQ(runBatch(folder(), args), 0) << read("stderr.txt");
        auto resume = args;
        resume.push_back("--resume");  // once more: nothing of another plan is taken for it
        ASSERT_EQ(runBatch(folder(), resume), 0) << read("stderr.txt");
        EXPECT_EQ(rowsWithCode(log, 77), 4) << name;
        EXPECT_TRUE(exists(std::string("runs.csv.d/p") + name + "_shard1of2.csv"));
        EXPECT_TRUE(exists(std::string("runs.csv.d/") + name + "_Quorvane_summary_np.csv"));
    }
    EXPECT_NE(reducedCombinations("runs.csv.d/A.csv"), reducedCombinations("runs.csv.d/B.csv"));
    EXPECT_FALSE(exists("runs_shard0of2.csv"));
    EXPECT_FALSE(exists("runs_Quorvane_summary_np.csv"));
}

TEST_F(StudyTest, ProcessesSharingANewLogWriteOneHeader) {
    for (int round = 0; round < 4; ++round) {
        const std::string log = cformat("shared%d.csv", round);
        std::vector<pid_t> pids;
        for (int p = 0; p < 4; ++p)
            pids.push_back(startBatch(folder(), quick({"--steps", "3", "--log", log}),
                                      cformat("err%d.txt", p)));
        for (pid_t pid : pids) EXPECT_EQ(waitBatch(pid), 0);
        expectWholeRows(read(log));
        EXPECT_EQ(rowsWithoutDates(log).size(), 4u);
    }
}

TEST_F(StudyTest, ALostRowIsNeverCalledLoggedNorATemplateOfGigabytesRead) {
    fs::create_symlink("/dev/full", dir_ / "full.csv");
    EXPECT_EQ(runBatch(folder(), {"--steps", "20", "--log", "full.csv"}), 1);
    EXPECT_NE(read("stderr.txt").find("ended with event 5, its row NOT written"), npos);
    EXPECT_EQ(read("stderr.txt").find("logged with event"), npos);
    std::ofstream(temp_.file("big.html")).close();
    fs::resize_file(dir_ / "big.html", 3ull << 30);  // sparse: no disk taken
    EXPECT_EQ(runBatch(folder(), {"--no-run", "--full-report", "f.html", "--template", "big.html"}),
              2);
    EXPECT_FALSE(exists("f.html"));
}

/// A file system of its own whose free room the test sets, so that the disk fills
/// where it should; skipped where the tests may not mount one.
class FullDiskTest : public StudyTest {
  protected:
    void SetUp() override {
        StudyTest::SetUp();
        fs::create_directories(disk_);
        if (::mount("tmpfs", disk_.c_str(), "tmpfs", 0, "size=64k") != 0)
            GTEST_SKIP() << "no tmpfs can be mounted here";
        mounted_ = true;
    }
    void TearDown() override {
        if (mounted_) ::umount2(disk_.c_str(), MNT_DETACH);
    }
    /// Takes all the free room but `pages` pages.
    void leaveFree(int pages) {
        struct statvfs info {};
        ASSERT_EQ(::statvfs(disk_.c_str(), &info), 0);
        const long long room = static_cast<long long>(info.f_bavail) - pages;
        ASSERT_GE(room, 0);
        std::ofstream(disk_ + "/filler")
            << std::string(static_cast<std::size_t>(room) * info.f_bsize, 'x');
    }
    std::string disk_ = temp_.file("disk");
    bool mounted_ = false;
};

TEST_F(FullDiskTest, AFullDiskNeverLeavesThePlanOnACombinationThatRan) {
    const auto plan = quick({"--plan", "disk/plan.csv", "--log", "disk/log.csv"});
    for (int free = 1; free <= 3; ++free) {
        for (int before = 0; before <= 3; ++before) {
            for (const auto& entry : fs::directory_iterator(disk_)) fs::remove_all(entry.path());
            fs::copy_file(dir_ / "small_plan.csv", disk_ + "/plan.csv");
            for (int row = 0; row < before; ++row)  // moves the page boundaries of the log
                ASSERT_EQ(runBatch(folder(), quick({"--steps", "3", "--log", "disk/log.csv"})), 0);
            leaveFree(free);
            const int status = runBatch(folder(), plan);
            const std::string err = read("stderr.txt");
            const int rows = static_cast<int>(rowsWithoutDates("disk/log.csv").size()) - before;
            fs::remove(disk_ + "/filler");
            if (status == 0) continue;  // it all fitted
            ASSERT_EQ(status, 1) << err;
            EXPECT_EQ(rowsSaidLogged(err), rows) << err;
            ASSERT_EQ(runBatch(folder(), plan), 0) << read("stderr.txt");
            EXPECT_EQ(rowsWithCode("disk/log.csv", 77), 4) << free << " " << before;
            EXPECT_EQ(reducedCombinations("disk/log.csv").size(), 4u);
        }
    }
}

}  // namespace
}  // namespace quorvane
