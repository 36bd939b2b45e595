#include "model/start_close.h"

namespace quorvane {

StartResult startSession(const std::string& documentsFolder, DataDocument& document,
                         Platform& platform) {
    StartResult result;
    result.folder = locateWorkingFolder(documentsFolder, platform);
    result.paths = makeAppPaths(result.folder.folder);
    if (!result.folder.ready()) return result;
    result.settings = readSettings(result.paths, document, platform);
    return result;
}

SettingsSaveResult closeSession(AppPaths& paths, const DataDocument& document, Platform& platform,
                                const std::optional<std::string>& untouchedData) {
    return saveSettings(paths, document, platform, untouchedData);
}

}  // namespace quorvane
