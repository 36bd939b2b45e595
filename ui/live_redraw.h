#pragma once
/// A panel that follows a run as it goes: its picture is drawn into a frame that
/// is kept between paints and shown in one step, and redraws asked for by the run
/// loop are paced by wall time so that drawing never slows the loop much.

#include <QElapsedTimer>
#include <QImage>
#include <QWidget>

#include "experiments/run_hooks.h"

namespace quorvane {

class Session;
class ViewPanel;
class ResultsPanel;

/// Decides when a live redraw is due. A frame is drawn when the time since the
/// end of the last one is at least `quietFactor()` times what that frame cost,
/// and never more often than about 30 times a second: drawing then takes at most
/// `kDrawShare` of the wall time, and a picture that costs up to 10 ms is still
/// renewed five times a second or more. The share is kept below a tenth because a
/// frame also costs what the clock does not see: the step that follows it finds
/// the field pushed out of the processor's caches by the picture.
class RedrawPacer {
  public:
    /// The largest share of the run's wall time spent drawing.
    static constexpr double kDrawShare = 0.05;
    /// About 30 frames a second at most: the eye sees no more growth in more.
    static constexpr qint64 kMinIntervalNs = 33'000'000;

    RedrawPacer() { clock_.start(); }
    /// True when a frame should be drawn now.
    bool due() const;
    /// A frame began now (call before drawing) and ended (call after).
    void begin();
    void end();
    /// The next frame is due at once (a new run, the panel shown again).
    void restart() { drawnOnce_ = false; }

    /// Wall time that must pass after a frame, for a frame that cost `costNs`.
    static qint64 quietIntervalNs(qint64 costNs);
    /// The estimated cost of one frame, nanoseconds.
    qint64 frameCostNs() const { return costNs_; }
    /// The time spent in all frames so far, nanoseconds.
    qint64 totalCostNs() const { return totalNs_; }

  private:
    QElapsedTimer clock_;
    qint64 startNs_ = 0;
    qint64 endNs_ = 0;
    qint64 costNs_ = 0;  ///< the estimate the quiet interval is computed from
    qint64 totalNs_ = 0;
    bool drawnOnce_ = false;
};

/// The base of the View and Results panels: the frame, its pacing and the paint.
class LivePanel : public QWidget {
    Q_OBJECT
  public:
    explicit LivePanel(Session& session, QWidget* parent = nullptr);

    /// The run loop's redraw: draws a new frame when the panel can be seen and the
    /// pacing allows; otherwise does nothing.
    void liveRedraw();
    /// Draws a new frame now and shows it (a camera move, a mode click, the end of
    /// a run). Nothing happens while a frame is being drawn.
    void redraw();
    /// True while the panel is on screen: shown, and its window not minimised.
    bool onScreen() const;

    /// Frames drawn since the panel was made.
    int framesDrawn() const { return frames_; }
    /// The last frame drawn.
    const QImage& frame() const { return frame_; }
    const RedrawPacer& pacer() const { return pacer_; }

  protected:
    /// Draws the whole picture of the panel into `painter`, sized `size`.
    virtual void render(QPainter& painter, const QSize& size) = 0;
    /// The picture no longer matches what the panel shows (new data, new camera).
    void markStale() { stale_ = true; }

    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

    Session& session_;

  private:
    bool renderFrame();

    QImage frame_;
    RedrawPacer pacer_;
    bool stale_ = true;
    bool rendering_ = false;
    bool freshForPaint_ = false;
    int frames_ = 0;
};

/// The View panel's tab, which a new run brings forward.
inline constexpr int kViewTabIndex = 2;

/// Hooks both panels to the run loop, keeping whatever the hooks did before: the
/// loop's redraws every 10 steps, the viewpoint of a new field, and a last frame
/// when a run halts. Either panel may be null. When `requestTab` is given (the main
/// window's `pendingTab` request), a new run that starts while neither panel is
/// on screen brings the View panel forward; a user who watches one of them keeps it.
void connectLiveRun(RunHooks& hooks, ViewPanel* view, ResultsPanel* results,
                    std::function<void(int)> requestTab = {});

}  // namespace quorvane
