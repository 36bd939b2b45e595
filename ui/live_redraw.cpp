#include "ui/live_redraw.h"

#include <QPainter>
#include <QShowEvent>
#include <algorithm>

#include "experiments/session.h"
#include "ui/results_panel.h"
#include "ui/view_panel.h"

namespace quorvane {

qint64 RedrawPacer::quietIntervalNs(qint64 costNs) {
    // Drawing for c and then stepping for q gives drawing the share c / (c + q).
    const double quiet = static_cast<double>(costNs) * (1.0 - kDrawShare) / kDrawShare;
    return std::max(kMinIntervalNs, static_cast<qint64>(quiet));
}

bool RedrawPacer::due() const {
    if (!drawnOnce_) return true;
    return clock_.nsecsElapsed() - endNs_ >= quietIntervalNs(costNs_);
}

void RedrawPacer::begin() {
    startNs_ = clock_.nsecsElapsed();
}

void RedrawPacer::end() {
    endNs_ = clock_.nsecsElapsed();
    const qint64 cost = endNs_ - startNs_;
    // The first frame after the panel is shown warms the font and image caches
    // and says little about the next ones, so it is not weighed. After it, the
    // pictures grow dearer as the face roughens (and a busy machine makes any
    // frame dearer), so a dearer frame counts at once, while a cheaper one lowers
    // the estimate only over the next few frames.
    if (drawnOnce_) costNs_ = std::max(cost, (3 * costNs_ + cost) / 4);
    totalNs_ += cost;
    drawnOnce_ = true;
}

LivePanel::LivePanel(Session& session, QWidget* parent) : QWidget(parent), session_(session) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

bool LivePanel::onScreen() const {
    const QWidget* top = window();
    return isVisible() && !(top && top->isMinimized());
}

bool LivePanel::renderFrame() {
    if (rendering_) return false;
    rendering_ = true;
    // The frame has a pixel for every device pixel, so that a scaled screen shows
    // the picture sharp; the painter draws on it in the panel's own coordinates.
    const QSize wanted = size().expandedTo(QSize(1, 1));
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(wanted) * ratio).toSize();
    if (frame_.size() != pixels || frame_.devicePixelRatio() != ratio) {
        frame_ = QImage(pixels, QImage::Format_RGB32);
        frame_.setDevicePixelRatio(ratio);
    }
    {
        QPainter painter(&frame_);
        render(painter, wanted);
    }
    stale_ = false;
    ++frames_;
    rendering_ = false;
    return true;
}

void LivePanel::liveRedraw() {
    if (!onScreen() || rendering_ || !pacer_.due()) return;
    redraw();
}

void LivePanel::redraw() {
    if (rendering_) return;
    // The frame's cost includes showing it: the copy to the window is not free
    // for a panel of a million pixels.
    pacer_.begin();
    renderFrame();
    freshForPaint_ = true;
    repaint();
    freshForPaint_ = false;
    pacer_.end();
}

void LivePanel::paintEvent(QPaintEvent*) {
    // While a run goes on the frame of the last paced redraw is shown as it is;
    // otherwise every paint draws the field as it is now.
    const bool running = session_.state.runState.loopActive;
    const bool sizeChanged = frame_.deviceIndependentSize().toSize() != size() ||
                             frame_.devicePixelRatio() != devicePixelRatioF();
    if (!freshForPaint_ && (stale_ || sizeChanged || !running)) renderFrame();
    QPainter painter(this);
    painter.drawImage(0, 0, frame_);
}

void LivePanel::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    markStale();
    pacer_.restart();
}

void connectLiveRun(RunHooks& hooks, ViewPanel* view, ResultsPanel* results,
                    std::function<void(int)> requestTab) {
    if (view && requestTab) {
        std::function<void()> reset = hooks.resetViewpoint;
        hooks.resetViewpoint = [view, results, requestTab, reset] {
            if (reset) reset();
            const bool watched = view->onScreen() || (results && results->onScreen());
            if (!watched) requestTab(kViewTabIndex);
        };
    }
    if (view) {
        std::function<void()> surface = hooks.redrawSurface;
        hooks.redrawSurface = [view, surface] {
            if (surface) surface();
            view->liveRedraw();
        };
        std::function<void()> reset = hooks.resetViewpoint;
        hooks.resetViewpoint = [view, reset] {
            if (reset) reset();
            view->takeFieldSize();
        };
    }
    if (results) {
        std::function<void()> chart = hooks.redrawResults;
        hooks.redrawResults = [results, chart] {
            if (chart) chart();
            results->liveRedraw();
        };
    }
    // The last steps of a run are shown whatever the pacing held back: the panels
    // paint the field as it is once the loop has returned.
    std::function<void(int)> ended = hooks.runEnded;
    hooks.runEnded = [view, results, ended](int code) {
        if (ended) ended(code);
        if (view) view->update();
        if (results) results->update();
    };
}

}  // namespace quorvane
