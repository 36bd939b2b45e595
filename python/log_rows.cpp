#include "python/log_rows.h"

#include <string_view>

#include "common/cformat.h"
#include "common/file_io.h"
#include "experiments/run_log.h"

namespace quorvane::python {
namespace {

constexpr std::string_view kSeparator = "\",\"";

/// The columns the log writes as whole numbers ("%d"): counts, flags, codes.
bool wholeColumn(const RunLogColumn& column) {
    const std::string_view unit = column.unit;
    return unit == "integer" || unit == "bool" || unit == "code";
}

std::vector<std::string_view> lines(std::string_view text) {
    std::vector<std::string_view> out;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        out.push_back(line);
        at = end + 1;
    }
    return out;
}

}  // namespace

std::vector<std::string> logRowCells(std::string_view line) {
    if (line.size() < 2 || line.front() != '"' || line.back() != '"') return {};
    std::string_view inner = line.substr(1, line.size() - 2);
    std::vector<std::string> cells;
    for (std::size_t at = 0;;) {
        const std::size_t end = inner.find(kSeparator, at);
        cells.emplace_back(inner.substr(at, end == std::string_view::npos ? end : end - at));
        if (end == std::string_view::npos) break;
        at = end + kSeparator.size();
    }
    if (cells.size() != static_cast<std::size_t>(kRunLogColumnCount)) return {};
    // A header line has a name where a row has its event code.
    const std::string& event = cells[1];
    if (event.empty() || event.find_first_not_of("-0123456789") != std::string::npos) return {};
    return cells;
}

py::dict logRowDict(std::string_view line) {
    const std::vector<std::string> cells = logRowCells(line);
    py::dict row;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const RunLogColumn& column = kRunLogColumns[i];
        const std::string& cell = cells[i];
        if (i == 0) {
            row[column.name] = py::str(cell);
        } else if (cell == "n/a") {
            row[column.name] = py::none();
        } else if (wholeColumn(column)) {
            row[column.name] = py::int_(cAtoi(cell));
        } else {
            row[column.name] = py::float_(cAtof(cell));
        }
    }
    return row;
}

py::list rowDicts(const std::vector<std::string>& rows) {
    py::list out;
    for (const std::string& row : rows) out.append(logRowDict(row));
    return out;
}

std::vector<std::string> logDataRows(std::string_view text) {
    std::vector<std::string> rows;
    for (std::string_view line : lines(text))
        if (!logRowCells(line).empty()) rows.emplace_back(line);
    return rows;
}

LogTail::LogTail(std::string path) : path_(std::move(path)) {
    const std::string text = readWholeFile(path_).value_or("");
    const std::size_t lastEnd = text.rfind('\n');
    for (char c : text)
        if (c == '\n') ++lines_;
    torn_ = lastEnd == std::string::npos ? text : text.substr(lastEnd + 1);
}

std::vector<std::string> LogTail::newRows() const {
    const std::string text = readWholeFile(path_).value_or("");
    std::vector<std::string_view> all = lines(text);
    std::size_t from = lines_;
    // A torn line that was completed is not this call's.
    if (!torn_.empty() && from < all.size() && all[from] == torn_) ++from;
    std::vector<std::string> rows;
    for (std::size_t i = from; i < all.size(); ++i)
        if (!logRowCells(all[i]).empty()) rows.emplace_back(all[i]);
    return rows;
}

py::list readLog(const std::string& path) {
    const std::optional<std::string> text = readWholeFile(path);
    if (!text) {
        PyErr_SetString(PyExc_FileNotFoundError, ("cannot read the log " + path).c_str());
        throw py::error_already_set();
    }
    return rowDicts(logDataRows(*text));
}

}  // namespace quorvane::python
