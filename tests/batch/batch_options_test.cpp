// The command line: every option reaches its field, every mistake its message.

#include "batch/batch_options.h"

#include <gtest/gtest.h>

namespace quorvane::batch {
namespace {

ParsedOptions parse(std::vector<std::string> args) {
    return parseBatchOptions(args);
}

TEST(BatchOptions, EveryOptionReachesItsField) {
    auto p = parse({"--data", "d.csv", "--set", "A=1", "--set", "B=x=y", "--plain", "--log",
                    "l.csv", "--plan", "p.csv", "--resume", "--jobs", "0", "--summary", "-q"});
    ASSERT_TRUE(p.ok) << p.error;
    const BatchOptions& o = p.options;
    EXPECT_EQ(o.dataFile, "d.csv");
    ASSERT_EQ(o.sets.size(), 2u);  // repeated, in order, split at the first "="
    EXPECT_EQ(o.sets[1], (std::pair<std::string, std::string>{"B", "x=y"}));
    EXPECT_EQ(o.porous, false);
    EXPECT_EQ(o.logFile, "l.csv");
    EXPECT_EQ(o.mode, RunMode::Plan);
    EXPECT_EQ(o.planFile, "p.csv");
    EXPECT_TRUE(o.planResume && o.summary && o.quiet);
    EXPECT_EQ(o.jobs, 0);

    p = parse({"--steps", "1e3", "--record", "r.csv", "--record-every", "0x10", "--record-max-mb",
               "0.5", "--log", "a.csv", "--log", "b.csv"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.options.mode, RunMode::Single);
    EXPECT_EQ(p.options.steps, 1000);
    EXPECT_EQ(p.options.recordEvery, 16);
    EXPECT_EQ(p.options.recordMaxMb, 0.5);
    EXPECT_EQ(p.options.logFile, "b.csv");  // the last one counts

    p = parse({"--general", "60", "--general-seed", "0", "--shard", "1/3"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.options.generalDraws, 60);
    EXPECT_EQ(p.options.generalSeed, 0u);
    EXPECT_TRUE(p.options.sharded);
    EXPECT_EQ(p.options.shardIndex, 1);
    EXPECT_EQ(p.options.shardCount, 3);

    p = parse({"merge", "out.csv", "a.csv", "b.csv"});
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.options.mergeInputs, (std::vector<std::string>{"a.csv", "b.csv"}));
    EXPECT_TRUE(parse({"--summary"}).options.mode == RunMode::None);
}

TEST(BatchOptions, MistakesGetTheProgramsOwnMessages) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--frobnicate"}, "unknown option \"--frobnicate\" (see --help)"},
        {{"stray"}, "unknown option \"stray\" (see --help)"},
        {{"--data"}, "--data needs a file"},
        {{"--plan"}, "--plan needs a plan file"},
        {{"--set", "novalue"}, "--set needs KEY=VALUE, not \"novalue\""},
        {{"--steps", "0"}, "--steps needs a number of steps 1..10000000"},
        {{"--steps", "1.5"}, "--steps needs a number of steps 1..10000000"},
        {{"--general", "abc"}, "--general needs a number of draws (a whole number above 0)"},
        {{"--general", "1", "--general-seed", "-1"},
         "--general-seed needs a whole number 0..4294967295"},
        {{"--plan", "p.csv", "--shard", "2/2"}, "--shard needs K/N with 0 <= K < N"},
        {{"--plan", "p.csv", "--jobs", "2000"},
         "--jobs needs a number of workers 0..1024 (0: one per core)"},
        {{"--full", "--research"},
         "choose one of --single, --full, --plan, --general, --research, --no-run"},
        {{"--test"}, "--test and --resume go with --plan"},
        {{"--research", "--jobs", "2"}, "--jobs goes with --plan, --general or --full"},
        {{"--record-every", "5"}, "--record-every and --record-max-mb go with --record"},
        {{"--record", "r.csv", "--record-max-mb", "0.001"},
         "--record-max-mb needs a size in megabytes from 0.01 to 1000000"},
        {{"--full", "--steps", "5"},
         "--steps ends a single simulation; it does not go with other runs"},
        {{"merge", "out.csv"}, "merge needs an output log and at least one input log"},
    };
    for (const auto& [args, message] : cases) {
        auto p = parse(args);
        EXPECT_FALSE(p.ok) << args[0];
        EXPECT_EQ(p.error, message) << args[0];
    }
}

TEST(BatchOptions, HelpNamesEveryOption) {
    ASSERT_TRUE(parse({"--help"}).options.help);
    const std::string help = batchHelpText();
    for (const char* option : {"--data FILE",
                               "--set KEY=VALUE",
                               "--porous",
                               "--plain",
                               "--write-data FILE",
                               "--single",
                               "--full",
                               "--plan FILE",
                               "--test",
                               "--resume",
                               "--general N",
                               "--general-seed S",
                               "--research",
                               "--summary",
                               "--no-run",
                               "--steps N",
                               "--log FILE",
                               "--record FILE",
                               "--record-every K",
                               "--record-max-mb M",
                               "--jobs N",
                               "--study-report FILE.html",
                               "--shard K/N",
                               "-q,--quiet",
                               "-h,--help",
                               "merge OUT.csv IN.csv",
                               "Exit status: 0 done"})
        EXPECT_NE(help.find(option), std::string::npos) << option;
    for (std::size_t at = 0, end; at < help.size(); at = end + 1) {
        end = help.find('\n', at);
        if (end == std::string::npos) end = help.size();
        EXPECT_LE(end - at, 90u) << help.substr(at, end - at);
    }
}

}  // namespace
}  // namespace quorvane::batch
