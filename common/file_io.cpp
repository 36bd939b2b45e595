#include "common/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace quorvane {
namespace {

bool writeAll(int fd, const std::string& content) {
    const char* data = content.data();
    size_t left = content.size();
    while (left > 0) {
        ssize_t written = ::write(fd, data, left);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += written;
        left -= static_cast<size_t>(written);
    }
    return true;
}

/// The file a path finally names: a symbolic link is followed (link by link,
/// a relative target taken from the link's folder), so that saving through a
/// link updates what it points to instead of replacing the link by a file.
std::string followLinks(const std::string& path) {
    namespace fs = std::filesystem;
    fs::path current = path;
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(current, error))) break;
        fs::path target = fs::read_symlink(current, error);
        if (error) break;
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    return current.string();
}

}  // namespace

bool writeFileAtomically(const std::string& linkOrPath, const std::string& content) {
    if (linkOrPath.empty() || isDirectory(linkOrPath)) return false;
    const std::string path = followLinks(linkOrPath);
    std::string temp = path + ".saving-XXXXXX";
    int fd = ::mkstemp(temp.data());
    if (fd < 0) return false;
    // mkstemp creates the file private to the user; give it the usual mode.
    mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    bool ok = writeAll(fd, content) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok) ok = std::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) ::unlink(temp.c_str());
    return ok;
}

bool appendWhole(const std::string& path, const std::string& content) {
    if (path.empty() || isDirectory(path)) return false;
    bool created = false;
    int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT) {
        fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        created = fd >= 0;
    }
    if (fd < 0) return false;
    struct stat before {};
    bool ok = ::fstat(fd, &before) == 0;
    if (ok && !writeAll(fd, content)) {
        // Never leave a partial row behind.
        if (::ftruncate(fd, before.st_size) != 0) { /* nothing more we can do */
        }
        ok = false;
    }
    ok = (::close(fd) == 0) && ok;
    // A file this call created and could not fill is no file at all.
    if (!ok && created) ::unlink(path.c_str());
    return ok;
}

std::optional<std::string> readTail(const std::string& path, std::size_t maxBytes) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat info {};
    std::optional<std::string> tail;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        const off_t size = info.st_size;
        const off_t from = size > static_cast<off_t>(maxBytes) ? size - maxBytes : 0;
        std::string text(static_cast<size_t>(size - from), '\0');
        ssize_t got = ::pread(fd, text.data(), text.size(), from);
        if (got >= 0) {
            text.resize(static_cast<size_t>(got));
            tail = std::move(text);
        }
    }
    ::close(fd);
    return tail;
}

bool cutFileBy(const std::string& path, std::size_t bytes) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || static_cast<std::size_t>(info.st_size) < bytes)
        return false;
    return ::truncate(path.c_str(), info.st_size - static_cast<off_t>(bytes)) == 0;
}

std::optional<std::string> readWholeFile(const std::string& path) {
    if (!isRegularFile(path)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

bool isRegularFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

bool isDirectory(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

std::string joinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

}  // namespace quorvane
