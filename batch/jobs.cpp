#include "batch/jobs.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "batch/batch_app.h"
#include "batch/console_platform.h"
#include "common/cformat.h"
#include "common/file_io.h"
#include "common/text.h"
#include "experiments/regime_table.h"
#include "experiments/run_log.h"
#include "experiments/summary_report.h"

namespace quorvane::batch {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

/// What the workers share: how far the study is, counted across all of them.
struct Study {
    std::atomic<long long> total{0};  ///< combinations (draws) the workers will run
    std::atomic<long long> done{0};
    std::atomic<int> running{0};
    /// Set when a worker could not keep a result: the others stop too.
    std::atomic<bool> halt{false};
};

/// Positions p in [from, to) with p % n == k.
long long countShare(long long from, long long to, long long k, long long n) {
    long long count = 0;
    for (long long p = from; p < to; ++p)
        if (p % n == k) ++count;
    return count;
}

std::string clockText(double seconds) {
    const long long s = static_cast<long long>(seconds + 0.5);
    return s >= 3600 ? cformat("%lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60)
                     : cformat("%lld:%02lld", s / 60, s % 60);
}

std::string studyLine(const Study& study, long long workers, Clock::time_point begin) {
    const long long done = study.done, total = study.total;
    const double elapsed = std::chrono::duration<double>(Clock::now() - begin).count();
    std::string line =
        cformat("study: %lld of %lld done, %d of %lld workers running, %s elapsed", done, total,
                study.running.load(), workers, clockText(elapsed).c_str());
    if (done > 0 && done < total)
        line += ", about " + clockText(elapsed / done * (total - done)) + " left";
    return line;
}

/// Prints the study's progress until every worker has ended: refreshed in place
/// on a terminal, a line per finished combination otherwise.
void watch(const Study& study, long long workers, Clock::time_point begin) {
    const bool terminal = isatty(fileno(stderr)) != 0;
    long long shown = -1;
    while (study.running > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        if (terminal) {
            std::fprintf(stderr, "\r%s\033[K", studyLine(study, workers, begin).c_str());
        } else if (study.done != shown) {
            shown = study.done;
            std::fprintf(stderr, "%s\n", studyLine(study, workers, begin).c_str());
        }
    }
    if (terminal) std::fprintf(stderr, "\r%s\033[K\n", studyLine(study, workers, begin).c_str());
}

/// The worst of the workers' statuses: a signal, then a lost file, then refused work.
int combined(const std::vector<int>& statuses) {
    int result = kExitDone;
    for (int s : statuses) {
        auto rank = [](int v) { return v > 2 ? 3 : v == kExitLogFailed ? 2 : v == 0 ? 0 : 1; };
        if (rank(s) > rank(result)) result = s;
    }
    return result;
}

}  // namespace

long long workerCount(const BatchOptions& o) {
    if (o.jobs > 0) return o.jobs;
    const unsigned cores = std::thread::hardware_concurrency();
    return cores > 0 ? cores : 1;
}

std::string partsFolder(const std::string& logPath) {
    return prefixBefore(logPath, ".csv") + "_Quorvane_parts";
}

std::string joinParts(const std::string& logPath, Platform& platform) {
    const std::string folder = partsFolder(logPath);
    if (!isDirectory(folder)) return {};
    std::map<long long, fs::path> parts;  // in order of position
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        const std::string stem = entry.path().stem().string();
        if (entry.path().extension() != ".csv" || stem.empty() || stem.size() > 18 ||
            stem.find_first_not_of("0123456789") != std::string::npos)
            continue;
        parts[std::stoll(stem)] = entry.path();
    }
    const std::string header = runLogHeader();
    std::string rows;
    for (const auto& [position, path] : parts) {
        auto text = readWholeFile(path.string());
        if (!text) return "cannot read " + path.string();
        if (text->compare(0, header.size(), header) == 0) text->erase(0, header.size());
        if (!text->empty() && text->back() != '\n') *text += '\n';
        rows += *text;
    }
    if (!rows.empty() && !appendRunLogRows(logPath, rows, platform))
        return "the rows could not be added to the log " + logPath + "; they wait in " + folder +
               " and are added by the next run of this study";
    std::vector<std::string> partLogs;
    for (const auto& [position, path] : parts) partLogs.push_back(path.string());
    // The rows are safe in the log; a table of regimes that cannot follow is said, not fatal.
    if (std::string lost = joinRegimeTables(logPath, partLogs); !lost.empty())
        platform.message(lost);
    for (const auto& [position, path] : parts) fs::remove(path, error);
    fs::remove(folder, error);  // only when empty: nothing else is ever removed
    return {};
}

std::function<std::vector<SeriesRun>(const std::vector<double>&, bool)> seriesOnWorkers(
    const BatchOptions& options, const std::string& logPath) {
    return [options, logPath](const std::vector<double>& values, bool porous) {
        const std::size_t n = values.size();
        const std::size_t workers =
            std::min<std::size_t>(static_cast<std::size_t>(workerCount(options)), n);
        std::vector<SeriesRun> runs(n);
        std::vector<char> made(n, 0);
        const std::string folder = partsFolder(logPath);
        std::error_code error;
        fs::create_directories(folder, error);
        std::vector<std::thread> threads;
        for (std::size_t k = 0; k < workers; ++k) {
            threads.emplace_back([&, k] {
                BatchOptions mine = options;
                mine.quiet = true;
                ConsolePlatform console(cformat("worker %zu of %zu: ", k + 1, workers));
                AppState state;
                state.random.SeedForStart();
                Session session(state, console);
                if (prepareSession(mine, session) != kExitDone) return;
                // As a full single run: the rate check armed for the worker's runs.
                state.runState.experimentFlag = true;
                state.runState.rateCheckArmed = true;
                for (std::size_t i = k; i < n && ConsolePlatform::stopSignal() == 0; i += workers) {
                    state.paths.logPath = joinPath(folder, cformat("series_%08zu.csv", i));
                    runs[i].completed = session.runner.SeriesSingleRun(values[i], porous);
                    runs[i].record = state.results.current;
                    std::string rows = readWholeFile(state.paths.logPath).value_or("");
                    const std::string header = runLogHeader();
                    if (rows.compare(0, header.size(), header) == 0) rows.erase(0, header.size());
                    runs[i].rows = rows;
                    fs::remove(state.paths.logPath, error);
                    // The series' regimes are recorded beside the study's log as its rows go in.
                    fs::remove(regimeTablePath(state.paths.logPath), error);
                    made[i] = 1;
                    if (!runs[i].completed) break;
                }
            });
        }
        for (auto& thread : threads) thread.join();
        fs::remove(folder, error);  // only when empty
        // The series as far as it got without a gap.
        std::size_t count = 0;
        while (count < n && made[count]) ++count;
        runs.resize(count);
        return runs;
    };
}

int runJobs(const BatchOptions& base, Platform& platform) {
    const long long workers = workerCount(base);
    BatchOptions o = base;
    o.sharded = true;
    o.shardCount = workers;
    if (o.mode == RunMode::General && !o.generalSeed) {
        // Every worker draws the same sequence and runs its share of it.
        o.generalSeed = static_cast<unsigned>(std::time(nullptr));
        if (!o.quiet)
            std::fprintf(stderr, "quorvane-batch: general experiment seed %u (--general-seed)\n",
                         *o.generalSeed);
    }
    // Everything is checked once, here, before any worker starts: a refusal is
    // said once and nothing is written.
    std::string logPath;
    if (int status = prepareOnly(o, platform, logPath); status != kExitDone) return status;
    std::error_code error;
    fs::create_directories(partsFolder(logPath), error);
    if (!isDirectory(partsFolder(logPath)))
        return std::fprintf(stderr, "quorvane-batch: cannot create the folder %s\n",
                            partsFolder(logPath).c_str()),
               kExitLogFailed;

    Study study;
    study.running = static_cast<int>(workers);
    const auto begin = Clock::now();
    std::vector<int> statuses(static_cast<size_t>(workers), kExitDone);
    std::vector<std::thread> threads;
    for (long long k = 0; k < workers; ++k) {
        threads.emplace_back([&, k] {
            BatchOptions mine = o;
            mine.shardIndex = k;
            mine.quiet = true;
            WorkerLink link;
            link.name = cformat("worker %lld of %lld: ", k + 1, workers);
            bool running = false;
            link.partLog = [&](long long position) {
                return joinPath(partsFolder(logPath), cformat("%08lld.csv", position));
            };
            link.started = [&](long long) {
                if (running) ++study.done;
                running = true;
            };
            link.prepared = [&](Session& s) {
                ExperimentRunner& r = s.runner;
                study.total +=
                    mine.mode == RunMode::Plan
                        ? countShare(r.combinationIndex(), r.combinationCount(), k, workers)
                        : countShare(0, mine.generalDraws, k, workers);
            };
            ConsolePlatform console(link.name);
            console.setHalt(&study.halt);
            const int status = runSession(mine, console, &link);
            if (status == kExitLogFailed) study.halt = true;
            if (running && status == kExitDone) ++study.done;
            statuses[static_cast<size_t>(k)] = status;
            --study.running;
        });
    }
    if (!o.quiet) watch(study, workers, begin);
    for (auto& thread : threads) thread.join();

    int status = combined(statuses);
    if (std::string problem = joinParts(logPath, platform); !problem.empty()) {
        std::fprintf(stderr, "quorvane-batch: %s\n", problem.c_str());
        if (status == kExitDone || status == kExitBadInput) status = kExitLogFailed;
    }
    if (o.summary && ConsolePlatform::stopSignal() == 0) createSummaryReports(logPath, platform);
    return status;
}

}  // namespace quorvane::batch
