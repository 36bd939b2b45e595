#pragma once
// What the pictures' tests share: pictures saved for looking at, and colour counts.

#include <QColor>
#include <QImage>
#include <QString>
#include <cstdlib>

namespace quorvane::views::test {

/// Saves a picture as PNG into $QUORVANE_PICTURES (when set), for looking at it.
inline void keepPicture(const QImage& image, const char* name) {
    const char* folder = std::getenv("QUORVANE_PICTURES");
    if (folder == nullptr || *folder == 0) return;
    image.save(QString::fromLocal8Bit(folder) + "/" + QString::fromLatin1(name) + ".png");
}

/// Pixels of exactly this colour.
inline int countColour(const QImage& image, QRgb colour, QRect within = {}) {
    if (within.isNull()) within = image.rect();
    int count = 0;
    for (int y = within.top(); y <= within.bottom(); ++y)
        for (int x = within.left(); x <= within.right(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) ++count;
    return count;
}

}  // namespace quorvane::views::test
