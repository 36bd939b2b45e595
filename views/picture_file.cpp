// JPEG files of the pictures.

#include "views/picture_file.h"

#include <QImageWriter>
#include <QSaveFile>

namespace quorvane::views {

SaveStatus saveJpeg(const QImage& image, const QString& path) {
    if (image.isNull()) return SaveStatus::EmptyImage;
    QSaveFile file(path);
    // Unbuffered, so that a full disk fails the write that meets it: a failure
    // found only while committing a buffer would still be renamed into place.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return SaveStatus::WriteFailed;
    QImageWriter writer(&file, "jpeg");
    if (!writer.write(image) || file.error() != QFileDevice::NoError) {
        file.cancelWriting();
        return SaveStatus::WriteFailed;
    }
    return file.commit() ? SaveStatus::Ok : SaveStatus::WriteFailed;
}

QImage whitePicture(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

}  // namespace quorvane::views
