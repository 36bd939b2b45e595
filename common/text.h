#pragma once
/// Line and field handling shared by every reader of the program's text files.

#include <istream>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

/// Splits at any of the delimiter characters and drops empty pieces (strtok).
std::vector<std::string> splitFields(std::string_view line, std::string_view delimiters);

/// Removes blanks (spaces and tabs) from both ends.
std::string trimBlanks(std::string_view text);

/// Reads one whole line of any length, without its line end ("\n" or "\r\n").
/// False at the end of the stream when nothing was read.
bool readLine(std::istream& in, std::string& line);

/// True when `text` contains `part`.
inline bool contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

/// The text up to the first occurrence of `marker` (the whole text when absent).
std::string prefixBefore(std::string_view text, std::string_view marker);

/// True when the file name of `path` (after its last '/') holds ".csv".
bool hasCsvName(std::string_view path);

/// The path without its file name's ".csv" and what follows it, the base of
/// the names derived from a file ("runs.csv.d/plan.csv" gives "runs.csv.d/plan");
/// the whole path when the file name holds no ".csv".
std::string csvStem(std::string_view path);

/// True when the file name of `path` has a name before its last "." that is
/// neither "." nor "..": a report's picture folder is that name, and ".html"
/// or "..html" would put the pictures into the report's own folder or above it.
bool hasNameBeforeExtension(std::string_view path);

}  // namespace quorvane
