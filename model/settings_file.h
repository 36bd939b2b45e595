#pragma once
/// The settings file: blocks of four lines appended on every close, naming
/// the data file and the log file in use; the last block read wins.

#include <ctime>
#include <optional>
#include <string>

#include "common/platform.h"
#include "model/data_file.h"
#include "model/working_folder.h"

namespace quorvane {

/// The paths one settings text names (the last of each wins).
struct SettingsContent {
    bool headerAccepted = false;
    std::optional<std::string> dataPath;
    std::optional<std::string> logPath;
};

/// Reads a settings text: the first line (after a UTF-8 byte-order mark, which
/// some editors write) must split, at blanks, commas and line ends, into
/// exactly "Setting" and "Quorvane". In later lines the key is the first field
/// and the value the rest of the line (a path may hold commas), both trimmed
/// of blanks.
SettingsContent parseSettingsText(const std::string& text);

/// One block: "Setting Quorvane", "Chanded at: " with the time in the C
/// format "%c" of the C locale, the data path and the log path.
std::string formatSettingsBlock(const std::tm& localTime, const std::string& dataPath,
                                const std::string& logPath);

/// What saving did.
struct SettingsSaveResult {
    bool appended = false;     ///< false: "Error to open file for writing", no data written
    DataFileWriteResult data;  ///< the data written to the last-data file
};

/// Saving the settings (at close, and at a first start): appends a block
/// naming the last-data file, makes it the current data path and writes the
/// data there. When the block cannot be appended, nothing is written. With
/// `untouchedData` (the data a start ran on while it could not load the last
/// data of an earlier session) the last-data file is written only when the
/// data differ from those: the user's last session is never replaced by data
/// nobody chose.
SettingsSaveResult saveSettings(AppPaths& paths, const DataDocument& document, Platform& platform,
                                const std::optional<std::string>& untouchedData = {});

enum class SettingsReadStatus {
    NotRead,     ///< no working folder to read it from
    FirstStart,  ///< no readable settings file: saved one, running on the built-in data
    SetAside,    ///< a damaged first line: "It is not correct file for reading data", the
                 ///< file put aside, its paths (or the last data) read as on Read
    Read,        ///< the paths were taken and the data file at the data path read
};

struct SettingsReadResult {
    SettingsReadStatus status = SettingsReadStatus::NotRead;
    SettingsSaveResult saved;  ///< on FirstStart
    DataFileReadResult data;   ///< the data file read, if any
    /// Set while the last-data file of an earlier session is there but no data
    /// were loaded: the data the program starts on, which the close must not
    /// write over that file unless they were changed (pass it to the close).
    std::optional<std::string> untouchedData;
};

/// Reading the settings at start: the log path and the current data path
/// from the file (relative paths taken in the working folder), then the data
/// file at the current data path. Without a settings file the last data of
/// an earlier session, when there, are read and kept; a settings file whose
/// first line is damaged is put aside with a message and its readable lines
/// are used, the data path defaulting to the last data.
SettingsReadResult readSettings(AppPaths& paths, DataDocument& document, Platform& platform);

}  // namespace quorvane
