#pragma once
/// The start and the close of the program as far as its files go: the
/// working folder, the settings file and the data they name.

#include <string>

#include "common/platform.h"
#include "model/data_file.h"
#include "model/settings_file.h"
#include "model/working_folder.h"

namespace quorvane {

/// What a start found; the caller sets its current directory, the data-file
/// dialog's folder, the Help panel's paths and the window title from it.
struct StartResult {
    WorkingFolderResult folder;
    AppPaths paths;
    SettingsReadResult settings;  ///< not read when the folder is not ready
};

/// The start: locate (or create) the working folder in `documentsFolder`,
/// build the paths in it, read the settings file, which loads the data file it
/// names (or, at a first start, writes the settings and the built-in data).
/// Without a working folder nothing is read and the built-in data stay.
StartResult startSession(const std::string& documentsFolder, DataDocument& document,
                         Platform& platform);

/// The close: append a settings block and write the data to the last-data
/// file, which becomes the current data path. A data file the user opened is
/// therefore never overwritten by closing; nor is the last-data file the
/// start could not load (`untouchedData` of the start) while the data are
/// those the program started on.
SettingsSaveResult closeSession(AppPaths& paths, const DataDocument& document, Platform& platform,
                                const std::optional<std::string>& untouchedData = {});

}  // namespace quorvane
