#pragma once
/// A file appended to under an exclusive lock, so that several processes
/// sharing it (runs writing one log) take turns: what one of them finds in the
/// file (empty: the header comes first) is still so when it writes.

#include <cstddef>
#include <optional>
#include <string>

namespace quorvane {

class LockedFile {
  public:
    /// Opens the file for appending, creating it when missing, and waits for
    /// its lock; ok() is false when it cannot be opened.
    explicit LockedFile(const std::string& path);
    /// A file this object created and left empty is removed; the lock ends.
    ~LockedFile();
    LockedFile(const LockedFile&) = delete;
    LockedFile& operator=(const LockedFile&) = delete;

    bool ok() const { return fd_ >= 0; }
    /// The size of the file now, -1 when it cannot be told.
    long long size() const;
    /// Appends whole or not at all: a short write is cut back.
    bool appendWhole(const std::string& content);
    /// Shortens the file to `size` bytes.
    bool cutTo(long long size);
    /// Up to `count` bytes from `offset` (fewer at the end of the file).
    std::optional<std::string> read(long long offset, std::size_t count) const;

  private:
    bool openAndLock();

    std::string path_;
    int fd_ = -1;
    bool created_ = false;
};

}  // namespace quorvane
