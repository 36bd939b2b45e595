#include "experiments/study.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "common/cformat.h"
#include "experiments/study_map.h"
#include "experiments/study_origin.h"
#include "model/theory.h"
#include "support/study_log_builder.h"
#include "support/temp_folder.h"

namespace quorvane {
namespace {

using testing::LogCells;

Study build(const std::vector<LogCells>& rows, const StudyOrigin& origin = {},
            const std::optional<std::string>& table = std::nullopt) {
    std::string error;
    std::optional<StudyLog> log = parseStudyLog(testing::logText(rows), error);
    EXPECT_TRUE(log) << error;
    if (!log) return {};
    assignRegimes(*log, table);
    StudyReading reading = buildStudy(std::move(*log), origin);
    EXPECT_TRUE(reading.study) << reading.error;
    return reading.study ? std::move(*reading.study) : Study{};
}

std::vector<std::string> keys(const Study& s) {
    std::vector<std::string> k;
    for (const StudyParameter& p : s.parameters) k.push_back(p.key);
    return k;
}

const StudyCombination& at(const Study& s, const std::vector<double>& values) {
    for (const StudyCombination& c : s.combinations)
        if (c.values == values) return c;
    ADD_FAILURE() << "no such combination";
    return s.combinations.front();
}

LogCells run(const char* dG, const char* Sm, const char* rate) {
    return {{"dG", dG}, {"Sm", Sm}, {"Av.Rate as part cont.", rate}};
}

TEST(Study, RepeatedRunsOfACombinationGiveTheirMeanAndSampleSpread) {
    const Study s = build({run("0.5", "2", "0.8"), run("1.5", "2", "0.1"), run("0.5", "4", "0.5"),
                           run("1.5", "4", "0.7"), run("0.5", "2", "0.9"), run("1.5", "2", "0.2"),
                           run("1.5", "4", "0.7"), run("1.5", "2", "0.6")});
    EXPECT_EQ(s.kind, StudyKind::Plan);
    ASSERT_EQ(keys(s), (std::vector<std::string>{"dG", "Sm"}));
    ASSERT_EQ(s.combinations.size(), 4u);
    const Statistic pair = at(s, {0.5, 2}).measured[kStudyRate];
    EXPECT_EQ(pair.count, 2);
    EXPECT_NEAR(pair.mean, 0.85, 1e-12);
    EXPECT_NEAR(pair.spread, std::sqrt(0.005), 1e-12);  // n - 1, not n
    const Statistic three = at(s, {1.5, 2}).measured[kStudyRate];
    EXPECT_EQ(three.count, 3);
    EXPECT_NEAR(three.mean, 0.3, 1e-12);
    EXPECT_NEAR(three.spread, std::sqrt(0.07), 1e-12);
    EXPECT_EQ(at(s, {0.5, 4}).measured[kStudyRate].spread, 0);
    EXPECT_EQ(at(s, {1.5, 4}).measured[kStudyRate].spread, 0);
    // The runs of a combination in log order, by their rows.
    std::vector<long long> rows;
    for (std::size_t r : at(s, {1.5, 2}).runs) rows.push_back(s.log.rows[s.runs[r].row].logRow);
    EXPECT_EQ(rows, (std::vector<long long>{2, 6, 8}));

    // Against sigma': one line per dG', each ascending in sigma'.
    const auto series = seriesAgainst(s, 1);
    ASSERT_EQ(series.size(), 2u);
    EXPECT_EQ(series[0].others, std::vector<double>{0.5});
    ASSERT_EQ(series[1].combinations.size(), 2u);
    EXPECT_EQ(s.combinations[series[1].combinations[0]].values, (std::vector<double>{1.5, 2}));
    EXPECT_EQ(s.combinations[series[1].combinations[1]].values, (std::vector<double>{1.5, 4}));
}

TEST(Study, TheResultsAreTheReducedRowsOfFullRunsAndNeverAnInterruptedRun) {
    Study s = build({{{"Event", "3"}, {"Av.Rate as part cont.", "0.1"}},
                     {{"Event", "3"}, {"Av.Rate as part cont.", "0.2"}},
                     {{"Event", "77"}, {"Av.Rate as part cont.", "0.5"}},
                     {{"Event", "10"}, {"Av.Rate as part cont.", "0.9"}}});
    EXPECT_TRUE(s.reducedResults);
    EXPECT_EQ(s.interruptedRows, 1);
    ASSERT_EQ(s.runs.size(), 1u);
    EXPECT_EQ(s.kind, StudyKind::Single);
    EXPECT_EQ(s.combinations[0].measured[kStudyRate].mean, 0.5);

    s = build({{{"Event", "3"}, {"Av.Rate as part cont.", "0.1"}},
               {{"Event", "0"}, {"Av.Rate as part cont.", "0.3"}},
               {{"Event", "10"}, {"Av.Rate as part cont.", "0.9"}}});
    EXPECT_FALSE(s.reducedResults);
    EXPECT_EQ(s.runs.size(), 2u);
    EXPECT_NEAR(s.combinations[0].measured[kStudyRate].mean, 0.2, 1e-12);
}

TEST(Study, ValuesThatFollowFromTheVariedOnesAreNotParametersOfTheirOwn) {
    // A temperature moves dG' and sigma' with it: one parameter, the theory's own.
    const std::vector<LogCells> temperatures = {{{"T", "1600"}, {"dG", "1"}, {"Sm", "3"}},
                                                {{"T", "1650"}, {"dG", "0.48"}, {"Sm", "2.9"}}};
    EXPECT_EQ(keys(build(temperatures)), std::vector<std::string>{"dG"});
    StudyOrigin plan;
    plan.plan = std::vector<task>{{kKindTemperature, 1600, 1650, 1}};
    EXPECT_EQ(keys(build(temperatures, plan)), std::vector<std::string>{"T"});

    // Temperature and surface energy: dG' follows T alone, sigma' both, so
    // dG' and sigma' span no grid; dG' and the surface energy do.
    std::vector<LogCells> grid;
    for (const char* T : {"1600", "1650"})
        for (const char* e : {"2e-20", "3e-20"})
            grid.push_back({{"T", T},
                            {"Surf.energy", e},
                            {"dG", std::string(T) == "1600" ? "1" : "0.48"},
                            {"Sm", cformat("%g", std::atof(e) * 1e20 / std::atof(T)).c_str()}});
    const Study s = build(grid);
    EXPECT_EQ(keys(s), (std::vector<std::string>{"dG", "Surf.energy"}));
    EXPECT_EQ(s.kind, StudyKind::Plan);

    // A plan of a ratio: computed from the axes.
    plan.plan = std::vector<task>{{kKindRatioAB, 1, 2, 1}};
    const Study ratio = build({{{"a", "0.6"}}, {{"a", "1.2"}}}, plan);
    ASSERT_EQ(keys(ratio), std::vector<std::string>{"a/b"});
    EXPECT_EQ(ratio.combinations[1].values, std::vector<double>{2});
}

TEST(Study, DrawnValuesMakeAGeneralExperimentAndAStoppedGridStaysAPlan) {
    std::vector<LogCells> draws;
    for (int k = 0; k < 5; ++k)
        draws.push_back({{"a", cformat("%g", 0.3 + 0.11 * k)},
                         {"dG", cformat("%g", 0.2 + 0.37 * ((k * 3) % 5))},
                         {"Sm", cformat("%g", 1 + 0.9 * ((k * 2) % 5))}});
    const Study general = build(draws);
    EXPECT_EQ(general.kind, StudyKind::General);
    EXPECT_EQ(keys(general), (std::vector<std::string>{"a", "dG", "Sm"}));
    EXPECT_EQ(general.combinations.size(), 5u);

    const Study stopped =
        build({run("0.5", "2", "0.8"), run("0.5", "4", "0.7"), run("1.5", "2", "0.9")});
    EXPECT_EQ(stopped.kind, StudyKind::Plan);
    StudyOrigin told;
    told.general = true;
    EXPECT_EQ(build({run("0.5", "2", "0.8"), run("1.5", "4", "0.7")}, told).kind,
              StudyKind::General);
}

TEST(Study, AResultARunDidNotGiveIsLeftOutNotCountedAsZero) {
    const Study s = build({{{"Time To Fill Layer", "0"}, {"Porosity", "n/a"}},
                           {{"Time To Fill Layer", "0.004"}, {"Porosity", "n/a"}}});
    EXPECT_FALSE(s.porosityMeasured);
    EXPECT_EQ(s.combinations[0].measured[kStudyPorosity].count, 0);
    EXPECT_EQ(s.combinations[0].measured[kStudyFillTime].count, 1);
    EXPECT_EQ(s.combinations[0].measured[kStudyFillTime].mean, 0.004);

    // Runs with and without hole defects are not repeats of each other.
    const Study mixed =
        build({{{"Porosity", "0.02"}}, {{"Porosity", "n/a"}}, {{"Porosity", "0.04"}}});
    ASSERT_EQ(keys(mixed), std::vector<std::string>{"porous"});
    EXPECT_TRUE(mixed.porosityMeasured);
    EXPECT_NEAR(at(mixed, {1}).measured[kStudyPorosity].mean, 0.03, 1e-12);
    EXPECT_EQ(at(mixed, {0}).measured[kStudyPorosity].count, 0);
}

TEST(Study, RegimesComeFromTheTableWhereItFollowsTheLogElseFromTheMechanism) {
    const std::string header = "log_row,Date,Event,Prob. be in,regime,reason\n";
    const std::string table = header + "1,01/02/24 10:00:00,77,0,nucleation,layer by layer\n" +
                              "2,01/01/24 09:00:00,77,0,intermediate,weakly activated\n" +
                              "3,01/02/24 10:00:00,77,0,nucl";  // torn: names nothing
    const Study s = build({{}, {}, {}}, {}, table);
    EXPECT_EQ(s.regimesFromTable, 1);
    EXPECT_EQ(s.log.rows[0].regime, GrowthRegime::Nucleation);
    EXPECT_EQ(s.log.rows[1].regime, GrowthRegime::Continuous);  // an older log's line
    EXPECT_EQ(s.log.rows[2].regime, GrowthRegime::Continuous);
    const StudyCombination& c = s.combinations[0];
    EXPECT_EQ(c.regime, GrowthRegime::Continuous);
    EXPECT_FALSE(c.unanimous());
    EXPECT_EQ(c.regimeCounts[std::size_t(GrowthRegime::Continuous)], 2);

    // On a tie the regime met first; the mechanism codes as the log writes them.
    const Study tie = build({{{"TypeOfGrowthMech", "0"}}, {{"TypeOfGrowthMech", "2"}}});
    EXPECT_EQ(tie.combinations[0].regime, GrowthRegime::Nucleation);
    EXPECT_EQ(tie.log.rows[1].regime, GrowthRegime::Intermediate);
    EXPECT_EQ(regimeOfMechanism(3), GrowthRegime::Undetermined);
}

TEST(Study, TheTheoryIsHalviksForTheDataOfTheRow) {
    const Study s = build({{{"a", "0.8"}, {"b", "0.6"}, {"c", "0.5"}, {"dG", "1.2"}, {"Sm", "4"}}});
    const LateralShareResult shares = LateralShares(0.8, 0.6, 0.5, 0.25, 0.05);
    const HalvikResult h = HalvikPrediction(1.2, 4, shares.lambda1, shares.lambda2);
    ASSERT_TRUE(h.defined);
    const auto& theory = s.combinations[0].theory.value;
    EXPECT_EQ(theory[kStudyRate], h.K);
    EXPECT_EQ(theory[kStudyRoughness], h.roughness);
    EXPECT_EQ(theory[kStudyPorosity], h.porosity);
    EXPECT_DOUBLE_EQ(*theory[kStudyFillTime], 0.8 / (h.K * 600));

    // The regime the theory names is the branch its rate comes from.
    for (double g : {0.05, 0.3, 1.0, 3.0})
        for (double sigma : {1.0, 3.0, 6.0, 9.0}) {
            const HalvikResult r = HalvikPrediction(g, sigma, shares.lambda1, shares.lambda2);
            const auto regime = theoryRegime(g, sigma, shares.lambda1, shares.lambda2);
            if (!r.defined) continue;
            ASSERT_TRUE(regime);
            EXPECT_EQ(*regime == GrowthRegime::Continuous, r.K == 1) << g << " " << sigma;
        }
}

TEST(Study, LogsThatMakeNoStudyAreRefusedWithTheirReason) {
    std::string error;
    std::string header = runLogHeader();
    EXPECT_FALSE(parseStudyLog(header.replace(header.find("\"Svrt\""), 6, "\"Sv\""), error));
    EXPECT_NE(error.find("\"Svrt\""), std::string::npos);
    EXPECT_FALSE(parseStudyLog("", error));

    std::string text = testing::logText({{}, {}});
    text.resize(text.size() - 20);  // the last row cut off by a full disk
    const auto log = parseStudyLog(text, error);
    ASSERT_TRUE(log);
    EXPECT_EQ(log->rows.size(), 1u);
    EXPECT_EQ(log->tornRows, 1);
    EXPECT_EQ(log->unitOf("T"), "K, grad");  // a unit with a comma in its quotes
    EXPECT_EQ(log->unitOf("dG"), "");

    const auto interrupted = parseStudyLog(testing::logText({{{"Event", "10"}}}), error);
    ASSERT_TRUE(interrupted);
    EXPECT_EQ(buildStudy(*interrupted, {}).error, "it holds no finished run");
}

TEST(Study, TheMapPlacesEveryCombinationAndCarriesTheTheoryBetweenThem) {
    std::vector<LogCells> rows;
    for (const char* Sm : {"2", "6"})
        for (const char* dG : {"0.2", "1", "2"}) rows.push_back({{"Sm", Sm}, {"dG", dG}});
    const Study s = build(rows);
    const RegimeGrid grid = regimeGrid(s, 1, 0);  // sigma' across, dG' up
    EXPECT_EQ(grid.xs, (std::vector<double>{2, 6}));
    EXPECT_EQ(grid.ys, (std::vector<double>{0.2, 1, 2}));
    ASSERT_TRUE(grid.at(1, 2));
    EXPECT_EQ(s.combinations[*grid.at(1, 2)].values, (std::vector<double>{2, 6}));

    const StudyTheory& t = s.combinations[0].theory;
    for (auto [x, y] :
         {std::pair(2.0, 0.2), std::pair(4.0, 0.6), std::pair(5.5, 1.7), std::pair(7.0, 2.4)})
        EXPECT_EQ(theoryRegimeAt(s, grid, x, y), theoryRegime(y, x, t.lambda1, t.lambda2))
            << x << " " << y;
}

TEST(Study, ThePlanIsFoundBesideTheLogThatItsThirdLineNames) {
    testing::TempFolder folder;
    const std::string plan =
        "The_file_of_experiment_tasks_for_Quorvane\ndata.csv\nlog.csv\n"
        "1, 2, 6, 2, 4\n0, 0.5, 1.5, 0.5, 2\n";
    const auto rows = readPlanRows(plan);
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->rows.size(), 2u);
    EXPECT_EQ(rows->rows[1].kind, kKindGeneralSupercooling);
    EXPECT_EQ(rows->rows[0].steps, 4);
    EXPECT_FALSE(readPlanRows("Content,Data\n"));

    const std::string log = folder.write("log.csv", runLogHeader());
    folder.write("plan.csv", plan);
    folder.write("plan_shard0of2.csv", plan);  // a shard's copy is not the plan
    folder.write("other.csv", "The_file_of_experiment_tasks_for_Quorvane\nd.csv\nelse.csv\n");
    EXPECT_EQ(findPlanOfLog(log), folder.file("plan.csv"));
    const StudyOrigin origin = studyOrigin(log, std::nullopt, false, "");
    ASSERT_TRUE(origin.plan);
    EXPECT_EQ(origin.plan->size(), 2u);
    EXPECT_FALSE(studyOrigin(log, std::nullopt, true, "").plan);  // a general experiment has none
    folder.write("copy.csv", plan);
    EXPECT_FALSE(findPlanOfLog(log));  // two plans name it: neither surely made it

    EXPECT_EQ(shellCommand({"quorvane-batch", "--log", "my log.csv", "it's", "--set", "a=1"}),
              "quorvane-batch --log 'my log.csv' 'it'\\''s' --set a=1");
}

}  // namespace
}  // namespace quorvane
