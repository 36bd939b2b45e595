#pragma once
/// Rows of a run log as Python sees them: a dict per row, keyed by the log's
/// column names, and the rows a call added to a log.

#include <pybind11/pybind11.h>

#include <string>
#include <string_view>
#include <vector>

namespace quorvane::python {

namespace py = pybind11;

/// The 41 cells of a data row, unquoted; empty for any other line (a header
/// line, a torn line).
std::vector<std::string> logRowCells(std::string_view line);

/// A data row as a dict by column name: the date as text, the integer, flag
/// and code columns as int, "n/a" as None, every other cell as float.
py::dict logRowDict(std::string_view line);

/// Rows as a list of such dicts.
py::list rowDicts(const std::vector<std::string>& rows);

/// The data rows of a log's text, in order.
std::vector<std::string> logDataRows(std::string_view text);

/// The rows appended to a log from now on: the log's whole lines are counted
/// now and passed over when it is read again. A torn last line that the next
/// append completes or cuts off (see the run log) is not taken for a new row.
class LogTail {
  public:
    explicit LogTail(std::string path);
    std::vector<std::string> newRows() const;

  private:
    std::string path_;
    std::size_t lines_ = 0;
    std::string torn_;
};

/// Every data row of the log at `path` as a dict; OSError when it cannot be read.
py::list readLog(const std::string& path);

}  // namespace quorvane::python
