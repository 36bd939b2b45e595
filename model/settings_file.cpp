#include "model/settings_file.h"

#include <locale.h>

#include <sstream>
#include <vector>

#include "common/cformat.h"
#include "common/file_io.h"
#include "common/text.h"

namespace quorvane {
namespace {

constexpr const char* kSettingsHeader = "Setting Quorvane";
constexpr std::string_view kLineDelimiters = ",\r\n";
constexpr size_t kShortestLine = 4;

bool isSettingsHeader(const std::string& line) {
    if (line.size() < kShortestLine) return false;
    auto fields = splitFields(line, " ,\t\r\n");
    return fields.size() == 2 && fields[0] == "Setting" && fields[1] == "Quorvane";
}

/// The time as the C library's "%c" writes it in the C locale, whatever the
/// user's locale ("Thu Mar  3 14:05:09 2011").
std::string formatCTime(const std::tm& time) {
    std::tm t = time;
    // The weekday follows from the date; a clock may hand over only that.
    std::tm normal = time;
    if (timegm(&normal) != -1) {
        t.tm_wday = normal.tm_wday;
        t.tm_yday = normal.tm_yday;
    }
    locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    if (c == static_cast<locale_t>(0)) return {};
    char text[128];
    size_t length = strftime_l(text, sizeof text, "%c", &t, c);
    freelocale(c);
    return std::string(text, length);
}

/// Key and value of one settings line; false when it holds fewer than two fields.
bool splitSettingsLine(const std::string& line, std::string& key, std::string& value) {
    if (line.size() < kShortestLine || splitFields(line, kLineDelimiters).size() < 2) return false;
    size_t keyStart = line.find_first_not_of(kLineDelimiters);
    size_t keyEnd = line.find_first_of(kLineDelimiters, keyStart);
    key = trimBlanks(line.substr(keyStart, keyEnd - keyStart));
    // The value is the rest of the line, so a path holding commas survives.
    std::string rest = line.substr(keyEnd + 1);
    size_t last = rest.find_last_not_of(std::string(kLineDelimiters) + " \t");
    value = trimBlanks(rest.substr(0, last == std::string::npos ? 0 : last + 1));
    return !value.empty();
}

}  // namespace

SettingsContent parseSettingsText(const std::string& text) {
    SettingsContent content;
    std::istringstream in(text);
    std::string line;
    if (!readLine(in, line) || !isSettingsHeader(line)) return content;
    content.headerAccepted = true;
    std::string key;
    std::string value;
    while (readLine(in, line)) {
        if (!splitSettingsLine(line, key, value)) continue;
        if (key == "Path_To_Log_File") content.logPath = value;
        if (key == "Path_To_Data_File") content.dataPath = value;
    }
    return content;
}

std::string formatSettingsBlock(const std::tm& localTime, const std::string& dataPath,
                                const std::string& logPath) {
    std::string block = cformat("%s\n", kSettingsHeader);
    block += cformat("Chanded at: %s\n", formatCTime(localTime).c_str());
    block += cformat("%s,%s\n", "Path_To_Data_File", dataPath.c_str());
    block += cformat("%s,%s\n", "Path_To_Log_File", logPath.c_str());
    return block;
}

SettingsSaveResult saveSettings(AppPaths& paths, const DataDocument& document, Platform& platform) {
    SettingsSaveResult result;
    std::string block =
        formatSettingsBlock(platform.localTimeNow(), paths.lastDataFile, paths.logPath);
    if (!appendWhole(paths.settingsFile, block)) {
        platform.message(kCannotWriteMessage);
        return result;
    }
    result.appended = true;
    paths.currentDataPath = paths.lastDataFile;
    result.data = WriteDataFile(paths.currentDataPath, document, platform);
    return result;
}

SettingsReadResult readSettings(AppPaths& paths, DataDocument& document, Platform& platform) {
    SettingsReadResult result;
    std::optional<std::string> text = readWholeFile(paths.settingsFile);
    if (!text) {
        result.status = SettingsReadStatus::FirstStart;
        result.saved = saveSettings(paths, document, platform);
        return result;
    }
    SettingsContent content = parseSettingsText(*text);
    if (!content.headerAccepted) {
        platform.message(kNotDataFileMessage);
        result.status = SettingsReadStatus::WrongHeader;
        return result;
    }
    if (content.logPath) paths.logPath = resolveInFolder(paths.workingFolder, *content.logPath);
    if (content.dataPath)
        paths.currentDataPath = resolveInFolder(paths.workingFolder, *content.dataPath);
    result.status = SettingsReadStatus::Read;
    result.data = ReadDataFile(paths.currentDataPath, document, platform);
    return result;
}

}  // namespace quorvane
