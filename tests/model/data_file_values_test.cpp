// Numbers a data file may hold outside the ranges of their quantities: read
// by the rules of each (a file holding no number where one belongs is refused
// whole: tests/batch/batch_data_refusal_test.cpp).

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

}  // namespace
}  // namespace quorvane
