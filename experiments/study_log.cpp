#include "experiments/study_log.h"

#include <algorithm>
#include <cstdlib>
#include <unordered_map>

#include "common/cformat.h"
#include "engine/mechanism.h"

namespace quorvane {
namespace {

/// The next line of `text` from `at` (without its line end); false at the end.
bool nextLine(std::string_view text, std::size_t& at, std::string_view& line, bool& whole) {
    if (at >= text.size()) return false;
    std::size_t end = text.find('\n', at);
    whole = end != std::string_view::npos;
    if (!whole) end = text.size();
    line = text.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    at = end + 1;
    return true;
}

/// A data row holds as many cells as the header names, every one of them quoted.
bool isWholeRow(std::string_view line, std::size_t cells) {
    if (line.empty() || line.front() != '"' || line.back() != '"') return false;
    return static_cast<std::size_t>(std::count(line.begin(), line.end(), '"')) == 2 * cells;
}

StudyLogRow rowOf(const std::vector<std::string>& cells, long long number, int dateColumn,
                  int porosityColumn) {
    StudyLogRow row;
    row.logRow = number;
    row.date = cells[static_cast<std::size_t>(dateColumn)];
    row.porous = cells[static_cast<std::size_t>(porosityColumn)] != "n/a";
    row.values.reserve(cells.size());
    for (const std::string& cell : cells) row.values.push_back(cAtof(cell));
    return row;
}

/// The regime lines of a table by log row number: date, event and regime word.
struct TableLine {
    std::string date;
    int event = 0;
    std::string regime;
};

std::unordered_map<long long, TableLine> tableLines(std::string_view table) {
    std::unordered_map<long long, TableLine> lines;
    std::size_t at = 0;
    std::string_view line;
    bool whole = false;
    if (!nextLine(table, at, line, whole)) return lines;
    const std::vector<std::string> header = csvCells(line);
    auto indexOf = [&](const char* name) {
        const auto found = std::find(header.begin(), header.end(), name);
        return found == header.end() ? header.size() : std::size_t(found - header.begin());
    };
    const std::size_t row = indexOf("log_row"), date = indexOf("Date"), event = indexOf("Event"),
                      regime = indexOf("regime");
    const std::size_t needed = std::max({row, date, event, regime}) + 1;
    if (needed > header.size()) return lines;
    while (nextLine(table, at, line, whole)) {
        const std::vector<std::string> cells = csvCells(line);
        if (!whole || cells.size() < needed) continue;  // a torn last line names nothing
        lines[std::atoll(cells[row].c_str())] = {cells[date], cAtoi(cells[event]), cells[regime]};
    }
    return lines;
}

std::optional<GrowthRegime> regimeOfWord(const std::string& word) {
    for (GrowthRegime regime : {GrowthRegime::Undetermined, GrowthRegime::Continuous,
                                GrowthRegime::Intermediate, GrowthRegime::Nucleation})
        if (word == growthRegimeWord(regime)) return regime;
    return std::nullopt;
}

}  // namespace

std::vector<std::string> csvCells(std::string_view line) {
    std::vector<std::string> cells;
    std::size_t start = 0;
    while (true) {
        // A quoted cell runs to its closing quote: the log's units hold "K, grad".
        std::size_t end = start;
        if (start < line.size() && line[start] == '"') {
            const std::size_t close = line.find('"', start + 1);
            end = close == std::string_view::npos ? line.size() : close + 1;
        }
        const std::size_t comma = line.find(',', end);
        std::string_view cell = line.substr(
            start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        if (cell.size() >= 2 && cell.front() == '"' && cell.back() == '"')
            cell = cell.substr(1, cell.size() - 2);
        cells.emplace_back(cell);
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    return cells;
}

int StudyLog::column(std::string_view name) const {
    const auto found = std::find(names.begin(), names.end(), name);
    return found == names.end() ? -1 : static_cast<int>(found - names.begin());
}

std::string StudyLog::unitOf(std::string_view name) const {
    const int at = column(name);
    if (at < 0 || static_cast<std::size_t>(at) >= units.size()) return {};
    const std::string& unit = units[static_cast<std::size_t>(at)];
    return unit == " " || unit == "unitless" ? std::string() : unit;
}

std::optional<StudyLog> parseStudyLog(std::string_view text, std::string& error) {
    StudyLog log;
    std::size_t at = 0;
    std::string_view line;
    bool whole = false;
    if (!nextLine(text, at, line, whole) || !whole) {
        error = "it holds no header line";
        return std::nullopt;
    }
    log.names = csvCells(line);
    for (const char* name : kStudyLogColumns) {
        if (log.column(name) < 0) {
            error = cformat("it has no column \"%s\", so it is no run log", name);
            return std::nullopt;
        }
    }
    if (!nextLine(text, at, line, whole) || !whole) {
        error = "it holds no units line";
        return std::nullopt;
    }
    log.units = csvCells(line);
    const int date = log.column("Date"), porosity = log.column("Porosity");
    long long number = 0;
    while (nextLine(text, at, line, whole)) {
        ++number;
        if (!whole || !isWholeRow(line, log.names.size())) {
            ++log.tornRows;
            continue;
        }
        log.rows.push_back(rowOf(csvCells(line), number, date, porosity));
    }
    return log;
}

GrowthRegime regimeOfMechanism(int code) {
    switch (code) {
        case kTwoDimensionalNucleation:
            return GrowthRegime::Nucleation;
        case kContinuousGrowth:
            return GrowthRegime::Continuous;
        case kIntermediateMechanism:
            return GrowthRegime::Intermediate;
        default:
            return GrowthRegime::Undetermined;
    }
}

long long assignRegimes(StudyLog& log, const std::optional<std::string>& table) {
    const auto lines = table ? tableLines(*table) : std::unordered_map<long long, TableLine>{};
    const auto event = static_cast<std::size_t>(log.column("Event"));
    const auto mechanism = static_cast<std::size_t>(log.column("TypeOfGrowthMech"));
    long long fromTable = 0;
    for (StudyLogRow& row : log.rows) {
        row.regime = regimeOfMechanism(static_cast<int>(row.values[mechanism]));
        row.regimeFromTable = false;
        const auto found = lines.find(row.logRow);
        // A line of the table belongs to this row only when it repeats the row's
        // date and event: a table left by an older log of the same name does not.
        if (found == lines.end() || found->second.date != row.date ||
            found->second.event != static_cast<int>(row.values[event]))
            continue;
        if (const auto regime = regimeOfWord(found->second.regime)) {
            row.regime = *regime;
            row.regimeFromTable = true;
            ++fromTable;
        }
    }
    return fromTable;
}

}  // namespace quorvane
