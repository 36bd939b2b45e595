#include "model/working_folder.h"

#include <filesystem>
#include <system_error>

#include "common/file_io.h"

namespace quorvane {

AppPaths makeAppPaths(const std::string& workingFolder) {
    AppPaths paths;
    paths.workingFolder = workingFolder;
    paths.settingsFile = joinPath(workingFolder, kSettingsFileName);
    paths.lastDataFile = joinPath(workingFolder, kLastDataFileName);
    paths.templatePathFile = joinPath(workingFolder, kTemplatePathFileName);
    paths.currentDataPath = joinPath(workingFolder, kDefaultDataFileName);
    paths.logPath = joinPath(workingFolder, kDefaultLogFileName);
    return paths;
}

std::string resolveInFolder(const std::string& workingFolder, const std::string& path) {
    if (path.empty() || std::filesystem::path(path).is_absolute()) return path;
    return joinPath(workingFolder, path);
}

WorkingFolderResult locateWorkingFolder(const std::string& documentsFolder, Platform& platform) {
    WorkingFolderResult result;
    std::error_code error;
    std::filesystem::path documents = std::filesystem::absolute(documentsFolder, error);
    if (error) documents = documentsFolder;
    result.folder = joinPath(documents.string(), kWorkingFolderName);

    if (isDirectory(result.folder)) {
        result.status = WorkingFolderStatus::Existing;
        return result;
    }
    if (std::filesystem::exists(std::filesystem::symlink_status(result.folder, error))) {
        // A file, or a link to nothing, holds the name: it is the user's.
        result.status = WorkingFolderStatus::FileInTheWay;
        platform.message(kFolderBlockedMessage + result.folder);
        return result;
    }
    std::filesystem::create_directories(result.folder, error);
    if (error || !isDirectory(result.folder)) {
        result.status = WorkingFolderStatus::NotCreated;
        platform.message(kFolderNotCreatedMessage + result.folder);
        return result;
    }
    result.status = WorkingFolderStatus::Created;
    return result;
}

}  // namespace quorvane
