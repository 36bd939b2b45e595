#include "common/file_io.h"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace quorvane {
namespace {

/// Past a file-size limit (ulimit -f) the kernel sends SIGXFSZ, whose default
/// action ends the process in the middle of a row. Held back while this thread
/// writes, the write fails with EFBIG like any other failure and is cut back;
/// the signal is then taken off the queue, so no program using these
/// functions needs a handler of its own.
class FileSizeSignalHeld {
  public:
    FileSizeSignalHeld() {
        sigset_t set = fileSizeSignal();
        pthread_sigmask(SIG_BLOCK, &set, &previous_);
    }
    ~FileSizeSignalHeld() {
        sigset_t set = fileSizeSignal();
        timespec now{};
        while (sigtimedwait(&set, nullptr, &now) == SIGXFSZ) {
        }
        pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
    }
    FileSizeSignalHeld(const FileSizeSignalHeld&) = delete;
    FileSizeSignalHeld& operator=(const FileSizeSignalHeld&) = delete;

  private:
    static sigset_t fileSizeSignal() {
        sigset_t set;
        sigemptyset(&set);
        sigaddset(&set, SIGXFSZ);
        return set;
    }
    sigset_t previous_{};
};

bool writeAll(int fd, const std::string& content) {
    FileSizeSignalHeld held;
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

}  // namespace

bool writeWhole(int fd, const std::string& content) {
    return writeAll(fd, content);
}

// Saving through a link updates what it points to instead of replacing the
// link by a file.
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

bool PendingFile::write(const std::string& linkOrPath, const std::string& content) {
    discard();
    if (linkOrPath.empty() || isDirectory(linkOrPath)) return false;
    target_ = followLinks(linkOrPath);
    temp_ = target_ + ".next";
    ::unlink(temp_.c_str());  // left by a process that was killed
    int fd = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        temp_.clear();
        return false;
    }
    bool ok = writeAll(fd, content) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (!ok) discard();
    return ok;
}

bool PendingFile::commit() {
    if (temp_.empty()) return false;
    const bool ok = std::rename(temp_.c_str(), target_.c_str()) == 0;
    if (ok) temp_.clear();
    discard();
    return ok;
}

void PendingFile::discard() {
    if (!temp_.empty()) ::unlink(temp_.c_str());
    temp_.clear();
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
