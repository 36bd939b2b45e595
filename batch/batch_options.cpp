#include "batch/batch_options.h"

#include <CLI/CLI.hpp>

#include <map>

#include "batch/key_setting.h"
#include "common/cformat.h"
#include "experiments/study_origin.h"

namespace quorvane::batch {
namespace {

const char* const kDescription =
    "quorvane-batch: Quorvane's simulations without a screen, over the same core as\n"
    "the desktop program (the same data, rules, engine, seeds and log).\n\n"
    "Joining logs: quorvane-batch merge OUT.csv IN.csv...  (one header, the rows in order)\n";

const char* const kFooter =
    "Event codes in the log: 0 time limit, 1 first layer not grown in time, 2 rate\n"
    "check failed, 3 layer limit reached, 5 --steps reached, 10 interrupted (Ctrl-C or\n"
    "SIGTERM), 77 reduced record of a full run.\n\n"
    "Exit status: 0 done; 1 a log row, the plan file or a record could not be\n"
    "written (the experiment stops there and resumes there); 2 bad options, keys,\n"
    "values or files (nothing written), or data the engine refused (the work ended\n"
    "early); 130 after SIGINT, 143 after SIGTERM (the run is logged with code 10 and\n"
    "a plan file keeps the interrupted combination).\n";

/// Option values as typed, checked after parsing with the program's own messages.
struct OptionTexts {
    std::vector<std::string> sets;
    std::optional<std::string> plan, general, generalSeed, steps, shard, jobs, recordEvery,
        recordMaxMb;
    bool full = false, research = false, single = false, noRun = false;
    bool porous = false, plain = false;
};

constexpr std::size_t kOptionColumn = 24;

/// A help text broken into lines that fit beside the option column.
std::string wrapped(const std::string& text) {
    constexpr std::size_t kWidth = 80 - kOptionColumn;
    std::string out, line;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(' ', start);
        if (end == std::string::npos) end = text.size();
        const std::string word = text.substr(start, end - start);
        if (!line.empty() && line.size() + 1 + word.size() > kWidth) {
            out += line + "\n";
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
        start = end + 1;
    }
    return out + line;
}

/// Declares options one line each: the flag or the value, where it goes, what a
/// missing or bad value is told ("--data needs a file"), and its help.
class Declare {
  public:
    explicit Declare(CLI::App& app) : app_(app) {}
    Declare& in(const char* group) {
        group_ = group;
        return *this;
    }
    void flag(const char* names, bool& target, const char* help) {
        app_.add_flag(names, target, wrapped(help))->group(group_);
    }
    template <typename T>
    void value(const char* name, T& target, const char* typeName, const char* needs,
               const char* help) {
        app_.add_option(name, target, wrapped(help))->type_name(typeName)->group(group_);
        needs_[name] = std::string(name) + " needs " + needs;
    }
    /// A repeatable value: one per occurrence, kept in order.
    void repeated(const char* name, std::vector<std::string>& target, const char* typeName,
                  const char* needs, const char* help) {
        app_.add_option(name, target, wrapped(help))
            ->type_name(typeName)
            ->allow_extra_args(false)
            ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
            ->group(group_);
        needs_[name] = std::string(name) + " needs " + needs;
    }
    /// The message of an option whose value is missing or wrong.
    std::string needs(const std::string& name) const {
        auto found = needs_.find(name);
        return found != needs_.end() ? found->second : name + " needs a value";
    }

  private:
    CLI::App& app_;
    const char* group_ = "";
    std::map<std::string, std::string> needs_;
};

/// The reports, drawn without a display by the desktop program's own code.
void declareReportOptions(Declare& d, BatchOptions& o) {
    d.in("Reports (drawn without a display, by the desktop program's own code)");
    d.value("--report", o.reports.runReport, "FILE.html", "a file",
            "the HTML run report of the last run, its pictures in the folder FILE beside it");
    d.value("--full-report", o.reports.fullReport, "FILE.html", "a file",
            "the full report of the data, filled from the report template, its pictures in "
            "FILE_img. Both reports replace an earlier one of the same name whole: the "
            "pictures and the page are written aside first, the pictures take their names "
            "only once the page is in place, and a failure (a full disk) leaves the earlier "
            "report as it was (status 1). Through a symbolic link the pictures go beside the "
            "file the link names");
    d.value(
        "--template", o.reports.templateFile, "FILE", "a template file",
        "with --full-report: the HTML template to fill, at most 64 MB (default: the shipped one)");
    d.value("--study-report", o.reports.studyReport, "FILE.html", "a file",
            "the report of the study in --log (alone, or after a --plan or --general, with "
            "--jobs too): for every varied parameter the rate, roughness, porosity and time to "
            "fill a layer against it (mean and spread of repeated runs, the theory beside), a "
            "map of growth regimes over two varied parameters, scatter plots of a general "
            "experiment, a table of every combination and the plan or command; its pictures "
            "(PNG, SVG and the CSV of their numbers) in the folder FILE beside it");
}

void declareDataOptions(Declare& d, BatchOptions& o, OptionTexts& t) {
    d.in("Data");
    d.value("--data", o.dataFile, "FILE", "a file",
            "load a data file (default: the built-in data with the run settings \"Set default\" "
            "proposes)");
    d.repeated("--set", t.sets, "KEY=VALUE", "KEY=VALUE",
               "set a data-file key as if typed into its field, through the program's data rules "
               "(repeatable, applied in order after loading), e.g. --set "
               "General_Suupercooling=1.5 --set N_field_W=60 --set dimension=1");
    d.flag("--porous", t.porous, "take hole defects into account (Is_includes_porosity=1)");
    d.flag("--plain", t.plain, "do not (Is_includes_porosity=0)");
    d.value("--write-data", o.writeDataFile, "FILE", "a file",
            "write the data file after the runs");
}

void declareWorkOptions(Declare& d, BatchOptions& o, OptionTexts& t) {
    d.in("What to run (one of; default a single simulation)");
    d.flag("--single", t.single, "one single simulation under the data's limits");
    d.flag("--full", t.full,
           "one full run (the probabilities of the research settings, reduced to probability "
           "zero, event 77)");
    d.value("--plan", t.plan, "FILE", "a plan file",
            "the experiment plan in FILE, from the combination its Current values name, as the "
            "desktop's Start experiment does (a stopped plan continues where it stopped; one "
            "that ran to its end is back at its start); with --test only its combinations are "
            "visited; --resume does the same as Resume experiment, and with --shard it continues "
            "the shard from its own FILE_shardKofN.csv");
    d.flag("--test", o.planTest,
           "with --plan: visit the combinations without simulating (in one process: not with "
           "--shard or --jobs)");
    d.flag("--resume", o.planResume, "with --plan: as Resume experiment");
    d.value("--general", t.general, "N", "a number of draws (a whole number above 0)",
            "the general experiment with N random draws");
    d.value("--general-seed", t.generalSeed, "S", "a whole number 0..4294967295",
            "seed of its random draws (default: the time, as the desktop program does)");
    d.flag("--research", t.research, "the search over surface energies for the data's molecule");
    d.flag("--summary", o.summary,
           "build the two summary files from the log (alone, or after any of the above)");
    d.flag("--no-run", t.noRun, "run nothing: load, set and write (with --write-data)");
}

void declareRunOptions(Declare& d, BatchOptions& o, OptionTexts& t) {
    d.in("Runs");
    d.value("--steps", t.steps, "N", "a number of steps 1..10000000",
            "also end a single simulation after N steps (event code 5)");
    d.value("--log", o.logFile, "FILE", "a file",
            "the run log (default _Quorvane_log.csv; a plan's own results log when --plan is "
            "given)");
    d.value("--record", o.recordFile, "FILE", "a file",
            "write the growth record of the last run as CSV");
    d.value("--record-every", t.recordEvery, "K", "a number of steps (a whole number above 0)",
            "keep every K-th step in the record file, and always the last");
    d.value("--record-max-mb", t.recordMaxMb, "M", "a size in megabytes from 0.01 to 1000000",
            "keep the record file under M megabytes (default 200) by keeping every second "
            "step of those kept, then every fourth..., as it fills; the file names the stride "
            "(# record_every = K)");
    d.flag("-q,--quiet", o.quiet, "no progress on standard error");
    d.flag("-h,--help", o.help, "this text");
    d.flag("--version", o.version, "the version and the commit of this build");
}

void declareStudyOptions(Declare& d, OptionTexts& t) {
    d.in("Studies");
    d.value("--jobs", t.jobs, "N", "a number of workers 0..1024 (0: one per core)",
            "with --plan or --general: spread the work over N workers of this process (0: one "
            "per core), each the shard K/N below, and join their rows into the log in the order "
            "of the plan; the same command (with or without --resume) goes on with every shard "
            "from its own file, never running a combination twice. With --full: the runs of its "
            "series over the workers (worker k makes the k-th, the (k+N)-th..., each worker "
            "from the fixed seeds), reduced as one series");
    d.value("--shard", t.shard, "K/N", "K/N with 0 <= K < N",
            "with --plan or --general: run only the combinations (draws) whose position, counted "
            "from 0, is K modulo N (a plan's shard keeps its place in FILE_shardKofN.csv beside "
            "the plan)");
}

/// The whole command line: every option of the batch runner, in help order.
void declareOptions(Declare& d, BatchOptions& o, OptionTexts& t) {
    declareDataOptions(d, o, t);
    declareWorkOptions(d, o, t);
    declareRunOptions(d, o, t);
    declareReportOptions(d, o);
    declareStudyOptions(d, t);
}

/// A whole number from 1 on, by the same number rule as the --set values.
bool parseCount(const std::string& text, long long& out) {
    return parseWholeNumber(text, 1, 1'000'000'000'000LL, out);
}

bool parseShard(const std::string& text, long long& index, long long& count) {
    auto slash = text.find('/');
    if (slash == std::string::npos) return false;
    long long parsedN = 0, parsedK = 0;
    if (!parseCount(text.substr(slash + 1), parsedN)) return false;
    if (!parseWholeNumber(text.substr(0, slash), 0, parsedN - 1, parsedK)) return false;
    index = parsedK;
    count = parsedN;
    return true;
}

ParsedOptions fail(std::string error) {
    ParsedOptions parsed;
    parsed.error = std::move(error);
    return parsed;
}

/// The values typed, turned into options; "" or what is wrong.
std::string convertValues(const OptionTexts& t, const Declare& d, BatchOptions& o) {
    for (const std::string& v : t.sets) {
        auto eq = v.find('=');
        if (eq == std::string::npos || eq == 0) return "--set needs KEY=VALUE, not \"" + v + "\"";
        if (auto error = checkSettingText(v.substr(0, eq), v.substr(eq + 1)); !error.empty())
            return error;
        o.sets.emplace_back(v.substr(0, eq), v.substr(eq + 1));
    }
    if (t.plan) o.planFile = *t.plan;
    if (t.general && !parseCount(*t.general, o.generalDraws)) return d.needs("--general");
    long long seed = 0;
    if (t.generalSeed) {
        if (!parseWholeNumber(*t.generalSeed, 0, 4294967295LL, seed))
            return d.needs("--general-seed");
        o.generalSeed = static_cast<unsigned>(seed);
    }
    if (t.steps && (!parseCount(*t.steps, o.steps) || o.steps > 10'000'000))
        return d.needs("--steps");
    if (t.jobs && !parseWholeNumber(*t.jobs, 0, 1024, o.jobs)) return d.needs("--jobs");
    if (t.recordEvery && !parseCount(*t.recordEvery, o.recordEvery))
        return d.needs("--record-every");
    if (t.recordMaxMb && (!parseFiniteDouble(*t.recordMaxMb, o.recordMaxMb) ||
                          !(o.recordMaxMb >= 0.01) || !(o.recordMaxMb <= kMaxRecordMb)))
        return d.needs("--record-max-mb");
    if (t.shard) {
        if (!parseShard(*t.shard, o.shardIndex, o.shardCount)) return d.needs("--shard");
        o.sharded = true;
    }
    if (t.porous) o.porous = true;
    if (t.plain) o.porous = false;
    return {};
}

/// The options that go only with others.
std::string checkCombinations(const OptionTexts& t, BatchOptions& o) {
    const int runModes = int(t.single) + int(t.full) + int(t.plan.has_value()) +
                         int(t.general.has_value()) + int(t.research) + int(t.noRun);
    if (runModes > 1)
        return "choose one of --single, --full, --plan, --general, --research, --no-run";
    if (t.full) o.mode = RunMode::Full;
    if (t.plan) o.mode = RunMode::Plan;
    if (t.general) o.mode = RunMode::General;
    if (t.research) o.mode = RunMode::Research;
    if (t.noRun || (runModes == 0 && (o.summary || o.reports.studyReport))) o.mode = RunMode::None;
    if ((o.planTest || o.planResume) && o.mode != RunMode::Plan)
        return "--test and --resume go with --plan";
    if (o.planTest && o.planResume) return "choose --test or --resume, not both";
    if (o.sharded && o.mode != RunMode::Plan && o.mode != RunMode::General)
        return "--shard goes with --plan or --general";
    // A test walk moves the shard's own file on without running anything: the
    // shard would then go on past combinations that never ran.
    if (o.planTest && (o.sharded || o.jobs != 1))
        return "--test walks the whole plan in one process; it does not go with --shard or --jobs";
    if ((t.recordEvery || t.recordMaxMb) && !o.recordFile)
        return "--record-every and --record-max-mb go with --record";
    if (o.jobs != 1) {
        if (o.mode != RunMode::Plan && o.mode != RunMode::General && o.mode != RunMode::Full)
            return "--jobs goes with --plan, --general or --full";
        if (o.sharded) return "--jobs runs the shards itself; it does not go with --shard";
        if (o.recordFile || o.writeDataFile)
            return "--record and --write-data keep one run's state; they do not go with --jobs "
                   "(other than 1)";
        if (o.reports.any())
            return "--report and --full-report show one run's state; they do not go with --jobs "
                   "(other than 1)";
    }
    if (o.steps > 0 && o.mode != RunMode::Single)
        return "--steps ends a single simulation; it does not go with other runs";
    if (o.generalSeed && o.mode != RunMode::General) return "--general-seed goes with --general";
    return {};
}

/// The command line parser, with the options declared and nothing parsed yet.
struct Parser {
    CLI::App app{kDescription, "quorvane-batch"};
    Declare declare{app};
    OptionTexts texts;

    explicit Parser(BatchOptions& o) {
        app.set_help_flag();  // --help is an option of its own, answered by runBatch
        app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
        app.get_formatter()->column_width(kOptionColumn);
        app.footer(kFooter);
        declareOptions(declare, o, texts);
    }
};

/// What CLI11 found wrong, in the program's own words.
std::string describe(const CLI::ParseError& error, const Parser& parser) {
    if (dynamic_cast<const CLI::ExtrasError*>(&error)) {
        const auto extras = parser.app.remaining();
        const std::string first = extras.empty() ? std::string("?") : extras.front();
        return "unknown option \"" + first + "\" (see --help)";
    }
    // "--data: 1 required FILE missing": the option's own message.
    const std::string text = error.what();
    const auto colon = text.find(':');
    if (colon != std::string::npos && text.rfind("--", 0) == 0)
        return parser.declare.needs(text.substr(0, colon));
    return text;
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
    Parser parser(o);
    std::vector<std::string> reversed(args.rbegin(),
                                      args.rend());  // CLI11 takes them back to front
    try {
        parser.app.parse(reversed);
    } catch (const CLI::ParseError& error) {
        return fail(describe(error, parser));
    }
    if (o.help || o.version) {
        parsed.ok = true;
        return parsed;
    }
    if (std::string error = convertValues(parser.texts, parser.declare, o); !error.empty())
        return fail(error);
    if (std::string error = checkCombinations(parser.texts, o); !error.empty()) return fail(error);
    std::vector<std::string> command{"quorvane-batch"};
    command.insert(command.end(), args.begin(), args.end());
    o.commandLine = shellCommand(command);
    parsed.ok = true;
    return parsed;
}

std::string batchHelpText() {
    BatchOptions unused;
    Parser parser(unused);
    return parser.app.help();
}

}  // namespace quorvane::batch
