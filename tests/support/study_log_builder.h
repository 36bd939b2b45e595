#pragma once
// Run logs written by hand for the tests of studies: every row a full set of
// quoted cells, the cells a test does not name taken from one plain run.

#include <map>
#include <string>
#include <vector>

#include "experiments/run_log.h"

namespace quorvane::testing {

using LogCells = std::map<std::string, std::string>;

inline std::string defaultLogCell(const std::string& name) {
    static const LogCells defaults = {{"Date", "01/02/24 10:00:00"},
                                      {"Event", "77"},
                                      {"a", "0.6"},
                                      {"b", "0.6"},
                                      {"c", "0.6"},
                                      {"T", "1600"},
                                      {"dG", "1"},
                                      {"Sm", "3"},
                                      {"Sedg", "0.25"},
                                      {"Svrt", "0.05"},
                                      {"Vc", "600"},
                                      {"Porosity", "n/a"},
                                      {"TypeOfGrowthMech", "1"},
                                      {"Time To Fill Layer", "0.001"},
                                      {"Av.Rate as part cont.", "0.8"},
                                      {"Roughness", "1.5"}};
    const auto found = defaults.find(name);
    return found == defaults.end() ? "0" : found->second;
}

/// One data row of the log, ended by a line feed.
inline std::string logRow(const LogCells& cells) {
    std::string line;
    for (std::size_t i = 0; i < kRunLogColumns.size(); ++i) {
        const std::string name = kRunLogColumns[i].name;
        const auto found = cells.find(name);
        line += (i == 0 ? "\"" : ",\"") +
                (found == cells.end() ? defaultLogCell(name) : found->second) + "\"";
    }
    return line + "\n";
}

/// The two header lines and the rows.
inline std::string logText(const std::vector<LogCells>& rows) {
    std::string text = runLogHeader();
    for (const LogCells& row : rows) text += logRow(row);
    return text;
}

}  // namespace quorvane::testing
