// The values a data file may hold where its key holds a number, and what
// happens to a file that holds any other.

#include <gtest/gtest.h>

#include <climits>

#include "document_fixture.h"
#include "model/data_file.h"
#include "support/temp_folder.h"

namespace quorvane {
namespace {

using testing::DocumentFixture;
using testing::TempFolder;

struct DataFileValues : ::testing::Test {
    TempFolder folder;
    DocumentFixture f;

    DataFileReadResult read(const std::string& text) {
        return ReadDataFile(folder.write("in.csv", text), f.doc, f.platform);
    }
};

TEST_F(DataFileValues, NumbersOutsideTheirRangesLeaveTheDataSound) {
    auto before = f.snapshot();
    ASSERT_TRUE(read("Content,Data\nSize_A\nN_field_W,99999999999999999999\n"
                     "N_field_H,0\ndimension,6\ntime,-1\nsystem,3\naccuracy,1000\n"
                     "Paint_temp_curve_with_zoom,5\nSheme_for_running_with_porosity,4\n"
                     "N_terms_inInterpolation,11\nRandom_argument__3,E,0,-1,0.5,0,0,1,1\n")
                    .loaded());
    EXPECT_EQ(f.data.Size_A, before.data.Size_A);
    EXPECT_EQ(f.run.N_field_W, INT_MAX);
    EXPECT_EQ(f.run.N_field_H, 160);
    EXPECT_EQ(f.data.units(), before.data.units());
    EXPECT_EQ(f.data.accuracy, 20);
    EXPECT_EQ(f.data.Paint_temp_curve_with_zoom, 0.999);
    EXPECT_EQ(f.research.Sheme_for_running_with_porosity, 1);
    EXPECT_EQ(f.research.N_terms_inInterpolation, 2);
    EXPECT_EQ(f.arguments[kArgumentEdgesWeight].bins, std::vector<double>{1});
    EXPECT_TRUE(f.platform.messages.empty());
}

TEST_F(DataFileValues, AValueThatIsNoNumberRefusesTheFileNamingIt) {
    // Atof would read these as 0, 0.3, NaN...: a run would go on with values the
    // file never gave, and a text kept raw would reach the reports.
    const auto before = f.snapshot();
    const std::vector<std::pair<std::string, std::string>> bad{
        {"Size_B,nan", "Size_B: \"nan\" is not a number"},
        {"Surface,1e999", "Surface: \"1e999\" is not a number"},
        {"Molecular_Weight,0.3abc", "Molecular_Weight: \"0.3abc\" is not a number"},
        {"N_field_W,16.5", "N_field_W: \"16.5\" is not a whole number"},
        {"Parts_of_surface_for_edges,<script>",
         "Parts_of_surface_for_edges: \"<script>\" is not a number"},
        {"Parts_of_surface_for_vertices,-1", "Parts_of_surface_for_vertices: \"-1\" is below 0"},
        {"Characterictic_length_of_bond,abc,A",
         "Characterictic_length_of_bond: \"abc\" is not a number"},
        {"Chart_show_curves,1,x,1", "Chart_show_curves: \"x\" is not a number"},
        {"Random_argument__3,E,0,nan", "Random_argument__3: \"nan\" is not a number"},
        {"Temperature,0", "Temperature: 0 K is not above absolute zero"},
        {"temperature,1\nTemperature_of_Liquidus,-300",
         "Temperature_of_Liquidus: -300 C is not above absolute zero"},
    };
    for (const auto& [line, problem] : bad) {
        f.platform.messages.clear();
        const DataFileReadResult result = read("Content,Data\nSize_A,9\n" + line + "\n");
        EXPECT_EQ(result.status, DataFileReadStatus::BadValue) << line;
        EXPECT_EQ(result.problems, std::vector<std::string>{problem}) << line;
        EXPECT_EQ(f.platform.messages,
                  std::vector<std::string>{"It is not correct file for reading data\n" + problem});
        EXPECT_TRUE(f.snapshot() == before) << line;
    }
    // Every bad line is named at once.
    EXPECT_EQ(read("Content,Data\nSize_A,x\nSize_B,y\n").problems.size(), 2u);
}

}  // namespace
}  // namespace quorvane
