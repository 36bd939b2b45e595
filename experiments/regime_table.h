#pragma once
/// The growth regimes of a study: a table beside the run log, one line per
/// logged run, so that a plan or a general experiment reads as a map of regimes.
/// The log's own columns stay as they are; the table is keyed by the number of
/// the run's row in the log (1 for the first row under the two header lines) and
/// repeats the row's date, event and the values a study varies.

#include <string>
#include <vector>

#include "engine/growth_regime.h"

namespace quorvane {

/// The table of the log at `logPath`: the path up to its first ".csv" followed by
/// "_Quorvane_regimes.csv".
std::string regimeTablePath(const std::string& logPath);

/// The table's one header line, ended by a line feed.
std::string regimeTableHeader();

/// One line of the table for the log row number `logRow` whose text (as written
/// in the log) is `logRowText`, ended by a line feed.
std::string regimeTableRow(long long logRow, const std::string& logRowText,
                           const GrowthRegimeAssessment& assessment);

/// Adds the regime of the row just appended to the log at `logPath` (its last
/// row) to the table, whole or not at all; a table that belonged to an earlier
/// log of that name (the log holds its first row) starts again. False when the
/// log or the table cannot be read or written; the log is never touched.
bool recordRegime(const std::string& logPath, const GrowthRegimeAssessment& assessment);

/// After the rows of the logs `sources` have been added to the log at `logPath`,
/// in that order and as its last rows: adds the lines of the sources' tables to
/// its table, numbered by the rows they have now. Parts of one study (a run's
/// worker logs) go once joined, and so do their tables; with `mergedAnew` the log
/// was written anew from sources that stay (shard logs merged), so the table is
/// written anew and the sources' tables stay. Returns "" or what went wrong.
std::string joinRegimeTables(const std::string& logPath, const std::vector<std::string>& sources,
                             bool mergedAnew = false);
/// The same with the sources given by their tables and the number of rows each
/// added to the log (the sources' logs may be gone by then).
std::string joinRegimeTableFiles(const std::string& logPath, const std::vector<std::string>& tables,
                                 const std::vector<long long>& counts, bool mergedAnew = false);

}  // namespace quorvane
