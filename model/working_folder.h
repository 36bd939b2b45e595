#pragma once
/// The working folder in the user's documents, where the program keeps its
/// settings, its last data and, by default, its run log; and the paths built
/// in it.

#include <string>

#include "common/platform.h"

namespace quorvane {

inline constexpr const char* kWorkingFolderName = "Ambrevo";
inline constexpr const char* kSettingsFileName = "_Quorvane_setting.csv";
inline constexpr const char* kLastDataFileName = "_Quorvane_lastData.csv";
inline constexpr const char* kDefaultDataFileName = "_Quorvane_defaultData.csv";
inline constexpr const char* kTemplatePathFileName = "_Quorvane_pathToTemlateOfFullReport.html";
inline constexpr const char* kDefaultLogFileName = "_Quorvane_log.csv";

/// Shown, followed by the path, when a file of the working folder's name is in
/// the way. The file is the user's: it is neither removed nor renamed.
inline constexpr const char* kFolderBlockedMessage =
    "The working folder cannot be created, a file of that name is in the way: ";
/// Shown, followed by the path, when the folder cannot be created.
inline constexpr const char* kFolderNotCreatedMessage = "The working folder cannot be created: ";

/// Every path the program keeps, absolute.
struct AppPaths {
    std::string workingFolder;
    std::string settingsFile;
    std::string lastDataFile;
    std::string templatePathFile;
    std::string currentDataPath;  ///< what Save writes and a start loads
    std::string logPath;          ///< the run log

    bool operator==(const AppPaths&) const = default;
};

/// The paths in a working folder; the current data path is the default-data
/// file and the log the default log, both in the folder.
AppPaths makeAppPaths(const std::string& workingFolder);

/// A path from a settings file: absolute as it stands, relative to the
/// working folder otherwise (the folder was the program's current directory
/// when such a path was written).
std::string resolveInFolder(const std::string& workingFolder, const std::string& path);

enum class WorkingFolderStatus {
    Existing,      ///< the folder was there
    Created,       ///< it was missing and has been created
    FileInTheWay,  ///< a file (not a folder) has its name; nothing was touched
    NotCreated,    ///< it could not be created
};

struct WorkingFolderResult {
    WorkingFolderStatus status = WorkingFolderStatus::NotCreated;
    std::string folder;  ///< absolute, also when it could not be made

    bool ready() const {
        return status == WorkingFolderStatus::Existing || status == WorkingFolderStatus::Created;
    }
};

/// The documents folder (handed in by the caller, who knows where the
/// platform keeps it) followed by "Ambrevo", created when missing. A failure
/// is told to the user and returned; whether the process changes its current
/// directory is the caller's business.
WorkingFolderResult locateWorkingFolder(const std::string& documentsFolder, Platform& platform);

}  // namespace quorvane
