#include "batch/jobs.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <thread>
#include <vector>

#include "batch/batch_app.h"
#include "batch/console_platform.h"
#include "batch/log_parts.h"
#include "batch/study_files.h"
#include "common/cformat.h"
#include "common/file_io.h"
#include "common/text.h"
#include "experiments/regime_table.h"
#include "experiments/run_log.h"
#include "experiments/summary_report.h"

namespace quorvane::batch {
namespace {

using Clock = std::chrono::steady_clock;

/// What the workers share: how far the study is, counted across all of them.
struct Study {
    std::atomic<long long> total{0};  ///< combinations (draws) the workers will run
    std::atomic<long long> done{0};
    std::atomic<int> running{0};
    /// Set when a worker could not keep a result: the others stop too.
    std::atomic<bool> halt{false};
};

/// Positions p in [from, to) with p % n == k, counted, not walked.
long long countShare(long long from, long long to, long long k, long long n) {
    auto below = [k, n](long long x) { return x <= 0 ? 0 : x / n + (x % n > k ? 1 : 0); };
    return to > from ? below(to) - below(from) : 0;
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

int say(int status, const std::string& text) {
    std::fprintf(stderr, "quorvane-batch: %s\n", text.c_str());
    return status;
}

/// One worker of a series: the runs at k, k + workers, ... from a state of its own.
void seriesWorker(const BatchOptions& options, const std::string& logPath, std::size_t k,
                  std::size_t workers, const std::vector<double>& values, bool porous,
                  std::vector<SeriesRun>& runs, std::vector<char>& made) {
    BatchOptions mine = options;
    mine.quiet = true;
    ConsolePlatform console(cformat("worker %zu of %zu: ", k + 1, workers));
    AppState state;
    state.random.SeedForStart();
    Session session(state, console);
    if (prepareSession(mine, session) != kExitDone) {
        runs[k].end = SeriesEnd::Refused;
        made[k] = 1;
        return;
    }
    // As a full single run: the rate check armed for the worker's runs.
    RunState& rs = state.runState;
    rs.experimentFlag = true;
    rs.rateCheckArmed = true;
    for (std::size_t i = k; i < values.size() && ConsolePlatform::stopSignal() == 0; i += workers) {
        state.paths.logPath = joinPath(partsFolder(logPath), cformat("series_%08zu.csv", i));
        ::unlink(state.paths.logPath.c_str());  // left by a killed process: not this run's rows
        const int refused = rs.refusedRuns, lost = rs.logFailures;
        const bool completed = session.runner.SeriesSingleRun(values[i], porous);
        runs[i].record = state.results.current;
        std::string rows = readWholeFile(state.paths.logPath).value_or("");
        const std::string header = runLogHeader();
        if (rows.compare(0, header.size(), header) == 0) rows.erase(0, header.size());
        runs[i].rows = rows;
        ::unlink(state.paths.logPath.c_str());
        // The series' regimes are recorded beside the study's log as its rows go in.
        ::unlink(regimeTablePath(state.paths.logPath).c_str());
        runs[i].end = completed                  ? SeriesEnd::Completed
                      : rs.refusedRuns > refused ? SeriesEnd::Refused
                      : rs.logFailures > lost    ? SeriesEnd::Lost
                                                 : SeriesEnd::Stopped;
        made[i] = 1;
        if (!completed) break;
    }
}

}  // namespace

long long workerCount(const BatchOptions& o) {
    if (o.jobs > 0) return o.jobs;
    const unsigned cores = std::thread::hardware_concurrency();
    return cores > 0 ? cores : 1;
}

std::function<std::vector<SeriesRun>(const std::vector<double>&, bool)> seriesOnWorkers(
    const BatchOptions& options, const std::string& logPath) {
    return [options, logPath](const std::vector<double>& values, bool porous) {
        const std::size_t n = values.size();
        const std::size_t workers =
            std::min<std::size_t>(static_cast<std::size_t>(workerCount(options)), n);
        std::vector<SeriesRun> runs(n);
        std::vector<char> made(n, 0);
        std::vector<std::thread> threads;
        for (std::size_t k = 0; k < workers; ++k)
            threads.emplace_back(
                [&, k] { seriesWorker(options, logPath, k, workers, values, porous, runs, made); });
        for (auto& thread : threads) thread.join();
        // The series as far as it got without a gap; a run missing there was
        // never made: stopped by a signal, or lost.
        std::size_t count = 0;
        while (count < n && made[count]) ++count;
        if (count < n && (count == 0 || runs[count - 1].end == SeriesEnd::Completed)) {
            runs[count].end =
                ConsolePlatform::stopSignal() != 0 ? SeriesEnd::Stopped : SeriesEnd::Lost;
            ++count;
        }
        runs.resize(count);
        return runs;
    };
}

int runFullOnWorkers(const BatchOptions& o, Platform& platform) {
    std::string logPath;
    if (int status = prepareOnly(o, platform, logPath); status != kExitDone) return status;
    // The workers' rows wait beside the log; a file of that folder's name
    // stays as it is, and so does a folder another study is using.
    PartsFolderHold parts(logPath);
    if (!parts.problem().empty())
        return say(parts.cannotWrite() ? kExitLogFailed : kExitBadInput, parts.problem());
    const int status = runSession(o, platform, nullptr);
    removeEmptyPartsFolder(logPath);
    return status;
}

namespace {

/// A study of a plan whose every share has run is not run again; true (with
/// the message) for one.
bool studyHasRun(const BatchOptions& o, const std::string& logPath, long long workers) {
    if (o.mode != RunMode::Plan || !shardFilesOf(o.planFile, workers).allFinished()) return false;
    say(kExitDone,
        cformat("every combination of the plan %s has run in its %lld shards (the files "
                "%s... say so), and its rows are in the log %s; to run the plan again, "
                "remove the files %s_shard*of%lld.csv",
                o.planFile.c_str(), workers, shardPlanPath(o.planFile, 0, workers).c_str(),
                logPath.c_str(), csvStem(o.planFile).c_str(), workers));
    return true;
}

/// The combinations (draws) worker k of n has still to run.
long long shareLeft(const BatchOptions& o, Session& s, long long k, long long n) {
    if (o.mode != RunMode::Plan) return countShare(0, o.generalDraws, k, n);
    if (s.planFile.finished) return 0;
    return countShare(s.runner.combinationIndex(), s.runner.combinationCount(), k, n);
}

/// Runs the workers and waits for them; their exit statuses.
std::vector<int> runWorkers(const BatchOptions& o, const std::string& logPath, long long workers) {
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
            mine.reports.studyReport.reset();  // of the whole study, once its rows are joined
            WorkerLink link;
            link.name = cformat("worker %lld of %lld: ", k + 1, workers);
            bool running = false;
            link.partLog = [&](long long position) { return partFile(logPath, position); };
            link.started = [&](long long) {
                if (running) ++study.done;
                running = true;
            };
            link.prepared = [&](Session& s) { study.total += shareLeft(mine, s, k, workers); };
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
    return statuses;
}

}  // namespace

int runJobs(const BatchOptions& base, Platform& platform) {
    const long long workers = workerCount(base);
    BatchOptions o = base;
    o.sharded = true;
    o.shardCount = workers;
    // A worker goes on from its shard's own file, with or without --resume.
    o.shardContinues = true;
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
    PartsFolderHold parts(logPath);
    if (!parts.problem().empty())
        return say(parts.cannotWrite() ? kExitLogFailed : kExitBadInput, parts.problem());
    // Rows an earlier run of the study left waiting go in first, once.
    if (std::string problem = joinParts(logPath, platform); !problem.empty())
        return say(kExitLogFailed, problem + "; nothing was run");
    int status = kExitDone;
    if (!studyHasRun(o, logPath, workers)) status = combined(runWorkers(o, logPath, workers));
    if (std::string problem = joinParts(logPath, platform); !problem.empty()) {
        say(kExitLogFailed, problem);
        if (status == kExitDone || status == kExitBadInput) status = kExitLogFailed;
    }
    removeEmptyPartsFolder(logPath);
    if (o.summary && ConsolePlatform::stopSignal() == 0) createSummaryReports(logPath, platform);
    if (o.reports.studyReport && ConsolePlatform::stopSignal() == 0 &&
        !writeStudyReport(studyReportJob(o, logPath), platform) && status == kExitDone)
        status = kExitLogFailed;
    return status;
}

}  // namespace quorvane::batch
