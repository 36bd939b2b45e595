#include "batch/log_parts.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>

#include "common/cformat.h"
#include "common/file_io.h"
#include "common/locked_file.h"
#include "common/text.h"
#include "experiments/regime_table.h"
#include "experiments/run_log.h"

namespace quorvane::batch {
namespace {

namespace fs = std::filesystem;

/// The rows of a join and where they go, written before they are added:
/// "OFFSET COUNT\n", COUNT positions a line each, then the text appended to
/// the log at OFFSET (the rows, after the header for an empty log).
constexpr const char* kJoinRecord = "joining.txt";

struct Join {
    long long offset = 0;
    std::vector<long long> positions;
    std::string text;
};

std::string formatJoin(const Join& join) {
    std::string out = cformat("%lld %zu\n", join.offset, join.positions.size());
    for (long long position : join.positions) out += cformat("%lld\n", position);
    return out + join.text;
}

bool parseJoin(const std::string& content, Join& join) {
    std::istringstream in(content);
    std::size_t count = 0;
    if (!(in >> join.offset >> count) || join.offset < 0 || count > content.size()) return false;
    join.positions.resize(count);
    for (long long& position : join.positions)
        if (!(in >> position)) return false;
    if (in.get() != '\n') return false;
    join.text = content.substr(static_cast<std::size_t>(in.tellg()));
    // Nothing but the rows of the log, after its header for an empty one.
    const std::string header = runLogHeader();
    const bool headed = join.text.compare(0, header.size(), header) == 0;
    return isRunLogRows(std::string_view(join.text).substr(headed ? header.size() : 0));
}

/// The parts of the folder by position; the rows of each without a header.
std::map<long long, std::string> readParts(const std::string& folder, std::string& problem) {
    std::map<long long, std::string> parts;
    const std::string header = runLogHeader();
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        const std::string stem = entry.path().stem().string();
        if (entry.path().extension() != ".csv" || stem.empty() || stem.size() > 18 ||
            stem.find_first_not_of("0123456789") != std::string::npos)
            continue;
        auto text = readWholeFile(entry.path().string());
        if (!text) {
            problem = "cannot read " + entry.path().string();
            return {};
        }
        if (text->compare(0, header.size(), header) == 0) text->erase(0, header.size());
        if (!isRunLogRows(*text)) {
            problem = entry.path().string() + " holds something else than rows of a run log";
            return {};
        }
        parts[std::stoll(stem)] = *text;
    }
    return parts;
}

void removeParts(const std::string& logPath, const std::vector<long long>& positions) {
    for (long long position : positions) ::unlink(partFile(logPath, position).c_str());
}

/// Adds the rows of a join to the log unless they are there already, at the
/// place written down for them.
bool addOnce(LockedFile& log, const Join& join) {
    auto there = log.read(join.offset, join.text.size());
    if (there && *there == join.text) return true;
    const std::string header = runLogHeader();
    std::string rows = join.text;
    if (rows.compare(0, header.size(), header) == 0) rows.erase(0, header.size());
    return log.appendWhole(log.size() > 0 ? rows : header + rows);
}

std::string waiting(const std::string& logPath, const std::string& where) {
    return "the rows of the study could not be added to the log " + logPath + "; they wait in " +
           where + ": run the same command again to add them (nothing is run twice)";
}

/// A join an earlier process wrote down and could not finish.
std::string finishJoin(LockedFile& log, const std::string& logPath) {
    const std::string record = joinPath(partsFolder(logPath), kJoinRecord);
    if (!isRegularFile(record)) return {};
    Join join;
    if (!parseJoin(readWholeFile(record).value_or(""), join))
        return "the record of an earlier join " + record + " is damaged; its rows were not added";
    if (!addOnce(log, join)) return waiting(logPath, record);
    removeParts(logPath, join.positions);
    ::unlink(record.c_str());
    return {};
}

/// The tables of regimes the parts' runs left beside them follow their rows;
/// the rows are safe in the log, so a table that cannot follow is said, not fatal.
void joinPartRegimes(const std::string& logPath, const std::map<long long, std::string>& parts,
                     Platform& platform) {
    std::vector<std::string> tables;
    std::vector<long long> counts;
    for (const auto& [position, rows] : parts) {
        tables.push_back(regimeTablePath(partFile(logPath, position)));
        counts.push_back(std::count(rows.begin(), rows.end(), '\n'));
    }
    if (std::string lost = joinRegimeTableFiles(logPath, tables, counts); !lost.empty())
        platform.message(lost);
}

/// The tables of regimes whose parts are gone: a join cut short after adding
/// their rows left them behind. Their runs are in the log already, so the
/// table lacks them rather than repeating them.
void removeOrphanRegimeTables(const std::string& logPath, Platform& platform) {
    const std::string suffix = "_Quorvane_regimes.csv";
    std::error_code error;
    bool removed = false;
    for (const auto& entry : fs::directory_iterator(partsFolder(logPath), error)) {
        const std::string name = entry.path().filename().string();
        if (name.size() <= suffix.size() ||
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
            continue;
        const std::string part = name.substr(0, name.size() - suffix.size()) + ".csv";
        if (isRegularFile(joinPath(partsFolder(logPath), part))) continue;
        removed = ::unlink(entry.path().c_str()) == 0 || removed;
    }
    if (removed)
        platform.message("the table of growth regimes " + regimeTablePath(logPath) +
                         " lacks the runs of a join that was cut short; their rows are in the log");
}

/// Writes the rows of the parts down, removes the parts, then adds the rows:
/// a kill from the record on is finished by the next join, which finds the
/// rows in the log or adds them.
std::string addParts(LockedFile& log, const std::string& logPath,
                     const std::map<long long, std::string>& parts, Platform& platform) {
    Join join;
    for (const auto& [position, rows] : parts) {
        join.positions.push_back(position);
        join.text += rows;
    }
    if (join.text.empty()) {
        removeParts(logPath, join.positions);
        return {};
    }
    repairRunLogEnd(log, logPath, platform);
    join.offset = log.size();
    if (join.offset == 0) join.text = runLogHeader() + join.text;
    const std::string record = joinPath(partsFolder(logPath), kJoinRecord);
    if (join.offset < 0 || !writeFileAtomically(record, formatJoin(join)))
        return waiting(logPath, partsFolder(logPath));
    removeParts(logPath, join.positions);
    if (!log.appendWhole(join.text)) return waiting(logPath, record);
    ::unlink(record.c_str());
    joinPartRegimes(logPath, parts, platform);
    return {};
}

}  // namespace

std::string partsFolder(const std::string& logPath) {
    return csvStem(logPath) + "_Quorvane_parts";
}

std::string partFile(const std::string& logPath, long long position) {
    return joinPath(partsFolder(logPath), cformat("%08lld.csv", position));
}

PartsFolderHold::PartsFolderHold(const std::string& logPath) {
    const std::string folder = partsFolder(logPath);
    std::error_code error;
    if (fs::exists(fs::symlink_status(folder, error)) && !isDirectory(folder)) {
        problem_ = "the workers keep their rows in a folder " + folder +
                   ", but a file of that name is there; move it away first";
        return;
    }
    fs::create_directories(folder, error);
    fd_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0) {
        problem_ = "cannot create the folder " + folder;
        cannotWrite_ = true;
        return;
    }
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        problem_ = "another study is writing to the log " + logPath + " (its rows wait in " +
                   folder + "); give this one a log of its own with --log";
        ::close(fd_);
        fd_ = -1;
    }
}

PartsFolderHold::~PartsFolderHold() {
    if (fd_ >= 0) ::close(fd_);
}

void removeEmptyPartsFolder(const std::string& logPath) {
    // A file being written whole that a kill cut short stays under a name of
    // its own; the folder's lock is held, so no one writes it any more.
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(partsFolder(logPath), error))
        if (entry.path().filename().string().find(".saving-") != std::string::npos)
            ::unlink(entry.path().c_str());
    ::rmdir(partsFolder(logPath).c_str());  // fails, and so removes nothing, unless empty
}

std::string joinParts(const std::string& logPath, Platform& platform) {
    const std::string folder = partsFolder(logPath);
    if (!isDirectory(folder)) return {};
    const bool unfinished = isRegularFile(joinPath(folder, kJoinRecord));
    std::string problem;
    auto parts = readParts(folder, problem);
    if (!problem.empty()) return problem;
    if (!unfinished && parts.empty()) {
        removeOrphanRegimeTables(logPath, platform);
        return {};
    }
    LockedFile log(logPath);
    if (!log.ok()) return waiting(logPath, folder);
    if (unfinished) {
        if (problem = finishJoin(log, logPath); !problem.empty()) return problem;
        parts = readParts(folder, problem);  // those it joined are gone
        if (!problem.empty()) return problem;
    }
    problem = addParts(log, logPath, parts, platform);
    if (problem.empty()) removeOrphanRegimeTables(logPath, platform);
    return problem;
}

}  // namespace quorvane::batch
