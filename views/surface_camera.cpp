// The camera of the surface pictures and its central projection.

#include "views/surface_camera.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace quorvane::views {

namespace {

constexpr double kTwoPi = 6.283185307179586;
// The fit grows or shrinks the picture by 1 % a try, at most this many tries.
constexpr int kFitTries = 10001;

std::array<D3Point, 4> fieldCorners(const SurfaceCamera& camera) {
    const double X = camera.extentX(), Y = camera.extentY(), z = -camera.field.sizeA;
    return {{{0, 0, z}, {0, Y, z}, {X, Y, z}, {X, 0, z}}};
}

int cornersInFit(const SurfaceCamera& camera, const QSize& window) {
    const Camera projection = Camera::make(camera, window);
    int inside = 0;
    for (const D3Point& corner : fieldCorners(camera))
        if (projection.project(corner).inFit) ++inside;
    return inside;
}

void turnPolar(SurfaceCamera& camera, double delta) {
    const double r = camera.distance, phi = camera.azimuth;
    const double theta = camera.polar, turned = wrapAngle(theta + delta);
    const double dr = r * (std::sin(turned) - std::sin(theta));
    camera.position.x += dr * std::sin(phi);
    camera.position.y += dr * std::cos(phi);
    camera.position.z += r * (std::cos(turned) - std::cos(theta));
    camera.polar = turned;
}

void turnAzimuth(SurfaceCamera& camera, double delta) {
    const double r = camera.distance, phi = camera.azimuth, turned = wrapAngle(phi + delta);
    const double horizontal = r * std::sin(camera.polar);
    camera.position.x -= horizontal * (std::sin(phi) - std::sin(turned));
    camera.position.y -= horizontal * (std::cos(phi) - std::cos(turned));
    camera.azimuth = turned;
}

/// The factor (at most 1) by which both eyes scale their focal factor: scaling it
/// scales every point's distance from the window's middle.
double stereoFocalScale(const SurfaceCamera& left, const SurfaceCamera& right, const QSize& window,
                        double top) {
    const Camera mono = Camera::make(left, window);
    double low = INFINITY, high = -INFINITY;
    for (const D3Point& corner : fieldCorners(left)) {
        const Camera::Screen p = mono.screen(corner);
        if (p.depth < 0) low = std::min(low, p.x), high = std::max(high, p.x);
    }
    if (!(low < high)) return 1;
    const double b = left.field.sizeB, c = left.field.sizeC, z0 = -left.field.sizeA;
    double scale = 1;
    for (const SurfaceCamera* eye : {&left, &right}) {
        const Camera projection = Camera::make(*eye, window);
        const double middle = projection.hw;
        for (const double x : {-b, left.extentX() + b})
            for (const double y : {-c, left.extentY() + c})
                for (const double z : {z0, top}) {
                    const Camera::Screen p = projection.screen({x, y, z});
                    if (p.depth >= 0) continue;
                    if (p.x > high && high > middle)
                        scale = std::min(scale, (high - middle) / (p.x - middle));
                    if (p.x < low && low < middle)
                        scale = std::min(scale, (middle - low) / (middle - p.x));
                }
    }
    return scale;
}

}  // namespace

double SurfaceCamera::currentDistance() const {
    const double dx = position.x - target.x, dy = position.y - target.y, dz = position.z - target.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

Camera Camera::make(const SurfaceCamera& camera, const QSize& window) {
    Camera c;
    c.C = camera.position;
    c.phi = camera.azimuth;
    c.theta = camera.polar;
    c.F = camera.focal;
    const int width = window.width() > 0 ? window.width() : 1;
    c.hw = width / 2.0;
    c.hh = c.hw * window.height() / width;
    c.sinPhi = std::sin(c.phi);
    c.cosPhi = std::cos(c.phi);
    c.sinTheta = std::sin(c.theta);
    c.cosTheta = std::cos(c.theta);
    return c;
}

Camera::Projected Camera::project(const D3Point& p) const {
    Projected out;
    const double m = p.x - C.x, l = p.y - C.y, d = p.z - C.z;
    const double o = l * cosPhi + m * sinPhi;
    const double t = d * cosTheta + o * sinTheta;
    out.depth = t;
    out.px = (m * cosPhi - l * sinPhi) * F / t;
    out.py = (cosTheta * o - d * sinTheta) * F / t;
    out.x = out.px + hw;
    out.y = hh - out.py;
    const bool front = t < 0;
    out.inView = front && std::abs(out.px) <= 5 * hw && std::abs(out.py) <= 5 * hh;
    out.inFit = front && std::abs(out.px) <= hw && std::abs(out.py) <= hh;
    const double euclid = std::sqrt(m * m + l * l + d * d);
    out.distance = front ? euclid : -euclid;
    out.sizeFactor = euclid <= 0.005 * F ? 200 : F / euclid;
    return out;
}

double wrapAngle(double angle) {
    if (angle > kTwoPi) return angle - kTwoPi;
    if (angle < -kTwoPi) return angle + kTwoPi;
    return angle;
}

void resetCamera(SurfaceCamera& camera, const QSize& window) {
    const double X = camera.extentX(), Y = camera.extentY();
    camera.position = {X / 2, 1.8 * Y, (X + Y) / 4};
    camera.target = {X / 2, Y / 2, 0};
    camera.focal = 0.4 * (X + Y) / 4;
    const D3Point& c = camera.position;
    const D3Point& t = camera.target;
    if (c.y == t.y) {
        camera.azimuth = 0;
        camera.polar = 0;
    } else {
        const double horizontal = std::hypot(c.x - t.x, c.y - t.y);
        camera.azimuth = wrapAngle(std::atan((c.x - t.x) / (c.y - t.y)));
        camera.polar = wrapAngle(std::atan(horizontal / (c.z - t.z)));
    }
    fitCamera(camera, window);
    camera.rotationStep = 0.03;
    camera.verticalStep =
        0.03 * (camera.field.H * camera.field.sizeB + camera.field.W * camera.field.sizeC);
    camera.distance = camera.currentDistance();
}

void takeFieldSize(SurfaceCamera& camera, const FieldExtent& field, const QSize& window) {
    camera.field = field;
    resetCamera(camera, window);
}

int fitCamera(SurfaceCamera& camera, const QSize& window) {
    if (cornersInFit(camera, window) == 4) {
        for (int i = 0; i < kFitTries; ++i) {
            camera.focal *= 1.01;
            if (cornersInFit(camera, window) < 4) break;
        }
        camera.focal /= 1.05;
    } else {
        for (int i = 0; i < kFitTries && cornersInFit(camera, window) < 4; ++i)
            camera.focal /= 1.01;
        camera.focal *= 1.05;
    }
    return cornersInFit(camera, window);
}

StereoEyes stereoEyes(const SurfaceCamera& camera, const QSize& window, double top) {
    StereoEyes eyes{camera, camera};
    SurfaceCamera& moved = eyes.right;
    const double shift = 1.5 * moved.verticalStep;
    moved.position.x -= shift * std::sin(moved.azimuth + 1.57);
    moved.position.y -= shift * std::cos(moved.azimuth + 1.57);
    moved.azimuth -= 0.05;
    const double scale = stereoFocalScale(eyes.left, eyes.right, window, top);
    eyes.left.focal *= scale;
    eyes.right.focal *= scale;
    return eyes;
}

CameraAction applyCameraKeys(SurfaceCamera& camera, const CameraKeys& k, const QSize& window) {
    const bool diagonal = (k.up && (k.left || k.right)) || (k.down && (k.left || k.right)) ||
                          k.pad7 || k.pad9 || k.pad1 || k.pad3;
    if (diagonal) return CameraAction::None;
    camera.distance = camera.currentDistance();
    const double step = camera.rotationStep;
    const bool up = k.up || k.pad8, down = k.down || k.pad2;
    const bool left = k.left || k.pad4, right = k.right || k.pad6;
    if (up || down || left || right) {
        if (k.alt) return CameraAction::None;
        if (k.control) {
            if (up)
                camera.position.z += camera.verticalStep;
            else if (down)
                camera.position.z -= camera.verticalStep;
            else if (left)
                camera.focal *= 1.05;
            else
                camera.focal *= 0.95;
            return CameraAction::Moved;
        }
        if (up)
            turnPolar(camera, step);
        else if (down)
            turnPolar(camera, -step);
        else if (left)
            turnAzimuth(camera, step);
        else
            turnAzimuth(camera, -step);
        fitCamera(camera, window);
        return CameraAction::Moved;
    }
    if (k.s) return CameraAction::Pause;
    if (k.r) return CameraAction::Resume;
    return CameraAction::None;
}

}  // namespace quorvane::views
