#include "batch/batch_options.h"

#include "batch/key_setting.h"
#include "common/cformat.h"

namespace quorvane::batch {
namespace {

/// A whole number from 1 on, by the same number rule as the --set values.
bool parseCount(const std::string& text, long long& out) {
    return parseWholeNumber(text, 1, 1'000'000'000'000LL, out);
}

bool parseShard(const std::string& text, long long& index, long long& count) {
    auto slash = text.find('/');
    if (slash == std::string::npos) return false;
    std::string k = text.substr(0, slash), n = text.substr(slash + 1);
    long long parsedN = 0, parsedK = 0;
    if (!parseCount(n, parsedN)) return false;
    if (!parseWholeNumber(k, 0, parsedN - 1, parsedK)) return false;
    if (parsedK >= parsedN) return false;
    index = parsedK;
    count = parsedN;
    return true;
}

ParsedOptions fail(std::string error) {
    ParsedOptions parsed;
    parsed.error = std::move(error);
    return parsed;
}

}  // namespace

ParsedOptions parseBatchOptions(const std::vector<std::string>& args) {
    ParsedOptions parsed;
    BatchOptions& o = parsed.options;
    if (!args.empty() && args[0] == "merge") {
        if (args.size() < 3) return fail("merge needs an output log and at least one input log");
        o.merge = true;
        o.mergeOutput = args[1];
        o.mergeInputs.assign(args.begin() + 2, args.end());
        parsed.ok = true;
        return parsed;
    }
    int runModes = 0;
    bool recordLimits = false;
    bool explicitSingle = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) return false;
            out = args[++i];
            return true;
        };
        std::string v;
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--version") {
            o.version = true;
        } else if (a == "--quiet" || a == "-q") {
            o.quiet = true;
        } else if (a == "--data") {
            if (!value(v)) return fail("--data needs a file");
            o.dataFile = v;
        } else if (a == "--set") {
            if (!value(v)) return fail("--set needs KEY=VALUE");
            auto eq = v.find('=');
            if (eq == std::string::npos || eq == 0)
                return fail("--set needs KEY=VALUE, not \"" + v + "\"");
            if (auto error = checkSettingText(v.substr(0, eq), v.substr(eq + 1)); !error.empty())
                return fail(error);
            o.sets.emplace_back(v.substr(0, eq), v.substr(eq + 1));
        } else if (a == "--log") {
            if (!value(v)) return fail("--log needs a file");
            o.logFile = v;
        } else if (a == "--full") {
            o.mode = RunMode::Full;
            ++runModes;
        } else if (a == "--plan") {
            if (!value(v)) return fail("--plan needs a plan file");
            o.mode = RunMode::Plan;
            o.planFile = v;
            ++runModes;
        } else if (a == "--test") {
            o.planTest = true;
        } else if (a == "--resume") {
            o.planResume = true;
        } else if (a == "--general") {
            if (!value(v) || !parseCount(v, o.generalDraws))
                return fail("--general needs a number of draws (a whole number above 0)");
            o.mode = RunMode::General;
            ++runModes;
        } else if (a == "--general-seed") {
            long long seed = 0;
            if (!value(v) || !parseWholeNumber(v, 0, 4294967295LL, seed))
                return fail("--general-seed needs a whole number 0..4294967295");
            o.generalSeed = static_cast<unsigned>(seed);
        } else if (a == "--research") {
            o.mode = RunMode::Research;
            ++runModes;
        } else if (a == "--single") {
            explicitSingle = true;
            ++runModes;
        } else if (a == "--no-run") {
            o.mode = RunMode::None;
            ++runModes;
        } else if (a == "--summary") {
            o.summary = true;
        } else if (a == "--steps") {
            if (!value(v) || !parseCount(v, o.steps) || o.steps > 10'000'000)
                return fail("--steps needs a number of steps 1..10000000");
        } else if (a == "--porous") {
            o.porous = true;
        } else if (a == "--plain") {
            o.porous = false;
        } else if (a == "--record") {
            if (!value(v)) return fail("--record needs a file");
            o.recordFile = v;
        } else if (a == "--write-data") {
            if (!value(v)) return fail("--write-data needs a file");
            o.writeDataFile = v;
        } else if (a == "--jobs") {
            if (!value(v) || !parseWholeNumber(v, 0, 1024, o.jobs))
                return fail("--jobs needs a number of workers 0..1024 (0: one per core)");
        } else if (a == "--record-every") {
            if (!value(v) || !parseCount(v, o.recordEvery))
                return fail("--record-every needs a number of steps (a whole number above 0)");
            recordLimits = true;
        } else if (a == "--record-max-mb") {
            if (!value(v) || !parseFiniteDouble(v, o.recordMaxMb) || !(o.recordMaxMb >= 0.01))
                return fail("--record-max-mb needs a size in megabytes of at least 0.01");
            recordLimits = true;
        } else if (a == "--shard") {
            if (!value(v) || !parseShard(v, o.shardIndex, o.shardCount))
                return fail("--shard needs K/N with 0 <= K < N");
            o.sharded = true;
        } else if (std::string error; parseReportOption(args, i, o.reports, error)) {
            if (!error.empty()) return fail(error);
        } else {
            return fail("unknown option \"" + a + "\" (see --help)");
        }
    }
    if (o.help || o.version) {
        parsed.ok = true;
        return parsed;
    }
    if (runModes > 1)
        return fail("choose one of --single, --full, --plan, --general, --research, --no-run");
    if (runModes == 0 && o.summary) o.mode = RunMode::None;
    if (explicitSingle) o.mode = RunMode::Single;
    if ((o.planTest || o.planResume) && o.mode != RunMode::Plan)
        return fail("--test and --resume go with --plan");
    if (o.planTest && o.planResume) return fail("choose --test or --resume, not both");
    if (o.sharded && o.mode != RunMode::Plan && o.mode != RunMode::General)
        return fail("--shard goes with --plan or --general");
    if (recordLimits && !o.recordFile)
        return fail("--record-every and --record-max-mb go with --record");
    if (o.jobs != 1) {
        if (o.mode != RunMode::Plan && o.mode != RunMode::General)
            return fail("--jobs goes with --plan or --general");
        if (o.sharded) return fail("--jobs runs the shards itself; it does not go with --shard");
        if (o.recordFile || o.writeDataFile)
            return fail(
                "--record and --write-data keep one run's state; they do not go with "
                "--jobs (other than 1)");
    }
    if (o.jobs != 1 && o.reports.any())
        return fail(
            "--report and --full-report show one run's state; they do not go with --jobs "
            "(other than 1)");
    if (o.steps > 0 && o.mode != RunMode::Single)
        return fail("--steps ends a single simulation; it does not go with other runs");
    if (o.generalSeed && o.mode != RunMode::General)
        return fail("--general-seed goes with --general");
    parsed.ok = true;
    return parsed;
}

std::string batchHelpText() {
    return R"(quorvane-batch: Quorvane's simulations without a screen, over the same core as
the desktop program (the same data, rules, engine, seeds and log).

Usage:
  quorvane-batch [options]
  quorvane-batch --version                   the version and the commit of this build
  quorvane-batch merge OUT.csv IN.csv...     join run logs under one header

Data:
  --data FILE          load a data file (default: the built-in data with the run
                       settings "Set default" proposes)
  --set KEY=VALUE      set a data-file key as if typed into its field, through the
                       program's data rules (repeatable, applied in order after
                       loading), e.g. --set General_Suupercooling=1.5
                       --set N_field_W=60 --set dimension=1
  --porous, --plain    override the data's porosity switch (Is_includes_porosity)
  --write-data FILE    write the data file after the runs

What to run (one of; default a single simulation):
  --single             one single simulation under the data's limits
  --full               one full run (the probabilities of the research settings,
                       reduced to probability zero, event 77)
  --plan FILE          the experiment plan in FILE, from the combination its
                       Current values name, as the desktop's Start experiment
                       does (a stopped plan continues where it stopped; one
                       that ran to its end is back at its start); with --test
                       only its combinations are visited; --resume does the
                       same as Resume experiment, and with --shard it continues
                       the shard from its own FILE_shardKofN.csv
  --general N          the general experiment with N random draws
  --general-seed S     seed of its random draws (default: the time, as the
                       desktop program does)
  --research           the search over surface energies for the data's molecule
  --summary            build the two summary files from the log (alone, or after
                       any of the above)
  --no-run             run nothing: load, set and write (with --write-data)

Runs:
  --steps N            also end a single simulation after N steps (event code 5)
  --log FILE           the run log (default _Quorvane_log.csv; a plan's own
                       results log when --plan is given)
  --record FILE        write the growth record of the last run as CSV
  --shard K/N          with --plan: run only the combinations whose position,
                       counted from 0, is K modulo N (the shard keeps its place
                       in FILE_shardKofN.csv beside the plan)
  --quiet              no progress on standard error

Reports (drawn without a display, by the desktop program's own code):
  --report FILE.html   the HTML run report of the last run, its pictures in the
                       folder FILE beside it
  --full-report FILE.html
                       the full report of the data from the report template, its
                       pictures in FILE_img beside it
  --template FILE      the template of --full-report (default: the shipped one)

Event codes in the log: 0 time limit, 1 first layer not grown in time, 2 rate
check failed, 3 layer limit reached, 5 --steps reached, 10 interrupted (Ctrl-C or
SIGTERM), 77 reduced record of a full run.

Exit status: 0 done; 1 a log row or a report could not be written; 2 bad options, keys,
values or files (nothing written); 130 after SIGINT, 143 after SIGTERM (the run
is logged with code 10 and a plan file keeps the interrupted combination).
)";
}

}  // namespace quorvane::batch
