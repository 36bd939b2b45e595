#pragma once
// A paint device that keeps what a painter drew as geometry: the box of every text,
// every polyline of three points or more (the curves) and every filled rectangle,
// in the device's pixels, so that a test can ask what a reader sees.

#include <QImage>
#include <QLineF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPolygonF>
#include <QTextItem>
#include <memory>
#include <string>
#include <vector>

namespace quorvane::views::test {

class RecordedPicture : public QPaintDevice {
  public:
    struct Text {
        QString text;
        QRectF box;
    };
    explicit RecordedPicture(QSize size) : size_(size), engine_(new Engine(*this)) {}

    QPaintEngine* paintEngine() const override { return engine_.get(); }
    QRect rect() const { return {QPoint(0, 0), size_}; }

    struct Bar {
        QRectF rect;
        QColor colour;  ///< the brush it was filled with
    };
    std::vector<Text> texts;
    std::vector<QPolygonF> polylines;
    std::vector<Bar> bars;

    /// Every text that overlaps another, leaves the picture or is crossed by a
    /// curve, described for a failure message (boxes shrunk by `slack` pixels).
    std::vector<std::string> illegibleTexts(double slack = 0.75) const {
        std::vector<std::string> found;
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const QRectF box = texts[i].box.adjusted(slack, slack, -slack, -slack);
            if (!QRectF(rect()).contains(texts[i].box)) found.push_back(named(i, "past the edge"));
            for (std::size_t j = i + 1; j < texts.size(); ++j)
                if (box.intersects(texts[j].box.adjusted(slack, slack, -slack, -slack)))
                    found.push_back(named(i, "on") + " " + named(j, ""));
            for (const QPolygonF& line : polylines)
                for (qsizetype k = 1; k < line.size(); ++k)
                    if (crosses(QLineF(line[k - 1], line[k]), box)) {
                        found.push_back(named(i, "on a curve"));
                        k = line.size();
                    }
        }
        return found;
    }

  protected:
    int metric(PaintDeviceMetric metric) const override {
        // As an image of the same size has it, so that fonts come out alike.
        struct Image : QImage {
            using QImage::QImage;
            int of(PaintDeviceMetric m) const { return QImage::metric(m); }
        };
        return Image(size_, QImage::Format_RGB32).of(metric);
    }

  private:
    /// Records texts, polylines and filled rectangles with the painter's transformation
    /// applied; integer rectangles and polygons reach it through the floating-point
    /// functions, as QPaintEngine passes them on.
    class Engine : public QPaintEngine {
      public:
        explicit Engine(RecordedPicture& picture) : QPaintEngine(AllFeatures), picture_(picture) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        Type type() const override { return User; }
        void updateState(const QPaintEngineState& state) override {
            if (state.state() & DirtyTransform) transform_ = state.transform();
            if (state.state() & DirtyBrush) brush_ = state.brush().color();
        }
        void drawRects(const QRectF* rects, int count) override {
            for (int k = 0; k < count; ++k)
                picture_.bars.push_back({transform_.mapRect(rects[k]), brush_});
        }
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawPath(const QPainterPath&) override {}
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

      private:
        RecordedPicture& picture_;
        QTransform transform_;
        QColor brush_;
    };

    static bool crosses(const QLineF& line, const QRectF& box) {
        if (box.contains(line.p1()) || box.contains(line.p2())) return true;
        const QPointF c[4] = {box.topLeft(), box.topRight(), box.bottomRight(), box.bottomLeft()};
        for (int k = 0; k < 4; ++k)
            if (line.intersects(QLineF(c[k], c[(k + 1) % 4]), nullptr) ==
                QLineF::BoundedIntersection)
                return true;
        return false;
    }
    std::string named(std::size_t i, const char* what) const {
        const QRectF& b = texts[i].box;
        return QStringLiteral("\"%1\" (%2, %3, %4 x %5) %6")
            .arg(texts[i].text)
            .arg(b.x())
            .arg(b.y())
            .arg(b.width())
            .arg(b.height())
            .arg(QString::fromLatin1(what))
            .toStdString();
    }

    QSize size_;
    std::unique_ptr<QPaintEngine> engine_;
};

}  // namespace quorvane::views::test
