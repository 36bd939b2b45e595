#pragma once
/// The rows of a study's combinations while its workers run: one file per
/// position in a folder beside the log, joined into the log in the order of
/// the positions. A join is done once: the rows it adds are written down
/// first, so that a join cut short by a kill is finished, never repeated.

#include <string>

#include "common/platform.h"

namespace quorvane::batch {

/// The folder of the parts: beside the log, named after it.
std::string partsFolder(const std::string& logPath);

/// The file of the rows at one position of the study.
std::string partFile(const std::string& logPath, long long position);

/// The parts folder made and held for one study: a second study writing to
/// the same log is refused while this one runs (their parts would mix).
class PartsFolderHold {
  public:
    explicit PartsFolderHold(const std::string& logPath);
    ~PartsFolderHold();
    PartsFolderHold(const PartsFolderHold&) = delete;
    PartsFolderHold& operator=(const PartsFolderHold&) = delete;

    /// "" when the folder is made and held, else what is wrong; a file of
    /// the folder's name is never touched.
    const std::string& problem() const { return problem_; }
    /// A failure to make the folder (status 1) rather than a refusal (status 2).
    bool cannotWrite() const { return cannotWrite_; }

  private:
    int fd_ = -1;
    std::string problem_;
    bool cannotWrite_ = false;
};

/// Removes the parts folder when nothing is left in it but files a kill cut
/// short while they were being written whole (never anything else); called
/// holding the folder.
void removeEmptyPartsFolder(const std::string& logPath);

/// Appends the rows kept in the parts folder to the log, in order of
/// position, and removes what was joined; first it finishes a join an earlier
/// process could not. The folder stays. "" on success, else what went wrong
/// (the rows then wait in the folder for the next join).
std::string joinParts(const std::string& logPath, Platform& platform);

}  // namespace quorvane::batch
