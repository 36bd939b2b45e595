#pragma once
/// Where the labels of a chart go: beside what they name, clear of one another,
/// of the curves and of everything else drawn, and inside the picture.

#include <QLine>
#include <QPainter>
#include <QPoint>
#include <QPolygon>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace quorvane::views {

/// Collects what a chart has drawn and finds free room for its labels.
class LabelPlacer {
  public:
    /// Pixels kept free around a label.
    static constexpr int kClearance = 3;

    /// Labels stay inside `bounds`.
    explicit LabelPlacer(const QRect& bounds) : bounds_(bounds) {}

    const QRect& bounds() const { return bounds_; }

    /// Something drawn that no label may cover (a text, a dot, a legend).
    void avoid(const QRect& rect) { rects_.push_back(rect); }
    /// A line that no label may cross.
    void avoid(const QLine& line) { lines_.push_back(line); }
    /// A curve that no label may cross.
    void avoid(const QPolygon& curve);

    /// True when `rect` lies inside the bounds, `kClearance` pixels clear of
    /// everything avoided so far.
    bool isFree(const QRect& rect) const;
    /// How many of the things avoided `rect` touches, and 1000 more when it leaves
    /// the bounds: the lesser evil when nothing is free.
    int conflicts(const QRect& rect) const;

    /// The free place of `size` nearest to `anchor`, `gap` pixels away from it at
    /// least and at most `reach` pixels; nearest first, to its right before its left
    /// at equal distance. With `leader`, the line from the anchor to the place must
    /// not cross anything avoided either. Nothing when every place tried is taken.
    std::optional<QRect> findFree(const QPoint& anchor, const QSize& size, int gap, int reach,
                                  bool leader = false) const;
    /// As findFree, but always a place: the one with the fewest conflicts when none
    /// is free, moved inside the bounds.
    QRect bestPlace(const QPoint& anchor, const QSize& size, int gap, int reach) const;

  private:
    bool leaderIsClear(const QLine& leader) const;
    std::vector<QRect> candidates(const QPoint& anchor, const QSize& size, int gap,
                                  int reach) const;

    QRect bounds_;
    std::vector<QRect> rects_;
    std::vector<QLine> lines_;
};

/// A label of one or more lines in the painter's font.
struct LabelText {
    QStringList lines;
    QSize size(const QPainter& painter) const;
};

/// The text in one line, and broken at the blank nearest its middle.
LabelText oneLine(const QString& text);
LabelText twoLines(const QString& text);

/// Writes `label` (lines left-aligned) with its top-left corner at `at`.
void drawLabel(QPainter& painter, const QPoint& at, const LabelText& label);

/// Puts the label of the point `anchor` in the nearest free place, in one line when
/// it fits and in two when not, draws it with a leader line from the point when it
/// stands apart from it, and makes the placer avoid both. Returns the label's box.
QRect placePointLabel(QPainter& painter, LabelPlacer& placer, const QPoint& anchor,
                      const QString& text);

/// Puts `text` in the nearest free place to `anchor` (as findFree, one line),
/// draws it and makes the placer avoid it; a place with the fewest conflicts when
/// none is free. Returns the label's box.
QRect placeText(QPainter& painter, LabelPlacer& placer, const QPoint& anchor, const QString& text,
                int gap = 2);

}  // namespace quorvane::views
