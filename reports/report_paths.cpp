#include "reports/report_paths.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "common/file_io.h"
#include "common/platform.h"

namespace quorvane {

std::string reportImageFolder(const std::string& reportPath, const std::string& suffix) {
    const std::size_t slash = reportPath.find_last_of('/');
    const std::size_t dot = reportPath.find_last_of('.');
    const bool inName = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (inName ? reportPath.substr(0, dot) : reportPath) + suffix;
}

std::string lastPathComponent(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string relativePicturePath(const std::string& folderName, const std::string& fileName) {
    std::string out;
    for (unsigned char c : folderName + "/" + fileName) {
        const bool plain = c > 0x20 && c < 0x7F && c != '\'' && c != '"' && c != '#' && c != '?' &&
                           c != '%' && c != '<' && c != '>' && c != '\\';
        if (plain) {
            out += static_cast<char>(c);
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", c);
            out += escaped;
        }
    }
    return out;
}

std::optional<std::string> askReportFile(Platform& platform, const char* title,
                                         const std::string& extension) {
    FileQuestion question;
    question.title = title;
    question.filter = "*" + extension;
    question.initialName = "*" + extension;
    question.forSaving = true;
    return platform.chooseFile(question);
}

bool makeFolder(const std::string& folder) {
    std::error_code error;
    std::filesystem::create_directory(folder, error);
    return isDirectory(folder);
}

}  // namespace quorvane
