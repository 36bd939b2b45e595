#include "experiments/regime_table.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "common/cformat.h"
#include "common/file_io.h"
#include "common/text.h"

namespace quorvane {
namespace {

constexpr long long kLogHeaderLines = 2;

// The log's cells repeated as keys (0-based): "Date", "Event", "Prob. be in",
// "N horznt.", "N vert.", "a", "b", "c", "T", "Co", "dG", "Sm", "Sedg", "Svrt":
// every value a plan or a general experiment varies, and what names the row.
constexpr std::array<std::size_t, 14> kKeyColumns = {0, 1,  2,  4,  5,  6,  7,
                                                     8, 15, 18, 20, 21, 22, 23};
constexpr const char* kKeyNames =
    "Date,Event,Prob. be in,N horznt.,N vert.,a,b,c,T,Co,dG,Sm,Sedg,Svrt";

struct LogRows {
    long long count = 0;  ///< data rows under the header
    std::string last;     ///< the last of them, without its line end
};

std::optional<LogRows> readLogRows(const std::string& path) {
    const auto text = readWholeFile(path);
    if (!text) return std::nullopt;
    LogRows rows;
    long long lines = 0;
    for (char ch : *text)
        if (ch == '\n') ++lines;
    rows.count = lines - kLogHeaderLines;
    std::string body = *text;
    while (!body.empty() && (body.back() == '\n' || body.back() == '\r')) body.pop_back();
    const std::size_t start = body.rfind('\n');
    rows.last = start == std::string::npos ? body : body.substr(start + 1);
    return rows;
}

std::string unquoted(const std::string& cell) {
    if (cell.size() >= 2 && cell.front() == '"' && cell.back() == '"')
        return cell.substr(1, cell.size() - 2);
    return cell;
}

/// Cuts a torn last line (an interrupted write) so that the next line starts on
/// a line of its own.
bool endsWithWholeLine(const std::string& path) {
    const auto tail = readTail(path, 4096);
    if (!tail) return false;
    if (tail->empty() || tail->back() == '\n') return true;
    const std::size_t lineEnd = tail->rfind('\n');
    if (lineEnd == std::string::npos) return false;
    return cutFileBy(path, tail->size() - lineEnd - 1);
}

bool hasLines(const std::string& path) {
    const auto tail = readTail(path, 1);
    return tail && !tail->empty();
}

/// The table's lines without the header, their log row numbers raised by `offset`.
std::string renumbered(const std::string& table, long long offset) {
    std::string out;
    std::size_t start = table.find('\n');  // past the header
    while (start != std::string::npos && start + 1 < table.size()) {
        const std::size_t end = table.find('\n', start + 1);
        const std::string line = table.substr(start + 1, end - start - 1);
        start = end;
        const std::size_t comma = line.find(',');
        if (comma == std::string::npos) continue;  // a torn line: nothing to number
        const long long row = std::atoll(line.substr(0, comma).c_str());
        out += cformat("%lld", row + offset) + line.substr(comma) + "\n";
    }
    return out;
}

}  // namespace

std::string regimeTablePath(const std::string& logPath) {
    return csvStem(logPath) + "_Quorvane_regimes.csv";
}

std::string regimeTableHeader() {
    return std::string("log_row,") + kKeyNames +
           ",regime,reason,activation,rate_parts,rough_face_rate_parts,roughness_layers,"
           "rough_face_roughness_layers,layer_oscillation,grown_layers,judged_layers\n";
}

std::string regimeTableRow(long long logRow, const std::string& logRowText,
                           const GrowthRegimeAssessment& a) {
    const std::vector<std::string> cells = splitFields(logRowText, ",");
    std::string line = cformat("%lld", logRow);
    for (std::size_t column : kKeyColumns) {
        line += ',';
        if (column < cells.size()) line += unquoted(cells[column]);
    }
    line += cformat(",%s,%s", growthRegimeWord(a.regime), growthRegimeReason(a.reason));
    for (double value : {a.activation, a.rateParts, a.roughFaceRateParts, a.roughness,
                         a.roughFaceRoughness, a.layerOscillation, a.grownLayers, a.judgedLayers})
        line += cformat(",%.6g", value);
    return line + "\n";
}

bool recordRegime(const std::string& logPath, const GrowthRegimeAssessment& assessment) {
    const std::optional<LogRows> rows = readLogRows(logPath);
    if (!rows || rows->count < 1) return false;
    const std::string table = regimeTablePath(logPath);
    const std::string line = regimeTableRow(rows->count, rows->last, assessment);
    if (rows->count == 1 || !hasLines(table))
        return writeFileAtomically(table, regimeTableHeader() + line);
    return endsWithWholeLine(table) && appendWhole(table, line);
}

std::string joinRegimeTables(const std::string& logPath, const std::vector<std::string>& sources,
                             bool mergedAnew) {
    std::vector<std::string> tables;
    std::vector<long long> counts;
    for (const std::string& source : sources) {
        const std::optional<LogRows> sourceRows = readLogRows(source);
        counts.push_back(sourceRows ? std::max(sourceRows->count, 0LL) : 0);
        tables.push_back(regimeTablePath(source));
    }
    return joinRegimeTableFiles(logPath, tables, counts, mergedAnew);
}

std::string joinRegimeTableFiles(const std::string& logPath, const std::vector<std::string>& tables,
                                 const std::vector<long long>& counts, bool mergedAnew) {
    const std::optional<LogRows> rows = readLogRows(logPath);
    if (!rows) return "cannot read the log " + logPath;
    long long added = 0;
    for (long long count : counts) added += count;
    long long offset = rows->count - added;
    std::string lines;
    bool anyTable = false;
    for (std::size_t i = 0; i < tables.size() && i < counts.size(); ++i) {
        if (const auto table = readWholeFile(tables[i])) {
            lines += renumbered(*table, offset);
            anyTable = true;
        }
        offset += counts[i];
    }
    const std::string table = regimeTablePath(logPath);
    bool written = true;
    if (mergedAnew) {
        if (anyTable) written = writeFileAtomically(table, regimeTableHeader() + lines);
    } else if (!lines.empty()) {
        written = hasLines(table) ? endsWithWholeLine(table) && appendWhole(table, lines)
                                  : writeFileAtomically(table, regimeTableHeader() + lines);
    }
    if (!written) return "cannot write the table of growth regimes " + table;
    if (!mergedAnew)
        for (const std::string& source : tables) std::remove(source.c_str());
    return {};
}

}  // namespace quorvane
