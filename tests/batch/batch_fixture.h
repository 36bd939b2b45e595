#pragma once
// The batch runner's test folder: example files copied in, logs read back.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "batch_process.h"
#include "common/file_io.h"
#include "common/text.h"
#include "support/temp_folder.h"

namespace quorvane {

namespace fs = std::filesystem;
using testing::runBatch;

class BatchRunnerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"growing.csv", "small_plan.csv"})
            fs::copy_file(fs::path(QUORVANE_SOURCE_DIR) / "examples" / name, dir_ / name);
    }
    std::string folder() const { return temp_.path(); }
    std::string read(const std::string& name) const {
        return readWholeFile(temp_.file(name)).value_or("");
    }
    bool exists(const std::string& name) const { return temp_.exists(name); }

    /// Log rows without their date cells, which differ from run to run.
    std::vector<std::string> rowsWithoutDates(const std::string& name) const {
        std::istringstream in(read(name));
        std::vector<std::string> rows;
        std::string line;
        for (int n = 0; readLine(in, line); ++n)
            if (n >= 2) rows.push_back(line.substr(line.find("\",\"") + 3));
        return rows;
    }
    /// The event-77 rows' temperature and surface energy, as text.
    std::set<std::string> reducedCombinations(const std::string& name) const {
        std::set<std::string> out;
        for (const std::string& row : rowsWithoutDates(name)) {
            auto cells = splitFields(row, ",");
            if (cells[0] == "77\"") out.insert(cells[14] + "/" + cells[20]);
        }
        return out;
    }

    /// The quick settings followed by `extra`.
    std::vector<std::string> quick(const std::vector<std::string>& extra) const {
        std::vector<std::string> all = quick_;
        all.insert(all.end(), extra.begin(), extra.end());
        return all;
    }
    /// Number of rows of a log with this event code.
    int rowsWithCode(const std::string& name, int code) const {
        int n = 0;
        for (const std::string& row : rowsWithoutDates(name))
            if (row.rfind(std::to_string(code) + "\",", 0) == 0) ++n;
        return n;
    }

    /// Small and quick: a 16 x 16 field, two layers.
    const std::vector<std::string> quick_ = {"--quiet",      "--set", "N_field_W=16",  "--set",
                                             "N_field_H=16", "--set", "Layers_limit=2"};
    testing::TempFolder temp_;
    fs::path dir_ = temp_.path();
};

}  // namespace quorvane
