#include "experiments/study_origin.h"

#include <cctype>
#include <filesystem>
#include <sstream>
#include <system_error>

#include "common/cformat.h"
#include "common/file_io.h"
#include "common/text.h"
#include "experiments/plan_file.h"

namespace quorvane {
namespace {

namespace fs = std::filesystem;

/// A plan file is a few lines; a larger file is not read to find out.
constexpr std::uintmax_t kLargestPlan = 1 << 20;

bool sameFile(const fs::path& a, const fs::path& b) {
    std::error_code error;
    return fs::equivalent(a, b, error) && !error;
}

/// True when the results line of the plan at `plan` names the log: as it
/// stands (relative to where the plan was run) or relative to the plan's folder.
bool namesLog(const fs::path& plan, const std::string& results, const fs::path& log) {
    if (results.empty()) return false;
    return sameFile(results, log) || sameFile(plan.parent_path() / results, log);
}

bool isShardFile(const std::string& name) {
    return name.find("_shard") != std::string::npos && name.find("of") != std::string::npos;
}

}  // namespace

std::optional<PlanFileRows> readPlanRows(std::string_view text) {
    std::istringstream in{std::string(text)};
    std::string line;
    if (!readLine(in, line) || line.rfind(kPlanFileMagic, 0) != 0) return std::nullopt;
    PlanFileRows plan;
    std::string data;
    if (!readLine(in, data) || !readLine(in, plan.results)) return std::nullopt;
    while (readLine(in, line)) {
        if (line.size() <= 3) continue;
        const auto fields = splitFields(line, " ,\n");
        if (fields.size() < 5 || !isPlanKind(cAtoi(fields[0]))) return std::nullopt;
        task row;
        row.kind = cAtoi(fields[0]);
        row.from = rangeEndFromText(fields[1]);
        row.till = rangeEndFromText(fields[2]);
        row.steps = cAtoi(fields[4]);
        plan.rows.push_back(row);
    }
    return plan;
}

std::optional<std::string> findPlanOfLog(const std::string& logPath) {
    const fs::path log(logPath);
    const fs::path folder = log.parent_path();
    std::error_code error;
    std::optional<std::string> found;
    for (const auto& entry :
         fs::directory_iterator(folder.empty() ? fs::path(".") : folder, error)) {
        const std::string name = entry.path().filename().string();
        std::error_code sizeError;
        if (!hasCsvName(name) || isShardFile(name) || sameFile(entry.path(), log) ||
            !entry.is_regular_file(sizeError) || entry.file_size(sizeError) > kLargestPlan)
            continue;
        const auto head = readTail(entry.path().string(), kLargestPlan);
        if (!head || head->rfind(kPlanFileMagic, 0) != 0) continue;
        const auto plan = readPlanRows(*head);
        if (!plan || !namesLog(entry.path(), plan->results, log)) continue;
        if (found) return std::nullopt;  // two plans name it: neither is surely the one
        found = (folder / entry.path().filename()).string();  // "plan.csv" beside "log.csv"
    }
    return found;
}

StudyOrigin studyOrigin(const std::string& logPath, const std::optional<std::string>& planPath,
                        bool general, const std::string& command) {
    StudyOrigin origin;
    origin.general = general;
    origin.command = command;
    std::optional<std::string> plan = planPath;
    if (!plan && !general) plan = findPlanOfLog(logPath);
    if (plan) {
        const auto text = readWholeFile(*plan);
        if (const auto rows = text ? readPlanRows(*text) : std::nullopt) {
            origin.plan = rows->rows;
            origin.planPath = *plan;
        }
    }
    return origin;
}

std::string shellCommand(const std::vector<std::string>& arguments) {
    std::string command;
    for (const std::string& argument : arguments) {
        bool plain = !argument.empty();
        for (unsigned char c : argument)
            if (!std::isalnum(c) &&
                std::string_view("-_./=:,+%@").find(char(c)) == std::string_view::npos)
                plain = false;
        if (!command.empty()) command += ' ';
        if (plain) {
            command += argument;
            continue;
        }
        command += '\'';
        for (char c : argument) command += c == '\'' ? std::string("'\\''") : std::string(1, c);
        command += '\'';
    }
    return command;
}

}  // namespace quorvane
