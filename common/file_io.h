#pragma once
/// Writing files so that a crash, a full disk or a locked file never leaves a
/// user's document half-written.

#include <cstddef>
#include <optional>
#include <string>

namespace quorvane {

/// Writes `content` to a temporary file beside `path` and renames it over
/// `path`. On any failure the old file is left exactly as it was and false is
/// returned. A symbolic link is followed: its target is written, the link stays.
bool writeFileAtomically(const std::string& path, const std::string& content);

/// The file a path finally names: a symbolic link is followed, link by link
/// (a relative target is taken from the link's folder); any other path as it is.
std::string followLinks(const std::string& path);

/// Writes all of `content` to an open file. Past a file-size limit (ulimit -f)
/// the write fails like any other, without the signal that would end the process.
bool writeWhole(int fd, const std::string& content);

/// A whole file written now and put in place later by a rename, which a full
/// disk cannot refuse: what a file is to say after a long piece of work is on
/// disk before the work starts. One that is not put in place is removed.
class PendingFile {
  public:
    PendingFile() = default;
    ~PendingFile() { discard(); }
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    /// Writes `content` to PATH.next beside `path` (a symbolic link followed,
    /// as writeFileAtomically does); false when it cannot be written whole.
    bool write(const std::string& path, const std::string& content);
    /// Renames it over its path; false when that fails (it is then removed).
    bool commit();
    /// Removes a file written and not put in place.
    void discard();

  private:
    std::string temp_;
    std::string target_;
};

/// Appends `content` whole or not at all: a short write is cut back to the
/// file's previous length, and a file the call created is removed again. False
/// when the file cannot be opened or written.
bool appendWhole(const std::string& path, const std::string& content);

/// The last `maxBytes` bytes of a regular file (all of a smaller one), or
/// nullopt when it cannot be read.
std::optional<std::string> readTail(const std::string& path, std::size_t maxBytes);

/// Shortens a file by `bytes` from its end. False when that is not possible.
bool cutFileBy(const std::string& path, std::size_t bytes);

/// The whole file, or nullopt when it cannot be opened as a regular file.
std::optional<std::string> readWholeFile(const std::string& path);

bool isRegularFile(const std::string& path);
bool isDirectory(const std::string& path);

/// folder + separator + name (the platform's separator).
std::string joinPath(const std::string& folder, const std::string& name);

}  // namespace quorvane
