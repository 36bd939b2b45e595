#pragma once
/// The benchmark program's summary: one line per case, each time read from one
/// Google Benchmark run and, where given, divided by another case measured in the
/// same process (the generator's own speed, a bare step).

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace quorvane::bench {

/// How a summary line reads.
enum class LineForm {
    PerCellAndRatio,  ///< "plain 310x310 active: 3.41 ns/cell, 1.19 x generator"
    RatioOnly,        ///< "plain 160x160 active: 1.87 x generator" (time over time)
    SpeedRatio,       ///< "run loop 160x160 active: 0.97 x bare step" (speed over speed)
    Milliseconds,     ///< "table build n=1000: 38 ms"
    /// "growth regime, 64x64: 0.012 % of the run": the case's time against
    /// `cellsPerIteration` iterations of the baseline (the steps of the run).
    PercentOfRun,
};

struct SummaryLine {
    std::string label;
    std::string benchmark;      ///< the registered name it reads
    double cellsPerIteration;   ///< for ns/cell; baseline iterations for PercentOfRun
    std::string baseline;       ///< registered name of the divisor (ratio forms)
    std::string baselineLabel;  ///< how the divisor is named in the line
    LineForm form;
};

/// Collects the lines while benchmarks are registered and the measured times while
/// they run (the fastest of a case's repetitions), then prints the summary.
class SummaryTable : public benchmark::BenchmarkReporter {
  public:
    void Add(SummaryLine line) { lines_.push_back(std::move(line)); }

    bool ReportContext(const Context&) override { return true; }
    void ReportRuns(const std::vector<Run>& runs) override;

    /// One line per registered case, in registration order; cases that did not run
    /// (filtered out) are left out.
    std::vector<std::string> Lines() const;

  private:
    std::vector<SummaryLine> lines_;
    std::map<std::string, double> secondsPerIteration_;
};

/// Every case runs this often; the summary keeps the fastest repetition, as a busy
/// machine can only slow a run down.
inline constexpr int kRepetitions = 7;
inline constexpr double kMinSecondsPerRepetition = 0.2;

/// The engine's cases: generator floor, plain and porous steps, table build.
void RegisterEngineBenchmarks(SummaryTable& table);
/// The run loop against the bare step it drives.
void RegisterRunLoopBenchmarks(SummaryTable& table);
/// The growth-regime classifier against the evaluation it belongs to and one step.
void RegisterGrowthRegimeBenchmarks(SummaryTable& table);

}  // namespace quorvane::bench
