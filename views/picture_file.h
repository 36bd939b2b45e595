#pragma once
/// Saving a picture as a JPEG file: the whole file or none.

#include <QImage>
#include <QString>

namespace quorvane::views {

enum class SaveStatus {
    Ok,
    EmptyImage,      ///< nothing to save
    WrongExtension,  ///< the path does not end in ".jpg" (any case) or ".jpeg"
    WriteFailed,     ///< the folder is missing or not writable, or the encoder failed
};

/// Writes `image` as JPEG at the encoder's default quality, whatever the path's
/// extension (the commands check theirs before drawing). The file is written beside
/// its final name and renamed at the end, so a failure leaves any earlier file of
/// that name as it was. The caller turns the status into its message.
SaveStatus saveJpeg(const QImage& image, const QString& path);

/// A white picture of the given size to draw a report figure on.
QImage whitePicture(int width, int height);

}  // namespace quorvane::views
