#pragma once
// A paint device that keeps what a painter drew as geometry: the box of every
// text and every polyline, in the device's pixels. Tests of the charts ask of it
// what a reader sees: texts apart from each other, inside the picture, off the curves.

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <QTransform>
#include <vector>

namespace quorvane::views::test {

struct RecordedText {
    QString text;
    QRectF box;
};

class RecordedPicture : public QPaintDevice {
  public:
    explicit RecordedPicture(QSize size);
    ~RecordedPicture() override;

    QPaintEngine* paintEngine() const override;
    QRect rect() const { return QRect(QPoint(0, 0), size_); }

    std::vector<RecordedText> texts;
    std::vector<QPolygonF> polylines;  ///< open polylines of three points or more

    /// Texts whose boxes overlap (by more than `slack` pixels each way), as
    /// "first / second" for a failure message; empty when none do.
    std::vector<QString> overlappingTexts(double slack = 0.5) const;
    /// Texts whose box leaves the picture.
    std::vector<QString> textsOutside() const;
    /// Texts crossed by one of the polylines (the curves).
    std::vector<QString> textsOnCurves(double slack = 1) const;

  protected:
    int metric(PaintDeviceMetric metric) const override;

  private:
    QSize size_;
    QPaintEngine* engine_;
};

}  // namespace quorvane::views::test
