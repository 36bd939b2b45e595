#include "python/arguments.h"

#include <utility>

namespace quorvane::python {
namespace {

/// The runner's options under the names of the module's keywords.
constexpr std::pair<const char*, const char*> kKeywords[] = {
    {"--steps", "steps"}, {"--log", "log"},           {"--jobs", "jobs"},
    {"--general", "n"},   {"--general-seed", "seed"}, {"--plan", "path"},
};

/// "--steps needs ..." becomes "steps needs ...".
std::string inKeywords(const std::string& error) {
    for (const auto& [option, keyword] : kKeywords) {
        const std::string prefix = std::string(option) + " ";
        if (error.rfind(prefix, 0) == 0) return keyword + error.substr(prefix.size() - 1);
    }
    return error;
}

}  // namespace

batch::BatchOptions batchOptions(const std::vector<std::string>& arguments) {
    batch::ParsedOptions parsed = batch::parseBatchOptions(arguments);
    if (!parsed.ok) throw py::value_error(inKeywords(parsed.error));
    return parsed.options;
}

void giveData(batch::BatchOptions& options, const DataObject& data) {
    options.data = [snapshot = data.snapshot()](Session& session) { snapshot->loadInto(session); };
}

void checkStepCount(const char* keyword, long long value) {
    if (value < 1)
        throw py::value_error(std::string(keyword) +
                              " needs a number of steps (a whole number above 0)");
}

}  // namespace quorvane::python
