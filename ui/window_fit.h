#pragma once
/// The main window's size and place on its screen: it opens at the size its
/// panels ask for, within the screen's free area with its frame and title bar,
/// centred on it; that size is its minimum from then on, and a window made
/// smaller is put back and centred again.

#include <QMargins>
#include <QRect>
#include <QSize>

class QWidget;

namespace quorvane {

/// Where a window whose inside wants `wanted` goes on a screen whose free area
/// is `available`, with a frame of `frame` around it: no larger than the area
/// leaves, centred on it, and the frame's top left never off it.
QRect fittedGeometry(QSize wanted, const QMargins& frame, const QRect& available);

class WindowFit {
  public:
    explicit WindowFit(QWidget& window) : window_(window) {}

    /// Sizes the window to `wanted` within its screen, makes that its minimum and
    /// centres it.
    void fit(QSize wanted);
    /// The first time the window is on screen, its frame known: a frame that
    /// reaches past the screen's free area is brought within it, the minimum
    /// with it. Later the user may place the window where they like.
    void fitFrame();
    /// After a resize: false when the window had been made smaller than its
    /// minimum and was put back and centred.
    bool keepMinimum();
    QSize minimum() const { return minimum_; }

  private:
    QRect available() const;
    QMargins frame() const;
    void centre();

    QWidget& window_;
    QSize minimum_;
    bool framed_ = false;
};

}  // namespace quorvane
