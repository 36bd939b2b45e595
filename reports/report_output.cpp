#include "reports/report_output.h"

#include <QSaveFile>

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "common/file_io.h"
#include "reports/report_paths.h"
#include "views/picture_file.h"

namespace quorvane {

StagedReport::StagedReport(const std::string& pagePath, const std::string& suffix)
    : page_(followLinks(pagePath)), folder_(reportImageFolder(page_, suffix)) {
    folderExisted_ = isDirectory(folder_);
}

StagedReport::~StagedReport() {
    discard();
}

bool StagedReport::makeFolder() {
    if (isDirectory(folder_)) return true;
    folderMade_ = quorvane::makeFolder(folder_);
    return folderMade_;
}

StagedReport::Picture StagedReport::stage(const QImage& image, const std::string& fileName) {
    if (image.isNull()) return Picture::Empty;
    const std::string final = joinPath(folder_, fileName);
    // A name of its own beside the final one: the same file system, so the
    // rename at the end cannot fail for want of room.
    Staged staged{final + ".new", final};
    const auto status = views::saveJpeg(image, QString::fromStdString(staged.temp));
    if (status != views::SaveStatus::Ok) return Picture::Failed;
    staged_.push_back(std::move(staged));
    return Picture::Staged;
}

std::string StagedReport::relativePath(const std::string& fileName) const {
    return relativePicturePath(lastPathComponent(folder_), fileName);
}

bool StagedReport::commit(const std::string& pageText) {
    if (!saveTextWhole(page_, pageText)) return false;
    for (const Staged& picture : staged_) {
        if (std::rename(picture.temp.c_str(), picture.final.c_str()) != 0) {
            std::remove(picture.temp.c_str());
            ++notPlaced_;
        }
    }
    staged_.clear();
    folderMade_ = false;
    return true;
}

void StagedReport::discard() {
    for (const Staged& picture : staged_) std::remove(picture.temp.c_str());
    staged_.clear();
    std::error_code error;
    if (folderMade_ && std::filesystem::is_empty(folder_, error))
        std::filesystem::remove(folder_, error);
    folderMade_ = false;
}

std::string reportNotWrittenMessage(const std::string& page) {
    return std::string(kProblemsToOpenFile) + "\n" + page +
           " could not be written whole; an earlier report there is kept as it was";
}

bool saveTextWhole(const std::string& path, const std::string& text) {
    QSaveFile file(QString::fromStdString(path));
    // Unbuffered: the write that meets a full disk fails, and the commit then
    // leaves the earlier file in place instead of renaming a short one over it.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
    const qint64 size = static_cast<qint64>(text.size());
    if (file.write(text.data(), size) != size || file.error() != QFileDevice::NoError) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}  // namespace quorvane
