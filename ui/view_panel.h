#pragma once
/// The View panel (`view`): the crystal face as a map, in three dimensions or as a
/// red and blue stereo picture, chosen by three icons at the top right; a camera
/// that the main window's keys turn, raise and zoom; and the live picture of a run.

#include <array>

#include "ui/live_redraw.h"
#include "views/surface_camera.h"
#include "views/surface_pictures.h"

namespace quorvane {

class ViewPanel : public LivePanel {
    Q_OBJECT
  public:
    explicit ViewPanel(Session& session, QWidget* parent = nullptr);

    views::PictureMode mode() const { return mode_; }
    /// Shows the picture of `mode` (a click on its icon, or Ctrl+1, 2 or 3).
    void selectMode(views::PictureMode mode);
    const views::SurfaceCamera& camera() const { return camera_; }
    /// The three mode icons, in panel coordinates.
    std::array<QRect, 3> iconRects() const;

    /// The camera keys, as the main window's key handling read them. Moves the
    /// camera and returns true when it moved; "S" pauses a run and "R" resumes
    /// it, neither counts as a move.
    bool cameraKeys(const views::CameraKeys& keys);
    /// The "I" key: the camera back to its default place for the field.
    void resetCamera();
    /// A new run: the field size and the molecule sizes of the data, then the
    /// camera reset.
    void takeFieldSize();

    /// What the last three-dimensional picture drew.
    const views::SurfaceStats& pictureStats() const { return painter_.stats(); }

  protected:
    void render(QPainter& painter, const QSize& size) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

  private:
    /// The field as the engine holds it, or as the run settings give it before
    /// the first run.
    views::FieldExtent engineExtent() const;
    views::FieldExtent settingsExtent() const;
    /// The resume of "R", made once the key has been handled.
    void resumeFromKey();
    /// The keys of the three modes, and what a screen reader says of the picture.
    void addModeKeys();
    void describe();

    views::SurfacePainter painter_;
    views::SurfaceCamera camera_;
    views::PictureMode mode_ = views::PictureMode::Map;
};

}  // namespace quorvane
