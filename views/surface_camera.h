#pragma once
/// The camera of the surface pictures: a point orbiting a target above the field,
/// its reset and fit, the moves of the camera keys, and the central projection
/// (`Camera`) that the three-dimensional pictures draw with.

#include <QSize>
#include <cmath>

namespace quorvane::views {

/// A point in the field's space, in the units of the molecule sizes.
struct D3Point {
    double x = 0;
    double y = 0;
    double z = 0;
};

/// What the pictures need to know about the field's size.
struct FieldExtent {
    int W = 0;         ///< rows (the engine's outer index)
    int H = 0;         ///< cells per row
    double sizeA = 1;  ///< layer depth, along the growth direction
    double sizeB = 1;  ///< pitch of the rows in the three-dimensional pictures
    double sizeC = 1;  ///< pitch of the cells of a row in the three-dimensional pictures
};

/// The keyboard state a camera move depends on.
struct CameraKeys {
    bool up = false, down = false, left = false, right = false;
    bool pad1 = false, pad2 = false, pad3 = false, pad4 = false;
    bool pad6 = false, pad7 = false, pad8 = false, pad9 = false;
    bool control = false, alt = false;
    bool s = false, r = false;
};

/// What a camera key asked for; only Moved changes the camera.
enum class CameraAction { None, Moved, Pause, Resume };

/// The camera of the View panel. Angles in radians, lengths in molecule-size units.
struct SurfaceCamera {
    D3Point position;
    D3Point target;
    double azimuth = 0;  ///< phi, about the vertical axis
    double polar = 0;    ///< theta, from the vertical
    double focal = 1;    ///< F, the projection's scale
    double distance = 0;
    double verticalStep = 0;
    double rotationStep = 0.03;
    FieldExtent field;

    double extentX() const { return field.W * field.sizeB; }
    double extentY() const { return field.H * field.sizeC; }
    /// Distance from position to target.
    double currentDistance() const;
};

/// The projection record, built from the camera and the window before a picture.
struct Camera {
    D3Point C;
    double phi = 0, theta = 0, F = 1;
    double hw = 1, hh = 1;  ///< half width, and half height = hw * height / width
    double sinPhi = 0, cosPhi = 1, sinTheta = 0, cosTheta = 1;

    static Camera make(const SurfaceCamera& camera, const QSize& window);

    /// Screen point and depth only, for outlines that need nothing more.
    struct Screen {
        double x = 0, y = 0;
        double depth = 0;  ///< negative in front of the camera
    };
    Screen screen(const D3Point& p) const {
        const double m = p.x - C.x, l = p.y - C.y, d = p.z - C.z;
        const double o = l * cosPhi + m * sinPhi;
        const double t = d * cosTheta + o * sinTheta;
        const double scale = F / t;
        return {(m * cosPhi - l * sinPhi) * scale + hw, hh - (cosTheta * o - d * sinTheta) * scale,
                t};
    }
    /// The wall-building test of `Projected::inView` on a screen point.
    bool inView(const Screen& s) const {
        return s.depth < 0 && std::abs(s.x - hw) <= 5 * hw && std::abs(hh - s.y) <= 5 * hh;
    }

    struct Projected {
        double x = 0, y = 0;    ///< screen point (y down)
        double px = 0, py = 0;  ///< projected coordinates before the shift
        double depth = 0;       ///< t: negative in front of the camera
        double distance = 0;    ///< from C, negative behind the camera
        double sizeFactor = 0;  ///< F / distance, 200 close to the camera
        bool inView = false;    ///< in front and within five windows (walls)
        bool inFit = false;     ///< in front and within the window (the camera's fit)
    };
    Projected project(const D3Point& p) const;
};

/// Brings an angle into -2 pi .. 2 pi by adding or subtracting 2 pi once.
double wrapAngle(double angle);

/// Puts the camera into its default place for its field and fits the field in.
void resetCamera(SurfaceCamera& camera, const QSize& window);
/// Copies the field size and molecule sizes, then resets the camera.
void takeFieldSize(SurfaceCamera& camera, const FieldExtent& field, const QSize& window);
/// Scales the focal factor so that the field's four corners, a layer below its
/// base, just stay in the window. Returns how many corners end in view.
int fitCamera(SurfaceCamera& camera, const QSize& window);
/// The two cameras of the stereo picture: the left eye at the camera, the right eye
/// moved sideways by 1.5 vertical steps and turned by -0.05. Both zoom out as far as
/// needed for the bordered field, from a layer below its base up to `top`, seen by
/// either eye, to keep within the width the field's corners take in the
/// three-dimensional picture of `camera`.
struct StereoEyes {
    SurfaceCamera left;
    SurfaceCamera right;
};
StereoEyes stereoEyes(const SurfaceCamera& camera, const QSize& window, double top);
/// The move of the first key held, as the View panel's key handling does it.
CameraAction applyCameraKeys(SurfaceCamera& camera, const CameraKeys& keys, const QSize& window);

}  // namespace quorvane::views
