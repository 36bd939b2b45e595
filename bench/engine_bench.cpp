// The engine's speed against the generator's: every step draws one number per
// column, so drawing W*H numbers is the floor a step is measured against.

#include <cstdint>
#include <string>

#include "engine/growth_engine.h"
#include "summary_table.h"

namespace quorvane::bench {

namespace {

struct RateSet {
    const char* name;
    double E0, E8, P;
};

// Near equilibrium with a strong surface energy: few moves per step.
constexpr RateSet kQuiet{"quiet", 0.0884, 11.73, 0.000217};
// Fast exchange: a rough, busy surface.
constexpr RateSet kActive{"active", 1, 3, 0.01};
constexpr int kSides[] = {160, 310};
// Steps before timing, so that the surface has left its flat start.
constexpr int kWarmUpSteps = 300;

std::uint32_t Pint(double P) {
    return static_cast<std::uint32_t>(P * 4294967295.0);
}

void Generator(benchmark::State& state, int side) {
    Taus88 random;
    random.SeedForStart();
    const std::int64_t cells = std::int64_t{side} * side;
    for (auto _ : state) {
        std::uint32_t mix = 0;
        for (std::int64_t k = 0; k < cells; ++k) mix ^= random.NextRandom();
        benchmark::DoNotOptimize(mix);
    }
}

void Step(benchmark::State& state, int side, RateSet rates, bool porous) {
    Taus88 random;
    random.SeedForStart();
    GrowthEngine engine(random);
    if (engine.InitRun(rates.E0, rates.E8, Pint(rates.P), 6, 6, 6, side, side, 0.25, 0.05) !=
        InitStatus::Ok) {
        state.SkipWithError("InitRun refused the benchmark's inputs");
        return;
    }
    for (int s = 0; s < kWarmUpSteps; ++s) porous ? engine.StepPorous() : engine.StepPlain();
    for (auto _ : state) {
        const StepResult result = porous ? engine.StepPorous() : engine.StepPlain();
        benchmark::DoNotOptimize(result);
    }
}

void TableBuild(benchmark::State& state) {
    const RateConstants rates = RateConstants::make(kActive.E0, kActive.E8, Pint(kActive.P));
    for (auto _ : state) {
        ThresholdTable table;
        benchmark::DoNotOptimize(table.Build(rates, 1000));
    }
}

benchmark::internal::Benchmark* Repeat(benchmark::internal::Benchmark* case_) {
    return case_->Repetitions(kRepetitions)->MinTime(kMinSecondsPerRepetition);
}

std::string SizeName(int side) {
    return std::to_string(side) + "x" + std::to_string(side);
}

}  // namespace

void RegisterEngineBenchmarks(SummaryTable& table) {
    for (int side : kSides) {
        const std::string size = SizeName(side);
        const std::string generator = "generator " + size;
        const double cells = static_cast<double>(side) * side;
        Repeat(benchmark::RegisterBenchmark(generator.c_str(), Generator, side));
        table.Add({generator, generator, cells, generator, "generator", LineForm::PerCellAndRatio});
        for (const RateSet& rates : {kQuiet, kActive}) {
            for (bool porous : {false, true}) {
                const std::string label =
                    std::string(porous ? "porous " : "plain ") + size + " " + rates.name;
                Repeat(benchmark::RegisterBenchmark(label.c_str(), Step, side, rates, porous));
                table.Add({label, label, cells, generator, "generator", LineForm::PerCellAndRatio});
            }
        }
    }
    const std::string build = "table build n=1000";
    Repeat(benchmark::RegisterBenchmark(build.c_str(), TableBuild))->Unit(benchmark::kMillisecond);
    table.Add({build, build, 1, "", "", LineForm::Milliseconds});
}

}  // namespace quorvane::bench
