#include "ui/view_panel.h"

#include <QAction>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QTimer>
#include <QToolTip>

#include "experiments/session.h"
#include "views/mode_icons.h"

namespace quorvane {

ViewPanel::ViewPanel(Session& session, QWidget* parent) : LivePanel(session, parent) {
    setObjectName("view");
    camera_.field = settingsExtent();
    views::resetCamera(camera_, size());
    setAccessibleName("Surface view");
    // Reached by Tab, so that a screen reader reads what the picture shows.
    setFocusPolicy(Qt::StrongFocus);
    addModeKeys();
    describe();
}

void ViewPanel::addModeKeys() {
    // The keys act while the panel is shown, wherever the focus is in the window.
    for (int mode = 0; mode < 3; ++mode) {
        auto* key = new QAction(this);
        key->setShortcut(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_1 + mode)));
        key->setShortcutContext(Qt::WindowShortcut);
        connect(key, &QAction::triggered, this,
                [this, mode] { selectMode(static_cast<views::PictureMode>(mode)); });
        addAction(key);
    }
}

void ViewPanel::describe() {
    const views::FieldExtent field = engineExtent();
    setAccessibleDescription(QString::fromStdString(views::modeDescription(mode_)) +
                             QString(", a field of %1 x %2 molecules.").arg(field.W).arg(field.H));
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
    views::paintModeIcons(painter, iconRects(), mode_);
}

void ViewPanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const int mode = views::modeAt(iconRects(), event->position().toPoint());
    if (mode >= 0) selectMode(static_cast<views::PictureMode>(mode));
}

void ViewPanel::selectMode(views::PictureMode mode) {
    mode_ = mode;
    describe();
    markStale();
    redraw();
}

bool ViewPanel::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return LivePanel::event(event);
    // Each mode icon explains its picture and the keys of the camera.
    auto* help = static_cast<QHelpEvent*>(event);
    const auto icons = iconRects();
    const int mode = views::modeAt(icons, help->pos());
    if (mode < 0) {
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    const auto tip = views::modeIconTip(static_cast<views::PictureMode>(mode));
    QToolTip::showText(help->globalPos(), QString::fromStdString(tip), this,
                       icons[static_cast<std::size_t>(mode)]);
    return true;
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
    describe();
    markStale();
}

}  // namespace quorvane
