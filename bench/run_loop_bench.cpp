// The run loop's cost over the bare step: the loop appends the record every
// step, checks the limits every 100 steps and pumps an empty message queue.

#include <chrono>
#include <ctime>

#include "common/platform.h"
#include "experiments/run_controller.h"
#include "summary_table.h"

namespace quorvane::bench {
namespace {

/// No windows, no messages, a real clock.
class QuietPlatform : public Platform {
  public:
    void message(const std::string&) override {}
    bool askYesNo(const std::string&) override { return false; }
    bool askRetryCancel(const std::string&) override { return false; }
    std::optional<std::string> chooseFile(const FileQuestion&) override { return std::nullopt; }
    void openInDefaultProgram(const std::string&) override {}
    bool messagePending() override { return false; }
    bool pendingMessageIsClose() override { return false; }
    void dispatchMessage() override {}
    std::int64_t nowSeconds() override { return std::time(nullptr); }
    std::tm localTimeNow() override { return {}; }
    void sleepMilliseconds(int) override {}
};

constexpr int kSide = 160;
constexpr int kWarmUpSteps = 300;
constexpr int kTimedSteps = 1000;

/// The "active" rates of the step benchmarks on a 160 x 160 field, from the start seeds.
void prepareActiveRun(AppState& app) {
    app.random.SeedForStart();
    app.data.General_Suupercooling = 1;
    app.data.General_Surface_Energy = 3;
    app.data.edgesRatio = 0.25;
    app.data.verticesRatio = 0.05;
    app.run.N_field_W = kSide;
    app.run.N_field_H = kSide;
    app.run.Prob_in_at_step = 0.01;
    app.run.N_in_per_step = 0.01 * kSide * kSide;
    app.run.Time_step = 1e-9;
}

void RunLoop(benchmark::State& state) {
    QuietPlatform platform;
    AppState app;
    prepareActiveRun(app);
    app.run.Is_any_limits = 0;
    app.run.Is_layers_limit = 1;
    app.run.Layers_limit = 1e9;  // checked every 100 steps, never reached
    RunController loop(app, platform);
    int stopAt = 0;
    loop.hooks.stepDone = [&](int step) {
        if (step >= stopAt) app.runState.runFlag = false;
    };
    for (auto _ : state) {
        if (!loop.PrepareNewRun()) {
            state.SkipWithError("the run was refused");
            return;
        }
        stopAt = kWarmUpSteps;
        loop.ContinueLoop();
        stopAt = kWarmUpSteps + kTimedSteps;
        auto start = std::chrono::steady_clock::now();
        loop.ContinueLoop();
        std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(seconds.count() / kTimedSteps);  // per step
    }
}

/// A whole run of 20000 steps from its preparation, as the batch runner's
/// `--steps 20000` does it: the time to compare that command's with.
void WholeRun(benchmark::State& state) {
    QuietPlatform platform;
    AppState app;
    for (auto _ : state) {
        app.random = Taus88{};
        prepareActiveRun(app);
        app.run.Is_any_limits = 1;
        RunController loop(app, platform);
        int stopAt = 20000;
        loop.hooks.stepDone = [&](int step) {
            if (step >= stopAt) app.runState.runFlag = false;
        };
        auto start = std::chrono::steady_clock::now();
        if (!loop.PrepareNewRun()) {
            state.SkipWithError("the run was refused");
            return;
        }
        loop.ContinueLoop();
        std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(seconds.count());
    }
}

}  // namespace

void RegisterRunLoopBenchmarks(SummaryTable& table) {
    const char* label = "run loop 160x160 active";
    benchmark::RegisterBenchmark(label, RunLoop)
        ->UseManualTime()
        ->Iterations(3)
        ->Repetitions(kRepetitions);
    table.Add({label, label, 1, "plain 160x160 active", "bare step", LineForm::SpeedRatio});
    const char* whole = "whole run 160x160 active 20000 steps";
    benchmark::RegisterBenchmark(whole, WholeRun)
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(3)
        ->Unit(benchmark::kMillisecond);
    table.Add({whole, whole, 1, "", "", LineForm::Milliseconds});
}

}  // namespace quorvane::bench
