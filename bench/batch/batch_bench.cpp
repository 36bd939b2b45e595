// The batch runner's study-level speed: a 16-combination plan of full runs
// with one worker and with two, and the growth record file full or lean. Each
// figure is a ratio against a case measured in the same process.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "batch/batch_app.h"
#include "batch/console_platform.h"
#include "batch/growth_record_csv.h"
#include "experiments/session.h"

namespace quorvane::bench {
namespace {

namespace fs = std::filesystem;

/// A folder with the example data and a plan of 4 x 4 combinations, each a full
/// run of two probabilities on a 200 x 200 field to 20 layers (about a second).
class StudyFolder {
  public:
    StudyFolder() {
        folder_ = fs::temp_directory_path() / ("quorvane-batch-bench-" + std::to_string(getpid()));
        fs::create_directories(folder_);
        fs::copy_file(fs::path(QUORVANE_SOURCE_DIR) / "examples" / "growing.csv",
                      folder_ / "growing.csv", fs::copy_options::overwrite_existing);
        std::ofstream(plan()) << "The_file_of_experiment_tasks_for_Quorvane\n"
                              << path("growing.csv") << "\n"
                              << path("results.csv") << "\n"
                              << "0, 1.5, 3, 1.5, 3\n1, 2.5, 4, 2.5, 3\n";
    }
    ~StudyFolder() {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    std::string path(const std::string& name) const { return (folder_ / name).string(); }
    std::string plan() const { return path("plan.csv"); }

  private:
    fs::path folder_;
};

StudyFolder& folder() {
    static StudyFolder study;
    return study;
}

int runQuietly(batch::BatchOptions o) {
    o.quiet = true;
    batch::ConsolePlatform platform;
    return batch::runBatch(o, platform);
}

void Plan16(benchmark::State& state) {
    batch::BatchOptions o;
    o.mode = batch::RunMode::Plan;
    o.planFile = folder().plan();
    o.jobs = state.range(0);
    o.sets = {{"N_field_W", "200"}, {"N_field_H", "200"}, {"Layers_limit", "20"}};
    for (auto _ : state) {
        o.logFile = folder().path("log" + std::to_string(o.jobs) + ".csv");
        if (runQuietly(o) != batch::kExitDone) state.SkipWithError("the plan failed");
    }
}
/// The two shards a --jobs 2 run is made of, one after the other on this
/// thread: on an idle 2-core machine the larger one's CPU time is the wall time
/// of --jobs 2 (the machine this was written on was shared, so its wall times
/// say more about the neighbours than about the program).
void Plan16Shard(benchmark::State& state) {
    batch::BatchOptions o;
    o.mode = batch::RunMode::Plan;
    o.planFile = folder().plan();
    o.sets = {{"N_field_W", "200"}, {"N_field_H", "200"}, {"Layers_limit", "20"}};
    o.sharded = true;
    o.shardIndex = state.range(0);
    o.shardCount = 2;
    for (auto _ : state) {
        o.logFile = folder().path("shard" + std::to_string(o.shardIndex) + ".csv");
        if (runQuietly(o) != batch::kExitDone) state.SkipWithError("the shard failed");
    }
}
BENCHMARK(Plan16Shard)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kSecond);

BENCHMARK(Plan16)->Arg(1)->Arg(2)->Iterations(1)->UseRealTime()->MeasureProcessCPUTime()->Unit(
    benchmark::kSecond);

/// The state after one single run of 20000 steps of the example data.
AppState& ranState() {
    static AppState state;
    static bool ran = false;
    if (!ran) {
        batch::ConsolePlatform platform;
        state.random.SeedForStart();
        Session session(state, platform);
        session.readDataFile(folder().path("growing.csv"));
        state.run.Is_any_limits = 1;
        state.paths.logPath = folder().path("single.csv");
        session.loop.setStepLimit(20000);
        session.loop.StartNewSingleSimulation();
        ran = true;
    }
    return state;
}

/// The run itself, for scale: 20000 steps of the example data.
void SingleRun(benchmark::State& state) {
    for (auto _ : state) {
        AppState app;
        batch::ConsolePlatform platform;
        app.random.SeedForStart();
        Session session(app, platform);
        session.readDataFile(folder().path("growing.csv"));
        app.run.Is_any_limits = 1;
        app.paths.logPath = folder().path("single.csv");
        session.loop.setStepLimit(20000);
        session.loop.StartNewSingleSimulation();
    }
}
BENCHMARK(SingleRun)->Iterations(5)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

/// The record file's text: every step with no cap (the plain formatter), the
/// default (a 200 MB cap that this run never reaches), every 10th step, and a
/// 1 MB cap that thins the 20000 steps twice.
void RecordText(benchmark::State& state) {
    const AppState& app = ranState();
    const batch::RecordFileLimits limits[] = {{1, 1e18}, {}, {10, 200e6}, {1, 1e6}};
    for (auto _ : state)
        benchmark::DoNotOptimize(batch::formatGrowthRecordCsv(app, limits[state.range(0)]));
}
BENCHMARK(RecordText)->DenseRange(0, 3)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

/// Collects the real times, then prints the ratios the targets are stated in.
class Ratios : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            seconds_[run.benchmark_name()] = run.GetAdjustedRealTime();
            seconds_[run.benchmark_name() + "#cpu"] = run.GetAdjustedCPUTime();
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        auto ratio = [&](const char* label, const char* a, const char* b) {
            if (seconds_.count(a) && seconds_.count(b) && seconds_[b] > 0)
                std::printf("%s: %.3f\n", label, seconds_[a] / seconds_[b]);
        };
        ratio("plan of 16 full runs, --jobs 2 / --jobs 1 (wall time)",
              "Plan16/2/iterations:1/process_time/real_time",
              "Plan16/1/iterations:1/process_time/real_time");
        const std::string one = "Plan16/1/iterations:1/process_time/real_time#cpu";
        const std::string a = "Plan16Shard/0/iterations:1/process_time#cpu";
        const std::string b = "Plan16Shard/1/iterations:1/process_time#cpu";
        if (seconds_.count(one) && seconds_.count(a) && seconds_.count(b))
            std::printf(
                "plan of 16 full runs, --jobs 2 / --jobs 1 on an idle 2-core machine "
                "(larger shard's CPU time / whole plan's): %.3f\n",
                std::max(seconds_[a], seconds_[b]) / seconds_[one]);
        // Both cases must do the same work: the CPU time of all threads tells.
        ratio("  the same, CPU time of all workers",
              "Plan16/2/iterations:1/process_time/real_time#cpu",
              "Plan16/1/iterations:1/process_time/real_time#cpu");
        // The record file is written after the run: its cost against the run's.
        const double run = seconds_["SingleRun/iterations:5/process_time#cpu"];
        auto withRun = [&](const char* label, const char* a) {
            const char* plain = "RecordText/0/process_time#cpu";
            if (run > 0 && seconds_.count(a) && seconds_.count(plain))
                std::printf("%s: %.4f\n", label, (run + seconds_[a]) / (run + seconds_[plain]));
        };
        ratio("record text, default cap / plain formatter", "RecordText/1/process_time#cpu",
              "RecordText/0/process_time#cpu");
        withRun("run + default record / run + plain record", "RecordText/1/process_time#cpu");
        withRun("run + --record-every 10 / run + plain record", "RecordText/2/process_time#cpu");
        withRun("run + --record-max-mb 1 / run + plain record", "RecordText/3/process_time#cpu");
        ratio("plain record text / run", "RecordText/0/process_time#cpu",
              "SingleRun/iterations:5/process_time#cpu");
    }

  private:
    std::map<std::string, double> seconds_;
};

}  // namespace
}  // namespace quorvane::bench

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    quorvane::bench::Ratios reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    return 0;
}
