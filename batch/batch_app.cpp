#include "batch/batch_app.h"

#include <csignal>
#include <cstdio>
#include <filesystem>

#include "batch/console_platform.h"
#include "batch/growth_record_csv.h"
#include "batch/jobs.h"
#include "batch/key_setting.h"
#include "batch/log_merge.h"
#include "batch/progress.h"
#include "batch/study_files.h"
#include "common/cformat.h"
#include "common/file_io.h"
#include "common/text.h"
#include "common/version/version.h"
#include "experiments/plan_positions.h"
#include "experiments/session.h"
#include "experiments/study.h"
#include "model/data_rules.h"
#include "model/theory.h"

namespace quorvane::batch {
namespace {

/// The runner's own complaints are messages of its platform: standard error
/// for the command line (a worker's name before them), an exception in Python.
void complain(Platform& platform, const std::string& what) {
    platform.message(kComplaintPrefix + what);
}

int refuse(Platform& platform, const std::string& why) {
    complain(platform, why);
    return kExitBadInput;
}

/// The data as the options give them: in memory, from a file, or built in.
std::string loadData(const BatchOptions& o, Session& s) {
    if (o.data) {
        o.data(s);
        return {};
    }
    if (o.dataFile) return loadDataFile(s, *o.dataFile);
    loadBuiltInData(s);
    return {};
}

/// Reads the plan, or the shard's own file where the shard goes on from it.
int preparePlan(const BatchOptions& o, Session& s) {
    auto refuse = [&s](const std::string& why) { return batch::refuse(s.platform, why); };
    std::string planPath = o.planFile;
    if (auto error = checkInputFile("plan file", planPath); !error.empty()) return refuse(error);
    // A plan run in shards belongs to them: another number of shards, or one
    // process, would run again what they ran.
    if (auto error = checkShardFiles(planPath, o.sharded ? o.shardCount : 0); !error.empty())
        return refuse(error);
    const bool goesOn = o.sharded && (o.planResume || o.shardContinues);
    if (goesOn) {
        std::string shard = shardPlanPath(planPath, o.shardIndex, o.shardCount);
        if (isRegularFile(shard)) planPath = shard;
    }
    // The desktop program passes over a data file the plan names but that
    // cannot be read; a batch run would then quietly run other data.
    std::string missingData;
    s.planHost.loadDataFile = [&](const std::string& path) {
        if (!s.readDataFile(path).loaded()) missingData = path;
    };
    if (!s.planFile.read(planPath)) return refuse("the plan file was refused");
    if (!missingData.empty())
        return refuse("the plan " + planPath + " names the data file " + missingData +
                      " on its second line, which cannot be read");
    // Only a shard's own file can say its share has run.
    if (!goesOn || planPath == o.planFile) s.planFile.finished = false;
    if (o.sharded) {
        s.planFile.paths.plan = shardPlanPath(o.planFile, o.shardIndex, o.shardCount);
        if (!combinationCount(s.state.plan))
            return refuse("the plan " + o.planFile +
                          " has more combinations than can be numbered, so it cannot be shared "
                          "out in shards");
    }
    if (o.logFile) s.state.paths.logPath = *o.logFile;  // an explicit log wins over the plan's
    return kExitDone;
}

/// Loads, plans and sets; every refusal happens here, before anything is written.
int prepare(const BatchOptions& o, Session& s) {
    AppState& state = s.state;
    auto refuse = [&s](const std::string& why) { return batch::refuse(s.platform, why); };
    if (o.logFile) state.paths.logPath = *o.logFile;
    if (auto error = loadData(o, s); !error.empty()) return refuse(error);
    if (o.mode == RunMode::Plan)
        if (int status = preparePlan(o, s); status != kExitDone) return status;
    for (const auto& [key, value] : o.sets) {
        std::string error = applyKeySetting(s, key, value);
        if (!error.empty()) return refuse(error);
    }
    if (o.porous) state.run.Is_includes_porosity = *o.porous ? 1 : 0;
    if (auto e = checkOutputFile("the log", state.paths.logPath, true); !e.empty())
        return refuse(e);
    if (o.writeDataFile)
        if (auto e = checkOutputFile("the data file", *o.writeDataFile, true); !e.empty())
            return refuse(e);
    if (o.recordFile)
        if (auto e = checkOutputFile("the record file", *o.recordFile, false); !e.empty())
            return refuse(e);
    if (auto e = checkReportRequest(o.reports); !e.empty()) return refuse(e);
    // A report of a log alone: a log that makes no study is refused before anything is written.
    if (o.reports.studyReport && o.mode == RunMode::None)
        if (const StudyReading study = readStudy(state.paths.logPath, {}); !study.study)
            return refuse("--study-report: " + study.error);
    if (o.mode == RunMode::Plan && o.sharded)
        if (auto e = checkOutputFile("the shard's plan file", s.planFile.paths.plan, true);
            !e.empty())
            return refuse(e);
    // The Data panel shows the theory before anything runs.
    computeTheory(state.data, s.platform);
    return kExitDone;
}

void runPlan(const BatchOptions& o, Session& s, WorkerLink* link) {
    if (o.sharded && !link && s.planFile.finished)
        complain(s.platform, cformat("every combination of the shard %lld/%lld has run (%s says "
                                     "so); nothing is run again",
                                     o.shardIndex, o.shardCount, s.planFile.paths.plan.c_str()));
    if (o.planResume) {
        s.runner.ResumeExperiment();
    } else {
        s.runner.StartExperiment(o.planTest);
    }
}

void run(const BatchOptions& o, Session& s, Progress& progress, WorkerLink* link) {
    ExperimentRunner& runner = s.runner;
    // A worker of --jobs gives every combination (or draw) a log of its own,
    // so that the study's log can be put together in plan order at the end.
    auto startItem = [&s, link](long long position) {
        if (!link) return;
        s.state.paths.logPath = link->partLog(position);
        link->started(position);
    };
    if (o.sharded) runner.share = Share{o.shardIndex, o.shardCount};
    switch (o.mode) {
        case RunMode::Single:
            s.loop.setStepLimit(static_cast<int>(o.steps));
            progress.setStepLimit(o.steps);
            s.loop.StartNewSingleSimulation();
            break;
        case RunMode::Full:
            if (workerCount(o) > 1)
                runner.hooks.runSeries = seriesOnWorkers(o, s.state.paths.logPath);
            runner.RunFullSingleRun();
            break;
        case RunMode::Plan:
            runner.hooks.combinationStarted = [&progress, startItem](long long position,
                                                                     long long total) {
                progress.setCombination(position + 1, total);
                startItem(position);
            };
            runPlan(o, s, link);
            break;
        case RunMode::General:
            runner.hooks.drawStarted = [&progress, startItem](long long draw, long long draws) {
                progress.setDraw(draw + 1, draws);
                startItem(draw);
            };
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

/// The outputs after the runs and the exit status, with a message for every
/// failure saying how far the work got.
/// The files written after the runs: the record, the data, the summaries and
/// the reports. kExitLogFailed when one of them could not be written.
int writeOutputs(const BatchOptions& o, Session& session) {
    AppState& state = session.state;
    Platform& p = session.platform;
    int status = kExitDone;
    const RecordFileLimits lean{o.recordEvery, o.recordMaxMb * 1e6};
    if (o.recordFile && !writeFileAtomically(*o.recordFile, formatGrowthRecordCsv(state, lean))) {
        complain(p, "cannot write the record " + *o.recordFile);
        status = kExitLogFailed;
    }
    if (o.writeDataFile && !session.writeDataFile(*o.writeDataFile).written)
        status = kExitLogFailed;
    if (ConsolePlatform::stopSignal() != 0) return status;
    if (o.summary) session.createSummaryReports();
    if (writeReports(session, o.reports) > 0) status = kExitLogFailed;
    if (o.reports.studyReport &&
        !writeStudyReport(studyReportJob(o, state.paths.logPath), session.platform))
        status = kExitLogFailed;
    return status;
}

int finish(const BatchOptions& o, Session& session, Progress& progress) {
    AppState& state = session.state;
    Platform& p = session.platform;
    int status = writeOutputs(o, session);
    const RunState& rs = state.runState;
    if (rs.logFailures > 0) {
        complain(p,
                 cformat("%d row(s) could not be written to the log %s; the work stopped at %s",
                         rs.logFailures, state.paths.logPath.c_str(), progress.howFar().c_str()));
        status = kExitLogFailed;
    }
    if (rs.planWriteFailures > 0) {
        complain(p, "the plan file " + session.planFile.paths.plan +
                        " could not be rewritten; the experiment stopped before " +
                        progress.howFar());
        status = kExitLogFailed;
    }
    if (rs.planAdvanceFailures > 0) {
        complain(p, "the plan file " + session.planFile.paths.plan + " could not be moved past " +
                        progress.howFar() +
                        ", which has run: it still names that combination, and going on from it "
                        "runs it again");
        status = kExitLogFailed;
    }
    if (int signal = ConsolePlatform::stopSignal(); signal != 0) return 128 + signal;
    if (rs.refusedRuns > 0 && status == kExitDone) {
        // The data could not run (see the message above): the work ended early.
        complain(p, "the work ended early: refused at " + progress.howFar());
        status = kExitBadInput;
    }
    return status;
}

}  // namespace

std::string checkOutputFile(const std::string& what, const std::string& path, bool needCsv) {
    if (needCsv && !hasCsvName(path)) return "Wrong file extention, must be csv: " + path;
    if (isDirectory(path)) return what + " " + path + " is a folder";
    std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (!parent.empty() && !isDirectory(parent.string()))
        return what + " " + path + ": its folder does not exist";
    return {};
}

std::string checkInputFile(const std::string& what, const std::string& path) {
    if (!hasCsvName(path)) return "Wrong file extention, must be csv: " + path;
    if (!isRegularFile(path)) return "cannot read the " + what + " " + path;
    return {};
}

std::string loadDataFile(Session& s, const std::string& path) {
    if (auto error = checkInputFile("data file", path); !error.empty()) return error;
    if (!s.readDataFile(path).loaded()) return "the data file was refused";
    s.state.paths.currentDataPath = path;
    return {};
}

void loadBuiltInData(Session& s) {
    AppState& state = s.state;
    // The Data panel parses its surface-shape texts as soon as a field takes the
    // focus at start-up; the built-in data get the same.
    applyUpdate(state.data, state.run, requestFromData(state.data), s.platform);
    // "Set default" without its two rebuilds of a field nobody looks at.
    proposeDefaultRunSettings(state.data, state.run);
}

StudyReportJob studyReportJob(const BatchOptions& o, const std::string& logPath) {
    StudyReportJob job;
    job.path = o.reports.studyReport.value_or("");
    job.logPath = logPath;
    if (o.mode == RunMode::Plan) job.planPath = o.planFile;
    job.general = o.mode == RunMode::General;
    job.command = o.commandLine;
    return job;
}

int prepareSession(const BatchOptions& o, Session& session) {
    return prepare(o, session);
}

int prepareOnly(const BatchOptions& o, Platform& platform, std::string& logPath) {
    AppState state;
    Session session(state, platform);
    int status = prepare(o, session);
    logPath = state.paths.logPath;
    return status;
}

int runSession(const BatchOptions& o, Session& session, WorkerLink* link) {
    if (int status = prepare(o, session); status != kExitDone) return status;
    if (link && link->prepared) link->prepared(session);
    Progress progress(session, o.quiet || link != nullptr);

    run(o, session, progress, link);

    return finish(o, session, progress);
}

int runSession(const BatchOptions& o, Platform& platform, WorkerLink* link) {
    AppState state;
    // The same sequence as the desktop program: nothing draws before the first run.
    state.random.SeedForStart();
    Session session(state, platform);
    return runSession(o, session, link);
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
        return error.empty() ? kExitDone : refuse(platform, error);
    }
    if (workerCount(o) > 1)
        return o.mode == RunMode::Full ? runFullOnWorkers(o, platform) : runJobs(o, platform);
    return runSession(o, platform, nullptr);
}

}  // namespace quorvane::batch
