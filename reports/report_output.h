#pragma once
/// A report written whole or not at all. Its pictures are written first under
/// names of their own beside their final ones, then the page is put in place,
/// and only then do the pictures take their names: a full disk, a file-size
/// limit or a folder that cannot be written anywhere along the way leaves the
/// earlier report, page and pictures, exactly as it was.

#include <QImage>

#include <string>
#include <vector>

namespace quorvane {

class StagedReport {
  public:
    /// `pagePath` as chosen; a symbolic link is followed, so the pictures go
    /// beside the page the link names and the page's relative links find them.
    /// The picture folder is that page's name cut at its last "." + `suffix`.
    StagedReport(const std::string& pagePath, const std::string& suffix);
    /// Removes what was staged and not put in place, and a picture folder it
    /// made that stayed empty.
    ~StagedReport();
    StagedReport(const StagedReport&) = delete;
    StagedReport& operator=(const StagedReport&) = delete;

    const std::string& page() const { return page_; }
    const std::string& folder() const { return folder_; }
    /// True when the picture folder was there before this report.
    bool folderExisted() const { return folderExisted_; }
    /// Makes the picture folder when it is missing; false when it cannot be.
    bool makeFolder();

    enum class Picture { Staged, Empty, Failed };
    /// Writes a picture to be named `fileName` in the folder; Empty for a null
    /// image (nothing to show), Failed when it cannot be written whole.
    Picture stage(const QImage& image, const std::string& fileName);
    /// The reference of a picture from the page: folder name + "/" + file name.
    std::string relativePath(const std::string& fileName) const;

    /// Writes the page whole over the earlier one, then gives the staged
    /// pictures their names. False, with nothing of the earlier report changed,
    /// when the page cannot be written.
    bool commit(const std::string& pageText);
    /// Pictures that could not take their names after the page was written.
    int picturesNotPlaced() const { return notPlaced_; }

  private:
    struct Staged {
        std::string temp;
        std::string final;
    };
    void discard();

    std::string page_;
    std::string folder_;
    bool folderExisted_ = false;
    bool folderMade_ = false;
    int notPlaced_ = 0;
    std::vector<Staged> staged_;
};

/// "Problems to open file", then which report was not written and that an
/// earlier one there is as it was.
std::string reportNotWrittenMessage(const std::string& page);

/// Writes `text` to `path` whole or not at all (the earlier file stays on any
/// failure, a full disk found at the write that meets it).
bool saveTextWhole(const std::string& path, const std::string& text);

}  // namespace quorvane
