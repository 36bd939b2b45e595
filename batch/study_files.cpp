#include "batch/study_files.h"

#include <filesystem>
#include <fstream>
#include <map>

#include "common/cformat.h"
#include "common/text.h"
#include "experiments/plan_file.h"

namespace quorvane::batch {
namespace {

namespace fs = std::filesystem;

/// A whole number as the runner writes it: at most 18 digits, no leading zero.
bool digitsOnly(const std::string& text, long long& out) {
    if (text.empty() || text.size() > 18 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    out = std::stoll(text);
    return std::to_string(out) == text;
}

/// K and N of a file name "STEM_shardKofN.csv", false for any other name.
bool shardOf(const std::string& name, const std::string& stem, long long& k, long long& n) {
    const std::string head = stem + "_shard", tail = ".csv";
    if (name.size() <= head.size() + tail.size() || name.compare(0, head.size(), head) != 0 ||
        name.compare(name.size() - tail.size(), tail.size(), tail) != 0)
        return false;
    const std::string middle = name.substr(head.size(), name.size() - head.size() - tail.size());
    const std::size_t of = middle.find("of");
    return of != std::string::npos && digitsOnly(middle.substr(0, of), k) &&
           digitsOnly(middle.substr(of + 2), n) && k < n;
}

bool saysFinished(const fs::path& file) {
    std::ifstream in(file);
    std::string first;
    return std::getline(in, first) && first == std::string(kPlanFileMagic) + kShareFinishedMark;
}

std::string describe(const std::string& planPath, const ShardFiles& files) {
    return cformat(
        "the plan %s is run in %lld shards (%lld of the files %s are there, %lld say "
        "every combination of their share has run)",
        planPath.c_str(), files.count, files.present,
        shardPlanPath(planPath, 0, files.count).c_str(), files.finished);
}

}  // namespace

std::string shardPlanPath(const std::string& planPath, long long index, long long count) {
    return csvStem(planPath) + "_shard" + std::to_string(index) + "of" + std::to_string(count) +
           ".csv";
}

std::vector<ShardFiles> shardFilesOf(const std::string& planPath) {
    const fs::path stem = csvStem(planPath);
    const fs::path folder = stem.parent_path().empty() ? fs::path(".") : stem.parent_path();
    std::map<long long, ShardFiles> byCount;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        long long k = 0, n = 0;
        if (!shardOf(entry.path().filename().string(), stem.filename().string(), k, n)) continue;
        ShardFiles& files = byCount[n];
        files.count = n;
        ++files.present;
        if (saysFinished(entry.path())) ++files.finished;
    }
    std::vector<ShardFiles> all;
    for (const auto& [count, files] : byCount) all.push_back(files);
    return all;
}

ShardFiles shardFilesOf(const std::string& planPath, long long count) {
    for (const ShardFiles& files : shardFilesOf(planPath))
        if (files.count == count) return files;
    ShardFiles none;
    none.count = count;
    return none;
}

std::string checkShardFiles(const std::string& planPath, long long count) {
    for (const ShardFiles& files : shardFilesOf(planPath)) {
        if (files.count == count) continue;
        const std::string pattern =
            csvStem(planPath) + "_shard*of" + std::to_string(files.count) + ".csv";
        std::string what = count == 0 ? "in one process from its own current values"
                                      : cformat("in %lld shards", count);
        return describe(planPath, files) +
               cformat(
                   ": continue it with --jobs %lld (or --shard K/%lld --resume); to run it %s "
                   "instead, remove the files %s first",
                   files.count, files.count, what.c_str(), pattern.c_str());
    }
    return {};
}

}  // namespace quorvane::batch
