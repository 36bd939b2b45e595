// The growth-regime classifier's cost: it runs once per evaluation of a record,
// never per step, and reads two entries of the record. Its time is set against
// the evaluation it is part of and against one Monte Carlo step.

#include <cmath>

#include "engine/growth_engine.h"
#include "engine/growth_regime.h"
#include "engine/run_evaluation.h"
#include "summary_table.h"

namespace quorvane::bench {
namespace {

constexpr int kSide = 64;
constexpr std::size_t kEntries = 1'000'000;

/// A long run's record: a million entries of a face growing at half the
/// continuous rate, with a little noise in the roughness.
const GrowthRecord& longRecord() {
    static const GrowthRecord record = [] {
        GrowthRecord r;
        r.Reset(GrowthRecord::kGrowthIncrement,
                RecordParameters::make(1e-6, 1, kSide, kSide, 40.96, 6));
        for (std::size_t i = 0; i < kEntries; ++i) {
            const double x = static_cast<double>(i);
            r.Append(1e-6, 0.00316 * x, 0.8 + 0.05 * std::sin(x), 0, false);
        }
        return r;
    }();
    return record;
}

EvaluationInputs inputs() {
    EvaluationInputs in;
    in.probIn = 0.01;
    in.generalSupercooling = 1;
    in.criticalRadius = 6;
    in.a = in.b = in.c = 6;
    in.fieldW = kSide;
    in.vaContinues = 6323;
    return in;
}

void Regime(benchmark::State& state) {
    const GrowthRecord& record = longRecord();
    const EvaluationInputs in = inputs();
    for (auto _ : state) benchmark::DoNotOptimize(assessGrowthRegime(record, in));
}

void Evaluation(benchmark::State& state) {
    const GrowthRecord& record = longRecord();
    const EvaluationInputs in = inputs();
    for (auto _ : state) benchmark::DoNotOptimize(Evaluate(record, in));
}

void Step(benchmark::State& state) {
    Taus88 random;
    random.SeedForStart();
    GrowthEngine engine(random);
    if (engine.InitRun(1, 6, static_cast<std::uint32_t>(0.01 * 4294967295.0), 6, 6, 6, kSide, kSide,
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
    const std::string regime = "growth regime of a 1000000-step record";
    const std::string evaluation = "evaluation of a 1000000-step record";
    const std::string step = "plain 64x64 step sigma'=6 dG'=1";
    Repeat(benchmark::RegisterBenchmark(regime.c_str(), Regime));
    Repeat(benchmark::RegisterBenchmark(evaluation.c_str(), Evaluation));
    Repeat(benchmark::RegisterBenchmark(step.c_str(), Step));
    // The classifier is far too quick for a ratio of it over anything else to show
    // digits, so the lines say how many times dearer the others are.
    table.Add({"one evaluation of a 1000000-step record", evaluation, 1, regime,
               "its growth regime", LineForm::RatioOnly});
    table.Add({"one plain 64x64 step", step, 1, regime, "the growth regime of a record",
               LineForm::RatioOnly});
}

}  // namespace quorvane::bench
