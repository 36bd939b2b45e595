#include "ui/view_panel.h"

#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QTimer>

#include "experiments/session.h"

namespace quorvane {

ViewPanel::ViewPanel(Session& session, QWidget* parent) : LivePanel(session, parent) {
    setObjectName("view");
    camera_.field = settingsExtent();
    views::resetCamera(camera_, size());
}

views::FieldExtent ViewPanel::settingsExtent() const {
    const AppState& state = session_.state;
    views::FieldExtent extent;
    extent.W = state.run.N_field_W;
    extent.H = state.run.N_field_H;
    extent.sizeA = state.data.Size_A;
    extent.sizeB = state.data.Size_B;
    extent.sizeC = state.data.Size_C;
    return extent;
}

views::FieldExtent ViewPanel::engineExtent() const {
    const GrowthEngine& engine = session_.state.engine;
    views::FieldExtent extent = settingsExtent();
    // The heights handed to the painter must match the grid they come from, even
    // when the Run panel already shows another size for the next run.
    if (engine.hasField()) {
        extent.W = engine.W();
        extent.H = engine.H();
    }
    return extent;
}

std::array<QRect, 3> ViewPanel::iconRects() const {
    return views::modeIconRects(width());
}

void ViewPanel::render(QPainter& painter, const QSize& size) {
    const GrowthEngine& engine = session_.state.engine;
    views::SurfaceInputs inputs;
    if (engine.hasField()) inputs.heights = engine.heights();
    inputs.field = engineExtent();
    inputs.referenceLevel = engine.referenceLevel();
    inputs.camera = &camera_;
    const QRect area(QPoint(0, 0), size);
    painter.fillRect(area, Qt::white);
    painter_.paint(painter, area, inputs, mode_);
    views::paintModeIcons(painter, iconRects()[0].topLeft());
}

void ViewPanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const int mode = views::modeAt(iconRects(), event->position().toPoint());
    if (mode < 0) return;
    mode_ = static_cast<views::PictureMode>(mode);
    markStale();
    redraw();
}

void ViewPanel::resizeEvent(QResizeEvent* event) {
    LivePanel::resizeEvent(event);
    // The zoom was fitted to the old size; the turns the user made stay.
    views::fitCamera(camera_, size());
    markStale();
}

bool ViewPanel::cameraKeys(const views::CameraKeys& keys) {
    switch (views::applyCameraKeys(camera_, keys, size())) {
        case views::CameraAction::Moved:
            markStale();
            return true;
        case views::CameraAction::Pause:
            // Like the loop's own pause: the run halts at its next step and keeps
            // its field and record.
            session_.state.runState.runFlag = false;
            return false;
        case views::CameraAction::Resume:
            // The key is handled first; the run then continues from the event loop.
            QTimer::singleShot(0, this, &ViewPanel::resumeFromKey);
            return false;
        case views::CameraAction::None:
            break;
    }
    return false;
}

void ViewPanel::resumeFromKey() {
    const RunState& rs = session_.state.runState;
    // A loop that already runs is not entered a second time, and there is nothing
    // to continue before the first step of a run.
    if (rs.loopActive || rs.step_count == 0 || !session_.state.engine.hasField()) return;
    session_.loop.ContinueLoop();
}

void ViewPanel::resetCamera() {
    views::resetCamera(camera_, size());
    markStale();
}

void ViewPanel::takeFieldSize() {
    views::takeFieldSize(camera_, settingsExtent(), size());
    markStale();
}

}  // namespace quorvane
