// The growth-regime verdict's cost against the run it judges. It runs once per
// evaluation of a record and reads at most a few thousand entries of it, so its
// share of a run shrinks as the run grows; small fields and short runs are where
// it is dearest.

#include <cmath>

#include "common/cformat.h"
#include "engine/growth_engine.h"
#include "engine/growth_regime.h"
#include "engine/run_evaluation.h"
#include "summary_table.h"

namespace quorvane::bench {
namespace {

constexpr std::size_t kLongRun = 1'000'000;
constexpr std::size_t kShortRun = 10'000;

/// A run's record of `entries` steps: a face growing at half the continuous rate,
/// its roughness wavering a little.
GrowthRecord recordOf(std::size_t entries) {
    GrowthRecord r;
    r.Reset(GrowthRecord::kGrowthIncrement, RecordParameters::make(1e-6, 1, 64, 64, 40.96, 6));
    for (std::size_t i = 0; i < entries; ++i) {
        const double x = static_cast<double>(i);
        r.Append(1e-6, 0.00316 * x, 0.8 + 0.05 * std::sin(x), 0, false);
    }
    return r;
}

const GrowthRecord& record(std::size_t entries) {
    static const GrowthRecord longRecord = recordOf(kLongRun);
    static const GrowthRecord shortRecord = recordOf(kShortRun);
    return entries == kLongRun ? longRecord : shortRecord;
}

EvaluationInputs inputs() {
    EvaluationInputs in;
    in.probIn = 0.01;
    in.generalSupercooling = 1;
    in.criticalRadius = 6;
    in.a = in.b = in.c = 6;
    in.fieldW = 64;
    in.vaContinues = 6323;
    return in;
}

void Regime(benchmark::State& state, std::size_t entries) {
    const GrowthRecord& r = record(entries);
    const EvaluationInputs in = inputs();
    for (auto _ : state) benchmark::DoNotOptimize(assessGrowthRegime(r, in));
}

void Evaluation(benchmark::State& state) {
    const GrowthRecord& r = record(kLongRun);
    const EvaluationInputs in = inputs();
    for (auto _ : state) benchmark::DoNotOptimize(Evaluate(r, in));
}

/// One plain step of a smooth face (sigma' = 6, dG' = 1) on a side x side field.
void Step(benchmark::State& state, int side) {
    Taus88 random;
    random.SeedForStart();
    GrowthEngine engine(random);
    if (engine.InitRun(1, 6, static_cast<std::uint32_t>(0.01 * 4294967295.0), 6, 6, 6, side, side,
                       0, 0) != InitStatus::Ok) {
        state.SkipWithError("InitRun refused the benchmark's inputs");
        return;
    }
    for (int s = 0; s < 300; ++s) engine.StepPlain();
    for (auto _ : state) benchmark::DoNotOptimize(engine.StepPlain());
}

benchmark::internal::Benchmark* Repeat(benchmark::internal::Benchmark* case_) {
    return case_->Repetitions(kRepetitions)->MinTime(kMinSecondsPerRepetition);
}

}  // namespace

void RegisterGrowthRegimeBenchmarks(SummaryTable& table) {
    const std::string longRegime = "growth regime of a 1000000-step record";
    const std::string shortRegime = "growth regime of a 10000-step record";
    const std::string evaluation = "evaluation of a 1000000-step record";
    const std::string step64 = "plain 64x64 step sigma'=6 dG'=1";
    const std::string step16 = "plain 16x16 step sigma'=6 dG'=1";
    Repeat(benchmark::RegisterBenchmark(longRegime.c_str(), Regime, kLongRun));
    Repeat(benchmark::RegisterBenchmark(shortRegime.c_str(), Regime, kShortRun));
    Repeat(benchmark::RegisterBenchmark(evaluation.c_str(), Evaluation));
    Repeat(benchmark::RegisterBenchmark(step64.c_str(), Step, 64));
    Repeat(benchmark::RegisterBenchmark(step16.c_str(), Step, 16));
    // The verdict of a run against the steps that made it.
    const auto runs = {std::make_pair(longRegime, kLongRun),
                       std::make_pair(shortRegime, kShortRun)};
    for (const auto& [regime, steps] : runs) {
        for (const std::string* step : {&step64, &step16}) {
            const std::string field = step == &step64 ? "64x64" : "16x16";
            table.Add({cformat("growth regime of a %zu-step run on %s", steps, field.c_str()),
                       regime, static_cast<double>(steps), *step, "the run",
                       LineForm::PercentOfRun});
        }
    }
    table.Add({"growth regime of a 1000000-step record", longRegime, 1, evaluation,
               "one evaluation of it", LineForm::PercentOfRun});
}

}  // namespace quorvane::bench
