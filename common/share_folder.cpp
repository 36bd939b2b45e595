#include "common/share_folder.h"

#include <filesystem>
#include <system_error>

namespace quorvane {

namespace fs = std::filesystem;

std::string executableFolder() {
    std::error_code error;
    fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (error || self.empty()) return {};
    return self.parent_path().string();
}

std::string sharedFolderFrom(const std::string& executableFolder, const std::string& name) {
    if (executableFolder.empty()) return {};
    fs::path folder = fs::path(executableFolder) / ".." / "share" / "quorvane" / name;
    std::error_code error;
    if (!fs::is_directory(folder, error)) return {};
    return fs::weakly_canonical(folder, error).string();
}

std::string sharedFolder(const std::string& name) {
    return sharedFolderFrom(executableFolder(), name);
}

}  // namespace quorvane
