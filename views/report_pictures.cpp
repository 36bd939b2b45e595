#include "views/report_pictures.h"

#include <QPainter>
#include <QSaveFile>

#include "views/report_fields.h"

namespace quorvane {
namespace {

// TODO(views): stand-ins until the painters of the pictures module are merged.
QImage standIn(int width, int height, const char* name) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.drawRect(0, 0, width - 1, height - 1);
    painter.drawText(QRect(0, 0, width, height), Qt::AlignCenter, QString::fromLatin1(name));
    return image;
}

}  // namespace

QImage drawRunPicture(RunPicture picture, const AppState& state, const RunReportView& view) {
    (void)state;
    switch (picture) {
        case RunPicture::Probabilities:
            return standIn(570, 330, "probabilities");
        case RunPicture::Theoretical:
            return standIn(800, 600, "theoretical");
        case RunPicture::Surface:
            return standIn(view.surfaceSize.width(), view.surfaceSize.height(), "surface");
        case RunPicture::GrowthChart:
            return standIn(600, 400, "growth chart");
    }
    return {};
}

QImage drawFullReportPicture(std::size_t index, const PhysicalData& data) {
    (void)data;
    const FullReportPicture& p = kFullReportPictures[index];
    return standIn(p.width, p.height, p.fileName);
}

QImage drawReportChart(const PhysicalData& data) {
    (void)data;
    return standIn(800, 600, "velocity");
}

bool saveReportPicture(const QImage& image, const std::string& path) {
    if (image.isNull()) return false;
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (!image.save(&file, "JPEG")) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}  // namespace quorvane
