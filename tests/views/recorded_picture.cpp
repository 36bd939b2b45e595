#include "recorded_picture.h"

#include <QImage>
#include <QLineF>
#include <QTextItem>
#include <QtMath>
#include <climits>

namespace quorvane::views::test {

namespace {

/// Records texts and polylines with the painter's transformation applied, and
/// nothing else.
class RecordingEngine : public QPaintEngine {
  public:
    explicit RecordingEngine(RecordedPicture& picture)
        : QPaintEngine(AllFeatures), picture_(picture) {}

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return User; }
    void updateState(const QPaintEngineState& state) override {
        if (state.state() & DirtyTransform) transform_ = state.transform();
    }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawPath(const QPainterPath&) override {}
    void drawImage(const QRectF&, const QImage&, const QRectF&, Qt::ImageConversionFlags) override {
    }
    void drawTextItem(const QPointF& p, const QTextItem& item) override {
        const QRectF cell(p.x(), p.y() - item.ascent(), item.width(),
                          item.ascent() + item.descent());
        picture_.texts.push_back({item.text(), transform_.mapRect(cell)});
    }
    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override {
        if (mode != PolylineMode || count < 3) return;
        QPolygonF line;
        for (int k = 0; k < count; ++k) line.append(transform_.map(points[k]));
        picture_.polylines.push_back(line);
    }
    void drawPolygon(const QPoint* points, int count, PolygonDrawMode mode) override {
        QPolygonF line;
        for (int k = 0; k < count; ++k) line.append(QPointF(points[k]));
        drawPolygon(line.constData(), count, mode);
    }

  private:
    RecordedPicture& picture_;
    QTransform transform_;
};

bool segmentCrossesBox(const QLineF& line, const QRectF& box) {
    if (box.contains(line.p1()) || box.contains(line.p2())) return true;
    const QLineF sides[4] = {{box.topLeft(), box.topRight()},
                             {box.topRight(), box.bottomRight()},
                             {box.bottomRight(), box.bottomLeft()},
                             {box.bottomLeft(), box.topLeft()}};
    for (const QLineF& side : sides)
        if (line.intersects(side, nullptr) == QLineF::BoundedIntersection) return true;
    return false;
}

QString named(const RecordedText& t) {
    return QStringLiteral("\"%1\" at (%2, %3, %4 x %5)")
        .arg(t.text)
        .arg(t.box.x())
        .arg(t.box.y())
        .arg(t.box.width())
        .arg(t.box.height());
}

}  // namespace

RecordedPicture::RecordedPicture(QSize size) : size_(size), engine_(new RecordingEngine(*this)) {}

RecordedPicture::~RecordedPicture() {
    delete engine_;
}

QPaintEngine* RecordedPicture::paintEngine() const {
    return engine_;
}

int RecordedPicture::metric(PaintDeviceMetric metric) const {
    // Everything as an image of the same size has it, so fonts come out alike.
    static const QImage reference(1, 1, QImage::Format_RGB32);
    switch (metric) {
        case PdmWidth:
            return size_.width();
        case PdmHeight:
            return size_.height();
        case PdmWidthMM:
            return size_.width() * 254 / (10 * reference.logicalDpiX());
        case PdmHeightMM:
            return size_.height() * 254 / (10 * reference.logicalDpiY());
        case PdmDpiX:
        case PdmPhysicalDpiX:
            return reference.logicalDpiX();
        case PdmDpiY:
        case PdmPhysicalDpiY:
            return reference.logicalDpiY();
        case PdmDepth:
            return 32;
        case PdmNumColors:
            return INT_MAX;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(devicePixelRatioFScale());
        default:
            return QPaintDevice::metric(metric);
    }
}

std::vector<QString> RecordedPicture::overlappingTexts(double slack) const {
    std::vector<QString> found;
    for (std::size_t i = 0; i < texts.size(); ++i)
        for (std::size_t j = i + 1; j < texts.size(); ++j) {
            const QRectF a = texts[i].box.adjusted(slack, slack, -slack, -slack);
            if (a.intersects(texts[j].box.adjusted(slack, slack, -slack, -slack)))
                found.push_back(named(texts[i]) + " / " + named(texts[j]));
        }
    return found;
}

std::vector<QString> RecordedPicture::textsOutside() const {
    std::vector<QString> found;
    const QRectF picture(QPointF(0, 0), QSizeF(size_));
    for (const RecordedText& t : texts)
        if (!picture.contains(t.box)) found.push_back(named(t));
    return found;
}

std::vector<QString> RecordedPicture::textsOnCurves(double slack) const {
    std::vector<QString> found;
    for (const RecordedText& t : texts) {
        const QRectF box = t.box.adjusted(slack, slack, -slack, -slack);
        bool crossed = false;
        for (const QPolygonF& line : polylines)
            for (qsizetype k = 1; k < line.size() && !crossed; ++k)
                crossed = segmentCrossesBox(QLineF(line[k - 1], line[k]), box);
        if (crossed) found.push_back(named(t));
    }
    return found;
}

}  // namespace quorvane::views::test
