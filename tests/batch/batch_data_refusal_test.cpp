// Data the runner must refuse before anything runs: a value that is no number,
// a negative surface share or bond length, a temperature at or below absolute
// zero, from a data file, a plan's data file or --set. Status 2, the key named,
// nothing logged.

#include <gtest/gtest.h>

#include "batch_fixture.h"

namespace quorvane {
namespace {

class DataRefusalTest : public BatchRunnerTest {
  protected:
    /// growing.csv with the line of `key` replaced by "key,value".
    std::string dataWith(const std::string& key, const std::string& value) {
        std::string data = read("growing.csv");
        const std::size_t at = data.find("\n" + key + ",") + 1;
        EXPECT_NE(at, 0u) << key;
        data.replace(at, data.find('\n', at) - at, key + "," + value);
        return data;
    }
    void expectRefusedNamingIt(int status, const std::string& key, const std::string& what) {
        EXPECT_EQ(status, 2) << key << "=" << what;
        EXPECT_NE(read("stderr.txt").find(key), std::string::npos) << read("stderr.txt");
        EXPECT_FALSE(exists("_Quorvane_log.csv")) << key << "=" << what;
        EXPECT_FALSE(exists("cold_results.csv"));
    }
};

TEST_F(DataRefusalTest, BadValuesInADataFileOrAPlansDataFileRunNothing) {
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases{
        {"Temperature", {"0", "-5", "nan", "abc", "1600abc"}},
        {"Temperature_of_Liquidus", {"0", "-1e9", "inf"}},
        {"Parts_of_surface_for_edges", {"abc", "0.3abc", "-1", "nan", "<script>", "_etf|_etf|"}},
        {"Parts_of_surface_for_vertices", {"abc", "0.3abc", "-1", "nan"}},
        {"Characterictic_length_of_bond", {"abc,A", "0.3abc,A", "-1,A", "nan,A"}},
        {"Size_A", {"1e999", "0x", "--6"}},
        {"N_field_W", {"16.5", "many"}},
        {"Chart_show_curves", {"1,x,1"}},
        {"Random_argument__3", {"E,0,nan"}},
    };
    for (const auto& [key, values] : cases) {
        for (const std::string& value : values) {
            temp_.write("bad.csv", dataWith(key, value));
            // Nor does a report show a text that is no number, as markup or placeholders.
            const auto args =
                quick({"--data", "bad.csv", "--report", "r.html", "--full-report", "f.html"});
            expectRefusedNamingIt(runBatch(folder(), args), key, value);
            EXPECT_FALSE(exists("f.html") || exists("r.html"));
        }
    }
    // A plan's data file is held to the same rule; so is a plan that steps the
    // temperature below absolute zero (it would run with the temperature before).
    const std::string plan = "The_file_of_experiment_tasks_for_Quorvane\n";
    temp_.write("bad.csv", dataWith("Temperature", "0"));
    temp_.write("p.csv", plan + "bad.csv\ncold_results.csv\n4, 1600, 1650, 1600, 1\n");
    expectRefusedNamingIt(runBatch(folder(), quick({"--plan", "p.csv"})), "Temperature", "0");
    temp_.write("p.csv", plan + "growing.csv\ncold_results.csv\n4, -10, 10, -10, 2\n");
    expectRefusedNamingIt(runBatch(folder(), quick({"--plan", "p.csv"})), "Temperatura", "-10");
}

TEST_F(DataRefusalTest, BadValuesSetByHandRunNothing) {
    for (const char* setting :
         {"Temperature=0", "Temperature=-273", "Temperature=nan", "Temperature_of_Liquidus=0",
          "Temperature_of_Melt=-1", "Characterictic_length_of_bond=-1",
          "Parts_of_surface_for_edges=0.3abc", "Parts_of_surface_for_vertices=-0.5"}) {
        const int status = runBatch(folder(), quick({"--data", "growing.csv", "--set", setting}));
        const std::string key = std::string(setting).substr(0, std::string(setting).find('='));
        expectRefusedNamingIt(status, key, setting);
    }
    // In Celsius 0 is a temperature like any other.
    EXPECT_EQ(
        runBatch(folder(), quick({"--data", "growing.csv", "--steps", "5", "--set", "system=2",
                                  "--set", "temperature=1", "--set", "Temperature=0"})),
        0)
        << read("stderr.txt");
}

}  // namespace
}  // namespace quorvane
