#include "common/text.h"

namespace quorvane {

std::vector<std::string> splitFields(std::string_view line, std::string_view delimiters) {
    std::vector<std::string> fields;
    size_t at = 0;
    while (at < line.size()) {
        size_t start = line.find_first_not_of(delimiters, at);
        if (start == std::string_view::npos) break;
        size_t end = line.find_first_of(delimiters, start);
        if (end == std::string_view::npos) end = line.size();
        fields.emplace_back(line.substr(start, end - start));
        at = end;
    }
    return fields;
}

std::string trimBlanks(std::string_view text) {
    size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string_view::npos) return {};
    size_t end = text.find_last_not_of(" \t");
    return std::string(text.substr(begin, end - begin + 1));
}

bool readLine(std::istream& in, std::string& line) {
    line.clear();
    if (!std::getline(in, line)) return !line.empty();
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

std::string prefixBefore(std::string_view text, std::string_view marker) {
    size_t at = text.find(marker);
    return std::string(at == std::string_view::npos ? text : text.substr(0, at));
}

namespace {

/// Where the file name of a path begins.
size_t nameStart(std::string_view path) {
    const size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? 0 : slash + 1;
}

}  // namespace

bool hasCsvName(std::string_view path) {
    return path.find(".csv", nameStart(path)) != std::string_view::npos;
}

std::string csvStem(std::string_view path) {
    const size_t at = path.find(".csv", nameStart(path));
    return std::string(at == std::string_view::npos ? path : path.substr(0, at));
}

bool hasNameBeforeExtension(std::string_view path) {
    const std::string_view name = path.substr(nameStart(path));
    const size_t dot = name.rfind('.');
    const std::string_view stem = dot == std::string_view::npos ? name : name.substr(0, dot);
    return !stem.empty() && stem != "." && stem != "..";
}

}  // namespace quorvane
