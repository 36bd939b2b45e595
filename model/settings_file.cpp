#include "model/settings_file.h"

#include <locale.h>

#include <filesystem>
#include <sstream>
#include <system_error>
#include <vector>

#include "common/cformat.h"
#include "common/file_io.h"
#include "common/text.h"

namespace quorvane {
namespace {

constexpr const char* kSettingsHeader = "Setting Quorvane";
constexpr std::string_view kLineDelimiters = ",\r\n";
constexpr size_t kShortestLine = 4;

/// Some editors begin a UTF-8 file with a byte-order mark; it is no part of
/// the first line.
std::string withoutByteOrderMark(const std::string& text) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    return text.starts_with(kByteOrderMark) ? text.substr(kByteOrderMark.size()) : text;
}

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

/// The paths the lines after the first name; the last of each wins.
void readPathLines(std::istream& in, SettingsContent& content) {
    std::string line;
    std::string key;
    std::string value;
    while (readLine(in, line)) {
        if (!splitSettingsLine(line, key, value)) continue;
        if (key == "Path_To_Log_File") content.logPath = value;
        if (key == "Path_To_Data_File") content.dataPath = value;
    }
}

/// A free name beside the settings file for a damaged one: the user's lines
/// are kept, never overwritten.
std::string asideName(const std::string& settingsFile) {
    std::string name = settingsFile + ".damaged";
    for (int n = 2; std::filesystem::exists(name) && n < 1000; ++n)
        name = settingsFile + ".damaged-" + std::to_string(n);
    return name;
}

/// A settings file whose first line is damaged (a close cut short, an editor
/// that wrote something else) is put aside, so that the next close starts a
/// sound one instead of appending after the bad line for ever; the paths its
/// readable lines name are still taken.
SettingsContent setAsideDamaged(const AppPaths& paths, const std::string& text,
                                Platform& platform) {
    platform.message(kNotDataFileMessage);
    const std::string aside = asideName(paths.settingsFile);
    std::error_code error;
    std::filesystem::rename(paths.settingsFile, aside, error);
    platform.message(error ? "The settings file " + paths.settingsFile +
                                 " is damaged and cannot be put aside; the data are read from " +
                                 paths.lastDataFile
                           : "The settings file was damaged: it is kept as " + aside +
                                 ", and the next close starts a new one");
    SettingsContent content;
    std::istringstream in(withoutByteOrderMark(text));
    readPathLines(in, content);
    return content;
}

}  // namespace

SettingsContent parseSettingsText(const std::string& text) {
    SettingsContent content;
    std::istringstream in(withoutByteOrderMark(text));
    std::string line;
    if (!readLine(in, line) || !isSettingsHeader(line)) return content;
    content.headerAccepted = true;
    readPathLines(in, content);
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

SettingsSaveResult saveSettings(AppPaths& paths, const DataDocument& document, Platform& platform,
                                const std::optional<std::string>& untouchedData) {
    SettingsSaveResult result;
    std::string block =
        formatSettingsBlock(platform.localTimeNow(), paths.lastDataFile, paths.logPath);
    if (!appendWhole(paths.settingsFile, block)) {
        platform.message(kCannotWriteMessage);
        return result;
    }
    result.appended = true;
    paths.currentDataPath = paths.lastDataFile;
    // The last data of an earlier session that this one could not load stay
    // as they are, unless the user has changed the data since the start.
    if (untouchedData && formatDataFile(document) == *untouchedData) return result;
    result.data = WriteDataFile(paths.currentDataPath, document, platform);
    return result;
}

namespace {

/// The data of a start: the file the settings name, or the last data when
/// they name none. While no data are loaded and the last-data file of an
/// earlier session is there, the close must not replace it with these data.
void readStartData(AppPaths& paths, const SettingsContent& content, DataDocument& document,
                   Platform& platform, SettingsReadResult& result) {
    if (content.logPath) paths.logPath = resolveInFolder(paths.workingFolder, *content.logPath);
    if (content.dataPath)
        paths.currentDataPath = resolveInFolder(paths.workingFolder, *content.dataPath);
    result.data = ReadDataFile(paths.currentDataPath, document, platform);
    if (!result.data.loaded() && isRegularFile(paths.lastDataFile))
        result.untouchedData = formatDataFile(document);
}

}  // namespace

SettingsReadResult readSettings(AppPaths& paths, DataDocument& document, Platform& platform) {
    SettingsReadResult result;
    std::optional<std::string> text = readWholeFile(paths.settingsFile);
    if (!text && isRegularFile(paths.lastDataFile)) {
        // Settings gone, last data there: they are the user's, read and kept.
        result.status = SettingsReadStatus::FirstStart;
        readStartData(paths, SettingsContent{{}, paths.lastDataFile, {}}, document, platform,
                      result);
        result.saved = saveSettings(paths, document, platform, formatDataFile(document));
        return result;
    }
    if (!text) {
        result.status = SettingsReadStatus::FirstStart;
        result.saved = saveSettings(paths, document, platform);
        return result;
    }
    SettingsContent content = parseSettingsText(*text);
    result.status = SettingsReadStatus::Read;
    if (!content.headerAccepted) {
        content = setAsideDamaged(paths, *text, platform);
        if (!content.dataPath) content.dataPath = paths.lastDataFile;
        result.status = SettingsReadStatus::SetAside;
    }
    readStartData(paths, content, document, platform, result);
    return result;
}

}  // namespace quorvane
