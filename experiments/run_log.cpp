#include "experiments/run_log.h"

#include "common/cformat.h"
#include "common/file_io.h"
#include "common/locked_file.h"
#include "common/text.h"

namespace quorvane {

const std::array<RunLogColumn, kRunLogColumnCount> kRunLogColumns = {{
    {"Date", " "},
    {"Event", "integer"},
    {"Prob. be in", "parts"},
    {"Time step", "s"},
    {"N horznt.", "integer"},
    {"N vert.", "integer"},
    {"a", "nm"},
    {"b", "nm"},
    {"c", "nm"},
    {"M", "Daltons"},
    {"d", "g/cm^3"},
    {"dH", "J/nm^3"},
    {"dHm", "J/mol"},
    {"Surf.energy", "J/nm^2"},
    {"Ea", "J/mol"},
    {"T", "K, grad"},
    {"Ta", "K, grad"},
    {"To", "K, grad"},
    {"Co", "parts"},
    {"Fr", "Hz"},
    {"dG", "unitless"},
    {"Sm", "unitless"},
    {"Sedg", "unitless"},
    {"Svrt", "unitless"},
    {"Scbd", "unitless"},
    {"Scbd1", "unitless"},
    {"Vc", "nm/s"},
    {"nRecords", "integer"},
    {"Cur.Layer", "integer"},
    {"Sim.Time", "s"},
    {"time", "s"},
    {"distance", "layers"},
    {"Av.Rate", "nm/s"},
    {"Av.Rate as part cont.", "parts"},
    {"Time To Fill Layer", "s"},
    {"aTimeToBeginFillLayer", "s"},
    {"PartTimeToStartFillLayer", "parts"},
    {"Roughness", "layers"},
    {"Porosity", "parts"},
    {"isStableGrowthIsFound", "bool"},
    {"TypeOfGrowthMech", "code"},
}};

namespace {

constexpr char kQuote = 34;
const char* const kRetryText =
    "Result of simulation cannot be saved.\nClose corresponding file and try press 'Retry' "
    "button.";

std::string realCell(double value) {
    return cformat("%c%g%c,", kQuote, value, kQuote);
}
std::string intCell(int value) {
    return cformat("%c%d%c,", kQuote, value, kQuote);
}

/// A last line without its line end that is still a whole header line or a
/// whole row of 41 cells: only the line end is missing (a file saved by
/// another program), and nothing of it may be lost.
/// A row of 41 quoted cells, without its line end.
bool isRow(std::string_view line) {
    size_t separators = 0;
    for (size_t at = line.find("\",\""); at != std::string::npos; at = line.find("\",\"", at + 3))
        ++separators;
    return separators == kRunLogColumnCount - 1 && line.size() > 2 && line.front() == kQuote &&
           line.back() == kQuote;
}

bool isWholeLine(const std::string& line) {
    const std::string header = runLogHeader();
    const size_t namesEnd = header.find('\n');
    if (line == header.substr(0, namesEnd)) return true;
    if (line == header.substr(namesEnd + 1, header.size() - namesEnd - 2)) return true;
    return isRow(line);
}

}  // namespace

std::string runLogHeader() {
    std::string names;
    std::string units;
    for (int i = 0; i < kRunLogColumnCount; ++i) {
        const RunLogColumn& column = kRunLogColumns[static_cast<size_t>(i)];
        bool last = i == kRunLogColumnCount - 1;
        names += cformat(last ? "%c%s%c" : "%c%s%c,", kQuote, column.name, kQuote);
        units += cformat("%c%s%c,", kQuote, column.unit, kQuote);
    }
    return names + "\n" + units + "\n";
}

void repairRunLogEnd(LockedFile& log, const std::string& path, Platform& platform) {
    constexpr long long kTail = 64 * 1024;  // far longer than any row
    const long long size = log.size();
    if (size <= 0) return;
    const long long from = size > kTail ? size - kTail : 0;
    auto tail = log.read(from, static_cast<size_t>(size - from));
    if (!tail || tail->empty() || tail->back() == '\n') return;
    const size_t lineEnd = tail->rfind('\n');
    const bool lineStartSeen = lineEnd != std::string::npos || from == 0;
    const std::string last = lineEnd == std::string::npos ? *tail : tail->substr(lineEnd + 1);
    if (!lineStartSeen || isWholeLine(last)) {
        log.appendWhole("\n");
        return;
    }
    if (log.cutTo(size - static_cast<long long>(last.size())))
        platform.message(
            cformat("The run log %s ended with an incomplete row (%zu characters "
                    "left by an interrupted write); it was removed.",
                    path.c_str(), last.size()));
}

std::string runLogRow(int eventCode, const RunRecord& r, const std::tm& when) {
    std::string row =
        cformat("%c%02d/%02d/%02d %02d:%02d:%02d%c,", kQuote, when.tm_mon + 1, when.tm_mday,
                when.tm_year + 1900 - 2000, when.tm_hour, when.tm_min, when.tm_sec, kQuote);
    row += intCell(eventCode);
    row += realCell(r.probIn) + realCell(r.timeStep);
    row += intCell(r.fieldW) + intCell(r.fieldH);
    for (double value :
         {r.a,  r.b,  r.c,  r.M,  r.density, r.dH,   r.dHm,  r.surfaceEnergy, r.Ea,    r.T, r.Ta,
          r.To, r.Co, r.Fr, r.dG, r.Sm,      r.Sedg, r.Svrt, r.Scbd,          r.Scbd1, r.Vc})
        row += realCell(value);
    row += intCell(r.nRecords) + intCell(r.curLayer) + intCell(r.simTime);
    // The record keeps the rate as a percentage of continuous growth; the log wants parts.
    for (double value : {r.time, r.distance, r.avRate, r.avRatePercent * 0.01, r.timeToFillLayer,
                         r.timeToBeginFill, r.partTimeToStart, r.roughness})
        row += realCell(value);
    row += r.porous ? realCell(r.porosity) : cformat("%c%s%c,", kQuote, "n/a", kQuote);
    row += intCell(r.stableGrowthFound);
    row += cformat("%c%d%c", kQuote, r.mechanism, kQuote);
    return row + "\n";
}

bool isRunLogRows(std::string_view text) {
    if (!text.empty() && text.back() != '\n') return false;
    for (size_t start = 0; start < text.size();) {
        const size_t end = text.find('\n', start);
        if (!isRow(text.substr(start, end - start))) return false;
        start = end + 1;
    }
    return true;
}

bool appendRunRecord(const std::string& path, int eventCode, const RunRecord& record,
                     Platform& platform) {
    const std::string row = runLogRow(eventCode, record, platform.localTimeNow());
    constexpr int kMaxAttempts = 4;
    for (int attempt = 1;; ++attempt) {
        if (appendRunLogRows(path, row, platform)) return true;
        if (attempt >= kMaxAttempts) return false;
        if (!platform.askRetryCancel(kRetryText)) return false;
    }
}

bool appendRunLogRows(const std::string& path, const std::string& rows, Platform& platform) {
    // Under the log's lock, so that processes sharing it take turns: one header
    // only, and every row whole on a line of its own.
    LockedFile log(path);
    if (!log.ok()) return false;
    if (isRegularFile(path)) repairRunLogEnd(log, path, platform);
    // A missing or empty log gets its header in the same write as the rows, so
    // that no failure can leave a header without its rows or half a row.
    return log.appendWhole(log.size() > 0 ? rows : runLogHeader() + rows);
}

}  // namespace quorvane
