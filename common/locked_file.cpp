#include "common/locked_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "common/file_io.h"

namespace quorvane {
namespace {

/// True when `path` still names the file open as `fd`: a process that held
/// the lock may have removed the file it created and could not fill.
bool stillNamed(int fd, const std::string& path) {
    struct stat open {
    }, named{};
    return ::fstat(fd, &open) == 0 && ::stat(path.c_str(), &named) == 0 &&
           open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

}  // namespace

LockedFile::LockedFile(const std::string& path) : path_(path) {
    if (path.empty() || isDirectory(path)) return;
    // A few rounds at most: each one lost means another process removed the file.
    for (int round = 0; round < 100 && fd_ < 0; ++round)
        if (!openAndLock() && errno != EAGAIN) break;
}

bool LockedFile::openAndLock() {
    created_ = false;
    int fd = ::open(path_.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT) {
        fd = ::open(path_.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        created_ = fd >= 0;
        if (fd < 0 && errno == EEXIST) errno = EAGAIN;  // made by another process meanwhile
    }
    if (fd < 0) return false;
    while (::flock(fd, LOCK_EX) != 0) {
        if (errno == EINTR) continue;
        ::close(fd);
        return false;
    }
    if (!stillNamed(fd, path_)) {
        ::close(fd);
        errno = EAGAIN;
        return false;
    }
    fd_ = fd;
    return true;
}

LockedFile::~LockedFile() {
    if (fd_ < 0) return;
    if (created_ && size() == 0) ::unlink(path_.c_str());
    ::close(fd_);  // and with it the lock
}

long long LockedFile::size() const {
    struct stat info {};
    if (fd_ < 0 || ::fstat(fd_, &info) != 0) return -1;
    return static_cast<long long>(info.st_size);
}

bool LockedFile::appendWhole(const std::string& content) {
    const long long before = size();
    if (before < 0) return false;
    if (writeWhole(fd_, content)) return true;
    // Never leave a part of it behind.
    if (::ftruncate(fd_, static_cast<off_t>(before)) != 0) { /* nothing more to be done */
    }
    return false;
}

bool LockedFile::cutTo(long long size) {
    return fd_ >= 0 && ::ftruncate(fd_, static_cast<off_t>(size)) == 0;
}

std::optional<std::string> LockedFile::read(long long offset, std::size_t count) const {
    int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::string text(count, '\0');
    std::size_t got = 0;
    while (got < count) {
        ssize_t n = ::pread(fd, text.data() + got, count - got, static_cast<off_t>(offset + got));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n < 0) got = count + 1;  // a read error: no text
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    if (got > count) return std::nullopt;
    text.resize(got);
    return text;
}

}  // namespace quorvane
