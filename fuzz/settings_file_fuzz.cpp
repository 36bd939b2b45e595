// Fuzz target of the settings-file reader: any bytes as the settings file of
// a fresh working folder (which also holds a last-data file), read as a start
// reads it.

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "common/file_io.h"
#include "model/start_close.h"
#include "silent_platform.h"

namespace {

using namespace quorvane;

/// A fresh folder in the temporary folder (TMPDIR; a RAM disk speeds fuzzing up).
std::string temporaryFolder() {
    std::string path =
        (std::filesystem::temp_directory_path() / "quorvane-settings-fuzz-XXXXXX").string();
    if (!mkdtemp(path.data())) return {};
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    std::string documents = temporaryFolder();
    if (documents.empty()) return 0;
    std::string text(reinterpret_cast<const char*>(bytes), size);
    parseSettingsText(text);

    std::string folder = joinPath(documents, kWorkingFolderName);
    std::filesystem::create_directory(folder);
    std::ofstream(joinPath(folder, kSettingsFileName), std::ios::binary) << text;

    fuzzing::SilentPlatform platform;
    PhysicalData data = makeStartData();
    RunSettings run = makeStartRunSettings(data);
    ResearchSettings research;
    std::vector<RandomArgument> arguments = makeDefaultRandomArguments();
    DataDocument doc{data, run, research, arguments};
    // A last-data file for the settings to name.
    writeFileAtomically(joinPath(folder, kLastDataFileName), formatDataFile(doc));
    StartResult started = startSession(documents, doc, platform);
    if (started.settings.status == SettingsReadStatus::Read ||
        started.settings.status == SettingsReadStatus::SetAside) {
        // The paths must stay strings the next close can write.
        if (started.paths.logPath.find('\n') != std::string::npos) std::abort();
    }
    std::error_code ignored;
    std::filesystem::remove_all(documents, ignored);
    return 0;
}
