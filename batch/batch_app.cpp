#include "batch/batch_app.h"

#include <csignal>
#include <cstdio>
#include <filesystem>

#include "batch/console_platform.h"
#include "batch/growth_record_csv.h"
#include "batch/key_setting.h"
#include "batch/log_merge.h"
#include "batch/progress.h"
#include "common/file_io.h"
#include "common/text.h"
#include "common/version/version.h"
#include "experiments/session.h"
#include "model/data_rules.h"
#include "model/theory.h"

namespace quorvane::batch {
namespace {

int refuse(const std::string& why) {
    std::fprintf(stderr, "quorvane-batch: %s\n", why.c_str());
    return kExitBadInput;
}

/// A file the runner will write: it must name a csv file in an existing folder.
std::string checkOutput(const std::string& what, const std::string& path, bool needCsv) {
    if (needCsv && !contains(path, ".csv")) return "Wrong file extention, must be csv: " + path;
    if (isDirectory(path)) return what + " " + path + " is a folder";
    std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (!parent.empty() && !isDirectory(parent.string()))
        return what + " " + path + ": its folder does not exist";
    return {};
}

std::string checkInput(const std::string& what, const std::string& path) {
    if (!contains(path, ".csv")) return "Wrong file extention, must be csv: " + path;
    if (!isRegularFile(path)) return "cannot read the " + what + " " + path;
    return {};
}

/// Loads, plans and sets; every refusal happens here, before anything is written.
int prepare(const BatchOptions& o, Session& s) {
    AppState& state = s.state;
    if (o.logFile) state.paths.logPath = *o.logFile;
    if (o.dataFile) {
        if (auto error = checkInput("data file", *o.dataFile); !error.empty()) return refuse(error);
        if (!s.readDataFile(*o.dataFile).loaded()) return refuse("the data file was refused");
        state.paths.currentDataPath = *o.dataFile;
    } else {
        // The Data panel parses its surface-shape texts as soon as a field takes the
        // focus at start-up; the built-in data get the same.
        applyUpdate(state.data, state.run, requestFromData(state.data), s.platform);
        // "Set default" without its two rebuilds of a field nobody looks at.
        proposeDefaultRunSettings(state.data, state.run);
    }
    if (o.mode == RunMode::Plan) {
        std::string planPath = o.planFile;
        if (auto error = checkInput("plan file", planPath); !error.empty()) return refuse(error);
        if (o.sharded && o.planResume) {
            std::string shard = shardPlanPath(planPath, o.shardIndex, o.shardCount);
            if (isRegularFile(shard)) planPath = shard;
        }
        if (!s.planFile.read(planPath)) return refuse("the plan file was refused");
        if (o.sharded)
            s.planFile.paths.plan = shardPlanPath(o.planFile, o.shardIndex, o.shardCount);
        if (o.logFile) state.paths.logPath = *o.logFile;  // an explicit log wins over the plan's
    }
    for (const auto& [key, value] : o.sets) {
        std::string error = applyKeySetting(s, key, value);
        if (!error.empty()) return refuse(error);
    }
    if (o.porous) state.run.Is_includes_porosity = *o.porous ? 1 : 0;
    if (auto e = checkOutput("the log", state.paths.logPath, true); !e.empty()) return refuse(e);
    if (o.writeDataFile)
        if (auto e = checkOutput("the data file", *o.writeDataFile, true); !e.empty())
            return refuse(e);
    if (o.recordFile)
        if (auto e = checkOutput("the record file", *o.recordFile, false); !e.empty())
            return refuse(e);
    if (auto e = checkReportRequest(o.reports); !e.empty()) return refuse(e);
    if (o.mode == RunMode::Plan && o.sharded)
        if (auto e = checkOutput("the shard's plan file", s.planFile.paths.plan, true); !e.empty())
            return refuse(e);
    // The Data panel shows the theory before anything runs.
    computeTheory(state.data, s.platform);
    return kExitDone;
}

void run(const BatchOptions& o, Session& s, Progress& progress) {
    ExperimentRunner& runner = s.runner;
    switch (o.mode) {
        case RunMode::Single:
            s.loop.setStepLimit(static_cast<int>(o.steps));
            s.loop.StartNewSingleSimulation();
            break;
        case RunMode::Full:
            runner.RunFullSingleRun();
            break;
        case RunMode::Plan:
            if (o.sharded) {
                const long long k = o.shardIndex, n = o.shardCount;
                runner.hooks.runsCombination = [k, n](long long position) {
                    return position % n == k;
                };
            }
            runner.hooks.combinationStarted = [&progress](long long position, long long total) {
                progress.setCombination(position + 1, total);
            };
            if (o.planResume) {
                runner.ResumeExperiment();
            } else {
                runner.StartExperiment(o.planTest);
            }
            break;
        case RunMode::General:
            if (o.generalSeed) runner.seedStandardGenerator(*o.generalSeed);
            runner.GeneralExperiment(o.generalDraws);
            break;
        case RunMode::Research:
            runner.FullResearchForShape();
            break;
        case RunMode::None:
            break;
    }
}

}  // namespace

std::string shardPlanPath(const std::string& planPath, long long index, long long count) {
    return prefixBefore(planPath, ".csv") + "_shard" + std::to_string(index) + "of" +
           std::to_string(count) + ".csv";
}

int runBatch(const BatchOptions& o, Platform& platform) {
    if (o.help) {
        std::fputs(batchHelpText().c_str(), stdout);
        return kExitDone;
    }
    if (o.version) {
        std::printf("quorvane-batch %s\n", versionText().c_str());
        return kExitDone;
    }
    if (o.merge) {
        std::string error = mergeRunLogs(o.mergeOutput, o.mergeInputs);
        return error.empty() ? kExitDone : refuse(error);
    }
    AppState state;
    // The same sequence as the desktop program: nothing draws before the first run.
    state.random.SeedForStart();
    Session session(state, platform);
    if (int status = prepare(o, session); status != kExitDone) return status;
    Progress progress(session, o.quiet);

    run(o, session, progress);

    int status = kExitDone;
    if (o.recordFile && !writeFileAtomically(*o.recordFile, formatGrowthRecordCsv(state))) {
        std::fprintf(stderr, "quorvane-batch: cannot write the record %s\n", o.recordFile->c_str());
        status = kExitLogFailed;
    }
    if (o.writeDataFile && !session.writeDataFile(*o.writeDataFile).written)
        status = kExitLogFailed;
    if (o.summary && ConsolePlatform::stopSignal() == 0) session.createSummaryReports();
    if (ConsolePlatform::stopSignal() == 0 && writeReports(session, o.reports) > 0)
        status = kExitLogFailed;
    if (state.runState.logFailures > 0) {
        std::fprintf(stderr, "quorvane-batch: %d run(s) could not be written to the log %s\n",
                     state.runState.logFailures, state.paths.logPath.c_str());
        status = kExitLogFailed;
    }
    if (int signal = ConsolePlatform::stopSignal(); signal != 0) return 128 + signal;
    return status;
}

}  // namespace quorvane::batch
