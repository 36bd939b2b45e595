// The map, the three-dimensional and the stereo pictures of the crystal face.

#include "views/surface_pictures.h"

#include <algorithm>
#include <cmath>

namespace quorvane::views {

namespace {

constexpr int kShades = 10;
constexpr int kBaseIndex = 4;  // half of the highest index, rounded down

const QColor kMapBackground(230, 210, 210);
const QColor kMapBackgroundPen(190, 160, 160);
const QColor kMapFrame(20, 245, 130);

// Screen coordinates far outside any window are cut here so that they stay ints.
constexpr double kScreenLimit = 1e6;

QPoint toScreen(const Camera::Projected& p) {
    return {static_cast<int>(std::clamp(p.x, -kScreenLimit, kScreenLimit)),
            static_cast<int>(std::clamp(p.y, -kScreenLimit, kScreenLimit))};
}

int channelValue(int v) {
    return std::clamp(v, 0, 255);
}

}  // namespace

ShadeSet ShadeSet::make(Channel channel) {
    ShadeSet set;
    constexpr int kOffset[5] = {0, 20, -20, 10, -10};
    for (int k = 0; k < kShades; ++k) {
        for (int use = 0; use < 5; ++use) {
            const int v = channelValue(25 * k + kOffset[use]);
            QColor& c = set.colour[static_cast<std::size_t>(k)][static_cast<std::size_t>(use)];
            switch (channel) {
                case Channel::Grey:
                    c = QColor(v, v, v);
                    break;
                case Channel::Red:
                    c = QColor(v, 0, 0);
                    break;
                case Channel::Blue:
                    c = QColor(0, 0, v);
                    break;
            }
        }
    }
    return set;
}

int mapShadeIndex(std::int32_t height, int referenceLevel, bool flat) {
    if (flat) return kBaseIndex;
    const std::int64_t index = kBaseIndex + std::int64_t{height} - referenceLevel;
    return static_cast<int>(std::clamp<std::int64_t>(index, 0, kShades - 1));
}

int layerShadeIndex(std::int32_t layer, std::int32_t lowest, std::int32_t meanFloor) {
    if (layer <= lowest) return kBaseIndex;
    const std::int64_t index = kBaseIndex + std::int64_t{layer} - meanFloor;
    return static_cast<int>(std::clamp<std::int64_t>(index, 0, kShades - 1));
}

SurfacePainter::SurfacePainter()
    : grey_(ShadeSet::make(ShadeSet::Channel::Grey)),
      red_(ShadeSet::make(ShadeSet::Channel::Red)),
      blue_(ShadeSet::make(ShadeSet::Channel::Blue)) {}

SurfacePainter::DrawingScope::DrawingScope(SurfacePainter& owner)
    : owner_(owner), active_(!owner.drawing_) {
    if (active_) owner_.drawing_ = true;
}

SurfacePainter::DrawingScope::~DrawingScope() {
    if (active_) owner_.drawing_ = false;
}

bool SurfacePainter::paint(QPainter& painter, const QRect& area, const SurfaceInputs& inputs,
                           PictureMode mode) {
    DrawingScope scope(*this);
    if (!scope.active()) return false;
    switch (mode) {
        case PictureMode::Map:
            paintMap(painter, area, inputs);
            break;
        case PictureMode::ThreeD:
            paintThreeD(painter, area, inputs);
            break;
        case PictureMode::Stereo:
            paintStereo(painter, area, inputs);
            break;
    }
    return true;
}

void SurfacePainter::copyInterior(const SurfaceInputs& inputs) {
    const int W = std::max(inputs.field.W, 0), H = std::max(inputs.field.H, 0);
    const std::size_t cells = static_cast<std::size_t>(W) * static_cast<std::size_t>(H);
    interior_.resize(cells);
    const std::size_t stride = static_cast<std::size_t>(H) + 2;
    const bool whole = inputs.heights.size() >= (static_cast<std::size_t>(W) + 2) * stride;
    if (!whole) {
        // No grid yet: the flat field of a run about to start.
        std::fill(interior_.begin(), interior_.end(), 0);
        return;
    }
    for (int i = 0; i < W; ++i) {
        const std::int32_t* row =
            inputs.heights.data() + (static_cast<std::size_t>(i) + 1) * stride + 1;
        std::copy(row, row + H, interior_.begin() + static_cast<std::ptrdiff_t>(i) * H);
    }
}

void SurfacePainter::paintMap(QPainter& painter, const QRect& area, const SurfaceInputs& inputs) {
    painter.save();
    painter.setPen(QPen(kMapBackgroundPen, 2));
    painter.setBrush(kMapBackground);
    painter.drawRect(area);
    const int W = inputs.field.W, H = inputs.field.H;
    if (W <= 0 || H <= 0) {
        painter.restore();
        return;
    }
    copyInterior(inputs);
    const auto [lowest, highest] = std::minmax_element(interior_.begin(), interior_.end());
    const bool flat = *lowest == *highest;
    if (mapImage_.width() != W || mapImage_.height() != H)
        mapImage_ = QImage(W, H, QImage::Format_RGB32);
    QRgb palette[kShades];
    for (int k = 0; k < kShades; ++k) palette[k] = qRgb(25 * k, 25 * k, 25 * k);
    // Image x runs along the rows i, image y along the cells j of a row.
    for (int j = 0; j < H; ++j) {
        auto* line = reinterpret_cast<QRgb*>(mapImage_.scanLine(j));
        for (int i = 0; i < W; ++i)
            line[i] = palette[mapShadeIndex(interior_[static_cast<std::size_t>(i) * H + j],
                                            inputs.referenceLevel, flat)];
    }
    // The world spans W rows at the pitch Size C across and H cells at Size B down.
    const double worldW = W * inputs.field.sizeC, worldH = H * inputs.field.sizeB;
    QRect target;
    if (double(area.height()) / area.width() <= worldH / worldW) {
        const int width = static_cast<int>(area.height() * worldW / worldH);
        target = QRect(area.left() + (area.width() - width) / 2, area.top(), width, area.height());
    } else {
        const int height = static_cast<int>(area.width() * worldH / worldW);
        target =
            QRect(area.left(), area.top() + (area.height() - height) / 2, area.width(), height);
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(target, mapImage_);
    painter.setPen(QPen(kMapFrame, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(target);
    painter.restore();
}

void SurfacePainter::paintThreeD(QPainter& painter, const QRect& area,
                                 const SurfaceInputs& inputs) {
    painter.fillRect(area, Qt::white);
    if (inputs.camera == nullptr || inputs.field.W <= 0 || inputs.field.H <= 0) return;
    copyInterior(inputs);
    painter.save();
    painter.translate(area.topLeft());
    const Grid grid{interior_.data(),   inputs.field.W,    inputs.field.H, 0, 0,
                    inputs.field.sizeB, inputs.field.sizeC};
    drawRelief(painter, area.size(), grid, *inputs.camera, grey_);
    painter.restore();
}

void SurfacePainter::paintStereo(QPainter& painter, const QRect& area,
                                 const SurfaceInputs& inputs) {
    const int W = inputs.field.W, H = inputs.field.H;
    const QSize size = area.size();
    if (inputs.camera == nullptr || W <= 0 || H <= 0 || size.isEmpty()) {
        painter.fillRect(area, Qt::black);
        return;
    }
    const std::size_t bordered =
        (static_cast<std::size_t>(W) + 2) * (static_cast<std::size_t>(H) + 2);
    if (inputs.heights.size() < bordered) {
        // No grid yet: a flat bordered field.
        interior_.assign(bordered, 0);
    } else {
        interior_.assign(inputs.heights.begin(),
                         inputs.heights.begin() + static_cast<std::ptrdiff_t>(bordered));
    }
    if (leftEye_.size() != size) leftEye_ = QImage(size, QImage::Format_RGB32);
    if (rightEye_.size() != size) rightEye_ = QImage(size, QImage::Format_RGB32);
    // The bordered grid starts one row and one cell before the interior.
    const Grid grid{interior_.data(),
                    W + 2,
                    H + 2,
                    -inputs.field.sizeB,
                    -inputs.field.sizeC,
                    inputs.field.sizeB,
                    inputs.field.sizeC};
    leftEye_.fill(Qt::black);
    {
        QPainter eye(&leftEye_);
        drawRelief(eye, size, grid, *inputs.camera, red_);
    }
    SurfaceCamera moved = *inputs.camera;
    const double shift = 1.5 * moved.verticalStep;
    moved.position.x -= shift * std::sin(moved.azimuth + 1.57);
    moved.position.y -= shift * std::cos(moved.azimuth + 1.57);
    moved.azimuth -= 0.05;
    rightEye_.fill(Qt::black);
    {
        QPainter eye(&rightEye_);
        drawRelief(eye, size, grid, moved, blue_);
    }
    // Red and blue lie in different channels: OR puts both eyes in one picture.
    const int words = size.width();
    for (int y = 0; y < size.height(); ++y) {
        auto* left = reinterpret_cast<QRgb*>(leftEye_.scanLine(y));
        const auto* right = reinterpret_cast<const QRgb*>(rightEye_.constScanLine(y));
        for (int x = 0; x < words; ++x) left[x] |= right[x];
    }
    painter.drawImage(area.topLeft(), leftEye_);
}

void SurfacePainter::drawRelief(QPainter& painter, const QSize& window, const Grid& grid,
                                const SurfaceCamera& camera, const ShadeSet& shades) {
    stats_ = SurfaceStats{};
    const std::size_t cells = static_cast<std::size_t>(grid.rows) * grid.cols;
    const std::int32_t* begin = grid.heights;
    const auto [lo, hi] = std::minmax_element(begin, begin + cells);
    const std::int32_t lowest = *lo, highest = *hi;
    std::int64_t sum = 0;
    for (std::size_t k = 0; k < cells; ++k) sum += begin[k];
    const auto meanFloor = static_cast<std::int32_t>(
        std::floor(static_cast<double>(sum) / static_cast<double>(cells)));
    const Camera projection = Camera::make(camera, window);
    const double depth = camera.field.sizeA;
    painter.setRenderHint(QPainter::Antialiasing, false);
    // The layer below the lowest has no tops, only the walls of the field's edges.
    for (std::int64_t L = std::int64_t{lowest} - 1; L <= highest; ++L) {
        const auto layer = static_cast<std::int32_t>(L);
        const auto& shade = shades.colour[static_cast<std::size_t>(
            layerShadeIndex(std::max(layer, lowest), lowest, meanFloor))];
        const double z = static_cast<double>(L - lowest + 1) * depth;
        if (L >= lowest) {
            ++stats_.layers;
            drawTops(painter, projection, grid, layer, z, shade[0]);
        }
        if (L >= highest) continue;
        collectWalls(projection, grid, layer, z, z + depth, camera.position);
        std::sort(walls_.begin(), walls_.end(),
                  [](const LPoligon4& a, const LPoligon4& b) { return a.distance > b.distance; });
        int lastCode = -1;
        QPen pen;
        for (const LPoligon4& wall : walls_) {
            const QColor& colour = shade[static_cast<std::size_t>(wall.code)];
            if (wall.code != lastCode) {
                pen = QPen(colour, 2);
                lastCode = wall.code;
            }
            painter.setPen(Qt::NoPen);
            painter.setBrush(colour);
            painter.drawConvexPolygon(wall.corner.data(), 4);
            painter.setPen(pen);
            painter.drawLine(wall.corner[0], wall.corner[3]);
            painter.drawLine(wall.corner[1], wall.corner[2]);
            ++stats_.wallsByCode[static_cast<std::size_t>(wall.code)];
        }
        stats_.walls += static_cast<int>(walls_.size());
    }
}

void SurfacePainter::drawTops(QPainter& painter, const Camera& projection, const Grid& grid,
                              std::int32_t layer, double z, const QColor& colour) {
    topRuns_.clear();
    topPolygons_.clear();
    previousRow_.clear();
    currentRow_.clear();
    // Runs of cells at this height, row by row. A run that overlaps a run of the row
    // before continues that run's polygon, unless an earlier run of this row has
    // continued it already.
    std::size_t previousFirst = 0;
    for (int r = 0; r < grid.rows; ++r) {
        const std::int32_t* row = grid.heights + static_cast<std::size_t>(r) * grid.cols;
        const std::size_t currentFirst = topRuns_.size();
        std::size_t candidate = previousFirst;
        for (int c = 0; c < grid.cols;) {
            if (row[c] != layer) {
                ++c;
                continue;
            }
            const int c0 = c;
            while (c < grid.cols && row[c] == layer) ++c;
            const int c1 = c;
            while (candidate < currentFirst && topRuns_[candidate].c1 <= c0) ++candidate;
            int polygon = -1;
            for (std::size_t k = candidate; k < currentFirst && topRuns_[k].c0 < c1; ++k) {
                const int owner = previousRow_[k - previousFirst];
                if (topPolygons_[static_cast<std::size_t>(owner)].lastRow == r - 1) {
                    polygon = owner;
                    break;
                }
            }
            const int index = static_cast<int>(topRuns_.size());
            topRuns_.push_back({r, c0, c1, -1});
            if (polygon < 0) {
                polygon = static_cast<int>(topPolygons_.size());
                topPolygons_.push_back({index, index, r});
            } else {
                TopPolygon& p = topPolygons_[static_cast<std::size_t>(polygon)];
                topRuns_[static_cast<std::size_t>(p.tail)].next = index;
                p.tail = index;
                p.lastRow = r;
            }
            currentRow_.push_back(polygon);
        }
        previousRow_.swap(currentRow_);
        currentRow_.clear();
        previousFirst = currentFirst;
    }
    painter.setPen(QPen(colour, 2));
    painter.setBrush(colour);
    for (const TopPolygon& polygon : topPolygons_) {
        // Down the low-y ends of the runs, then back up their high-y ends.
        outline_.clear();
        returnPath_.clear();
        bool front = true;
        auto corner = [&](std::vector<QPoint>& into, int row, int cell) {
            const Camera::Projected p = projection.project(
                {grid.originX + row * grid.pitchX, grid.originY + cell * grid.pitchY, z});
            front = front && p.depth < 0;
            into.push_back(toScreen(p));
        };
        for (int k = polygon.head; k >= 0; k = topRuns_[static_cast<std::size_t>(k)].next) {
            const TopRun& run = topRuns_[static_cast<std::size_t>(k)];
            corner(outline_, run.row, run.c0);
            corner(outline_, run.row + 1, run.c0);
            corner(returnPath_, run.row, run.c1);
            corner(returnPath_, run.row + 1, run.c1);
        }
        outline_.insert(outline_.end(), returnPath_.rbegin(), returnPath_.rend());
        if (!front) continue;
        painter.drawPolygon(outline_.data(), static_cast<int>(outline_.size()));
        ++stats_.topPolygons;
    }
}

void SurfacePainter::collectWalls(const Camera& projection, const Grid& grid, std::int32_t layer,
                                  double z0, double z1, const D3Point& eye) {
    walls_.clear();
    const int rows = grid.rows, cols = grid.cols;
    // Outside the field counts as lower than any layer: the field's edges have walls.
    auto raised = [&](int r, int c) {
        return r >= 0 && r < rows && c >= 0 && c < cols &&
               grid.heights[static_cast<std::size_t>(r) * cols + c] > layer;
    };
    // Boundaries between rows r-1 and r, at x = r * pitch: the camera sees the face
    // turned towards its own side.
    for (int r = 0; r <= rows; ++r) {
        const double x = grid.originX + r * grid.pitchX;
        const bool plusSide = x <= eye.x;
        const int code = plusSide ? 1 : 2;
        const int high = plusSide ? r - 1 : r, low = plusSide ? r : r - 1;
        for (int c = 0; c < cols;) {
            if (!(raised(high, c) && !raised(low, c))) {
                ++c;
                continue;
            }
            const int c0 = c;
            while (c < cols && raised(high, c) && !raised(low, c)) ++c;
            addWall(projection, {x, grid.originY + c0 * grid.pitchY, 0},
                    {x, grid.originY + c * grid.pitchY, 0}, z0, z1, code, {0, grid.pitchY, 0},
                    c - c0);
        }
    }
    for (int c = 0; c <= cols; ++c) {
        const double y = grid.originY + c * grid.pitchY;
        const bool plusSide = y <= eye.y;
        const int code = plusSide ? 3 : 4;
        const int high = plusSide ? c - 1 : c, low = plusSide ? c : c - 1;
        for (int r = 0; r < rows;) {
            if (!(raised(r, high) && !raised(r, low))) {
                ++r;
                continue;
            }
            const int r0 = r;
            while (r < rows && raised(r, high) && !raised(r, low)) ++r;
            addWall(projection, {grid.originX + r0 * grid.pitchX, y, 0},
                    {grid.originX + r * grid.pitchX, y, 0}, z0, z1, code, {grid.pitchX, 0, 0},
                    r - r0);
        }
    }
}

void SurfacePainter::addWall(const Camera& projection, const D3Point& a, const D3Point& b,
                             double z0, double z1, int code, const D3Point& step, int cells) {
    const Camera::Projected p1 = projection.project({a.x, a.y, z0});
    const Camera::Projected p2 = projection.project({a.x, a.y, z1});
    const Camera::Projected p3 = projection.project({b.x, b.y, z1});
    const Camera::Projected p4 = projection.project({b.x, b.y, z0});
    if (p1.inView && p2.inView && p3.inView && p4.inView) {
        const Camera::Projected middle =
            projection.project({(a.x + b.x) / 2, (a.y + b.y) / 2, (z0 + z1) / 2});
        walls_.push_back(
            {{toScreen(p1), toScreen(p2), toScreen(p3), toScreen(p4)}, middle.distance, code});
        return;
    }
    if (cells <= 1) return;
    // Part of the line is out of view: the cells in view are drawn one by one.
    for (int k = 0; k < cells; ++k) {
        const D3Point from{a.x + k * step.x, a.y + k * step.y, 0};
        const D3Point to{from.x + step.x, from.y + step.y, 0};
        addWall(projection, from, to, z0, z1, code, step, 1);
    }
}

}  // namespace quorvane::views
