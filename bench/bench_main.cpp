// Runs every registered benchmark and prints the summary, one line per case.
// Google Benchmark's own flags (--benchmark_filter, --benchmark_min_time) apply.

#include <cstdio>

#include "summary_table.h"

int main(int argc, char** argv) {
    quorvane::bench::SummaryTable table;
    quorvane::bench::RegisterEngineBenchmarks(table);
    quorvane::bench::RegisterRunLoopBenchmarks(table);
    quorvane::bench::RegisterGrowthRegimeBenchmarks(table);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks(&table);
    benchmark::Shutdown();
    for (const std::string& line : table.Lines()) std::printf("%s\n", line.c_str());
    return 0;
}
