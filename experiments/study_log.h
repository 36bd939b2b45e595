#pragma once
/// A run log read back for a study: its column names and units, its rows as
/// numbers, and the growth regime of every row, from the table of regimes
/// beside the log where it follows the log, else from the row's own
/// mechanism code.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/growth_regime.h"

namespace quorvane {

/// One data row of the log.
struct StudyLogRow {
    long long logRow = 0;        ///< 1 for the first row under the two header lines
    std::string date;            ///< the "Date" cell as written
    std::vector<double> values;  ///< every cell read as a number ("n/a" reads 0)
    bool porous = false;         ///< the run took hole defects into account
    GrowthRegime regime = GrowthRegime::Undetermined;
    bool regimeFromTable = false;  ///< the table of regimes named it
};

struct StudyLog {
    std::vector<std::string> names;  ///< the first header line
    std::vector<std::string> units;  ///< the second
    std::vector<StudyLogRow> rows;
    long long tornRows = 0;  ///< lines that are no whole row (a cut-off write)

    /// Index of the column of that name, or -1.
    int column(std::string_view name) const;
    /// The unit of a column as the log's second line gives it ("" for none).
    std::string unitOf(std::string_view name) const;
};

/// The columns a study reads, by their names in the log's first line.
inline constexpr const char* kStudyLogColumns[] = {"Date",
                                                   "Event",
                                                   "a",
                                                   "b",
                                                   "c",
                                                   "Sedg",
                                                   "Svrt",
                                                   "dG",
                                                   "Sm",
                                                   "Vc",
                                                   "Av.Rate as part cont.",
                                                   "Time To Fill Layer",
                                                   "Roughness",
                                                   "Porosity",
                                                   "TypeOfGrowthMech"};

/// Reads the text of a run log. Nothing and `error` set when it is no run log
/// (no header, or a column the study needs is missing).
std::optional<StudyLog> parseStudyLog(std::string_view text, std::string& error);

/// Gives every row its growth regime: from the line of `table` (the text of the
/// table of regimes, when there is one) that names the row by number, date
/// and event; from the row's mechanism code where the table has no such line
/// (a table of an older log of the same name, or none). Returns how many rows
/// took theirs from the table.
long long assignRegimes(StudyLog& log, const std::optional<std::string>& table);

/// The regime a mechanism code of the log names: 0 nucleation, 1 continuous,
/// 2 intermediate, anything else undetermined.
GrowthRegime regimeOfMechanism(int code);

/// The cells of a comma-separated line, empty ones kept, quotes around a cell removed.
std::vector<std::string> csvCells(std::string_view line);

}  // namespace quorvane
