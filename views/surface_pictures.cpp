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

template <typename Point>
QPoint toScreen(const Point& p) {
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
            set.rgb[static_cast<std::size_t>(k)][static_cast<std::size_t>(use)] = c.rgb();
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

std::size_t SurfacePainter::bufferBytes() const {
    auto bytes = [](const auto& v) { return v.capacity() * sizeof(v[0]); };
    return bytes(interior_) + bytes(walls_) + bytes(outline_) + bytes(rowRuns_) + bytes(topRuns_) +
           bytes(topLayerStart_) + bytes(runOwner_) + bytes(topPolygons_) + bytes(wallRuns_) +
           bytes(layerRuns_) + bytes(layerStart_) + bytes(nextSlot_) + bytes(openFrom_) +
           static_cast<std::size_t>(mapImage_.sizeInBytes()) +
           static_cast<std::size_t>(frame_.sizeInBytes()) +
           static_cast<std::size_t>(leftEye_.sizeInBytes()) +
           static_cast<std::size_t>(rightEye_.sizeInBytes());
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
    if (area.isEmpty()) return;
    if (frame_.size() != area.size()) frame_ = QImage(area.size(), QImage::Format_RGB32);
    frame_.fill(Qt::white);
    if (inputs.camera != nullptr && inputs.field.W > 0 && inputs.field.H > 0) {
        copyInterior(inputs);
        const Grid grid{interior_.data(),   inputs.field.W,    inputs.field.H, 0, 0,
                        inputs.field.sizeB, inputs.field.sizeC};
        drawRelief(frame_, grid, *inputs.camera, grey_);
    }
    painter.drawImage(area.topLeft(), frame_);
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
    drawRelief(leftEye_, grid, *inputs.camera, red_);
    SurfaceCamera moved = *inputs.camera;
    const double shift = 1.5 * moved.verticalStep;
    moved.position.x -= shift * std::sin(moved.azimuth + 1.57);
    moved.position.y -= shift * std::cos(moved.azimuth + 1.57);
    moved.azimuth -= 0.05;
    rightEye_.fill(Qt::black);
    drawRelief(rightEye_, grid, moved, blue_);
    // Red and blue lie in different channels: OR puts both eyes in one picture.
    const int words = size.width();
    for (int y = 0; y < size.height(); ++y) {
        auto* left = reinterpret_cast<QRgb*>(leftEye_.scanLine(y));
        const auto* right = reinterpret_cast<const QRgb*>(rightEye_.constScanLine(y));
        for (int x = 0; x < words; ++x) left[x] |= right[x];
    }
    painter.drawImage(area.topLeft(), leftEye_);
}

void SurfacePainter::drawRelief(QImage& target, const Grid& grid, const SurfaceCamera& camera,
                                const ShadeSet& shades) {
    PixelRaster raster(target);
    const QSize window = target.size();
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
    // Walls lie in the layers from one below the lowest to one below the highest.
    const auto wallLayers = static_cast<std::size_t>(std::int64_t{highest} - lowest + 1);
    openFrom_.assign(wallLayers, -1);
    layerStart_.assign(wallLayers + 1, 0);
    topLayerStart_.assign(wallLayers + 1, 0);
    const double depth = camera.field.sizeA;
    collectWallRuns(grid, lowest, camera.position);
    collectTopRuns(grid, lowest);
    auto shadeOf = [&](std::int32_t layer) {
        return static_cast<std::size_t>(layerShadeIndex(layer, lowest, meanFloor));
    };
    // The layer below the lowest has no tops, only the walls of the field's edges.
    for (std::int64_t L = std::int64_t{lowest} - 1; L <= highest; ++L) {
        const auto layer = static_cast<std::int32_t>(L);
        const double z = static_cast<double>(L - lowest + 1) * depth;
        if (L >= lowest) {
            ++stats_.layers;
            drawTops(raster, projection, grid, static_cast<std::size_t>(L - lowest), z,
                     shades.rgb[shadeOf(layer)][0]);
        }
        if (L >= highest) continue;
        layerWalls(projection, grid, static_cast<std::size_t>(L - (std::int64_t{lowest} - 1)), z,
                   z + depth);
        std::sort(walls_.begin(), walls_.end(),
                  [](const LPoligon4& a, const LPoligon4& b) { return a.distance > b.distance; });
        const std::size_t shadeIndex =
            static_cast<std::size_t>(layerShadeIndex(std::max(layer, lowest), lowest, meanFloor));
        const auto& colours = shades.rgb[shadeIndex];
        for (const LPoligon4& wall : walls_) {
            const auto code = static_cast<std::size_t>(wall.code);
            // The wall filled, then its lower and upper edges 2 pixels wide.
            const QRgb colour = colours[code];
            raster.fillConvex(wall.corner.data(), 4, colour);
            for (const auto& [from, to] : {std::pair{0, 3}, {1, 2}}) {
                const QPoint a = wall.corner[static_cast<std::size_t>(from)];
                const QPoint b = wall.corner[static_cast<std::size_t>(to)];
                raster.line(a, b, colour);
                raster.line(a + QPoint(0, 1), b + QPoint(0, 1), colour);
            }
            ++stats_.wallsByCode[code];
        }
        stats_.walls += static_cast<int>(walls_.size());
    }
}

void SurfacePainter::collectTopRuns(const Grid& grid, std::int32_t lowest) {
    // One pass: every row cut into runs of equal height, then grouped by height
    // with the rows kept in order.
    rowRuns_.clear();
    for (int r = 0; r < grid.rows; ++r) {
        const std::int32_t* row = grid.heights + static_cast<std::size_t>(r) * grid.cols;
        for (int c = 0; c < grid.cols;) {
            const int c0 = c;
            while (c < grid.cols && row[c] == row[c0]) ++c;
            rowRuns_.push_back({row[c0], r, c0, c});
        }
    }
    std::fill(topLayerStart_.begin(), topLayerStart_.end(), 0);
    for (const RowRun& run : rowRuns_)
        ++topLayerStart_[static_cast<std::size_t>(run.layer - lowest) + 1];
    for (std::size_t k = 1; k < topLayerStart_.size(); ++k)
        topLayerStart_[k] += topLayerStart_[k - 1];
    topRuns_.resize(rowRuns_.size());
    runOwner_.resize(rowRuns_.size());
    nextSlot_.assign(topLayerStart_.begin(), topLayerStart_.end() - 1);
    for (const RowRun& run : rowRuns_)
        topRuns_[nextSlot_[static_cast<std::size_t>(run.layer - lowest)]++] = {run.row, run.c0,
                                                                               run.c1, -1};
}

void SurfacePainter::drawTops(PixelRaster& raster, const Camera& projection, const Grid& grid,
                              std::size_t layerIndex, double z, QRgb colour) {
    topPolygons_.clear();
    const std::size_t first = topLayerStart_[layerIndex], last = topLayerStart_[layerIndex + 1];
    // A run that overlaps a run of the row before continues that run's polygon,
    // unless an earlier run of its own row has continued it already.
    std::size_t previousBegin = first, previousEnd = first, rowBegin = first;
    for (std::size_t k = first; k < last; ++k) {
        TopRun& run = topRuns_[k];
        if (k == first || run.row != topRuns_[k - 1].row) {
            const bool adjacent = k > first && run.row == topRuns_[k - 1].row + 1;
            previousBegin = adjacent ? rowBegin : k;
            previousEnd = k;
            rowBegin = k;
        }
        while (previousBegin < previousEnd && topRuns_[previousBegin].c1 <= run.c0) ++previousBegin;
        int polygon = -1;
        for (std::size_t p = previousBegin; p < previousEnd && topRuns_[p].c0 < run.c1; ++p) {
            const int owner = runOwner_[p];
            if (topPolygons_[static_cast<std::size_t>(owner)].lastRow == run.row - 1) {
                polygon = owner;
                break;
            }
        }
        run.next = -1;
        const int index = static_cast<int>(k);
        if (polygon < 0) {
            polygon = static_cast<int>(topPolygons_.size());
            topPolygons_.push_back({index, index, run.row});
        } else {
            TopPolygon& p = topPolygons_[static_cast<std::size_t>(polygon)];
            topRuns_[static_cast<std::size_t>(p.tail)].next = index;
            p.tail = index;
            p.lastRow = run.row;
        }
        runOwner_[k] = polygon;
    }
    // A polygon is the runs it joins. Consecutive runs of equal ends make one
    // rectangle, and a rectangle projects to a convex quadrilateral: a flat layer is
    // a single one.
    for (const TopPolygon& polygon : topPolygons_) {
        outline_.clear();
        bool front = true;
        auto corner = [&](int row, int cell) {
            const Camera::Screen p = projection.screen(
                {grid.originX + row * grid.pitchX, grid.originY + cell * grid.pitchY, z});
            front = front && p.depth < 0;
            outline_.push_back(toScreen(p));
        };
        for (int k = polygon.head; k >= 0;) {
            const TopRun& run = topRuns_[static_cast<std::size_t>(k)];
            int end = k;
            for (int next = run.next; next >= 0;
                 next = topRuns_[static_cast<std::size_t>(next)].next) {
                const TopRun& following = topRuns_[static_cast<std::size_t>(next)];
                if (following.c0 != run.c0 || following.c1 != run.c1) break;
                end = next;
            }
            const int lastRow = topRuns_[static_cast<std::size_t>(end)].row;
            corner(run.row, run.c0);
            corner(lastRow + 1, run.c0);
            corner(lastRow + 1, run.c1);
            corner(run.row, run.c1);
            k = topRuns_[static_cast<std::size_t>(end)].next;
        }
        if (!front) continue;
        for (std::size_t k = 0; k < outline_.size(); k += 4)
            raster.fillConvex(&outline_[k], 4, colour);
        ++stats_.topPolygons;
    }
}

void SurfacePainter::collectWallRuns(const Grid& grid, std::int32_t lowest, const D3Point& eye) {
    wallRuns_.clear();
    const int rows = grid.rows, cols = grid.cols;
    // Outside the field counts as one layer below the lowest: every layer has walls
    // at the field's edges.
    const std::int32_t outside = lowest - 1;
    auto height = [&](int r, int c) {
        return r < 0 || r >= rows ? outside : grid.heights[static_cast<std::size_t>(r) * cols + c];
    };
    // Each boundary shows the face turned to the camera's side: the layers from the
    // lower neighbour's height up to below the higher one's, when the higher
    // neighbour stands on the side away from the camera. Runs of a layer along a
    // line are kept open from cell to cell and closed where the layer leaves.
    auto scanLine = [&](int code, int line, int along, auto heightsAt) {
        std::int32_t openLow = 0, openHigh = 0;  // layers [openLow, openHigh) are open
        for (int k = 0; k <= along; ++k) {
            std::int32_t low = 0, high = 0;
            if (k < along) heightsAt(k, low, high);
            if (high <= low) low = high = 0;
            if (low == openLow && high == openHigh) continue;
            for (std::int32_t L = openLow; L < openHigh; ++L)
                if (L < low || L >= high) {
                    const std::size_t index = static_cast<std::size_t>(L - outside);
                    wallRuns_.push_back({L, code, line, openFrom_[index], k});
                }
            for (std::int32_t L = low; L < high; ++L)
                if (L < openLow || L >= openHigh)
                    openFrom_[static_cast<std::size_t>(L - outside)] = k;
            openLow = low;
            openHigh = high;
        }
    };
    for (int r = 0; r <= rows; ++r) {
        const bool plusSide = grid.originX + r * grid.pitchX <= eye.x;
        const int near = plusSide ? r : r - 1, far = plusSide ? r - 1 : r;
        scanLine(plusSide ? 1 : 2, r, cols, [&](int c, std::int32_t& low, std::int32_t& high) {
            low = height(near, c);
            high = height(far, c);
        });
    }
    // Lines between cells of a row run across the rows: transposed reads, but each
    // line touches only its own column of the grid.
    auto cell = [&](int r, int c) {
        return c < 0 || c >= cols ? outside : grid.heights[static_cast<std::size_t>(r) * cols + c];
    };
    for (int c = 0; c <= cols; ++c) {
        const bool plusSide = grid.originY + c * grid.pitchY <= eye.y;
        const int near = plusSide ? c : c - 1, far = plusSide ? c - 1 : c;
        scanLine(plusSide ? 3 : 4, c, rows, [&](int r, std::int32_t& low, std::int32_t& high) {
            low = cell(r, near);
            high = cell(r, far);
        });
    }
    // Grouped by layer, keeping the scan order within a layer.
    std::fill(layerStart_.begin(), layerStart_.end(), 0);
    for (const WallRun& run : wallRuns_)
        ++layerStart_[static_cast<std::size_t>(run.layer - outside) + 1];
    for (std::size_t k = 1; k < layerStart_.size(); ++k) layerStart_[k] += layerStart_[k - 1];
    layerRuns_.resize(wallRuns_.size());
    nextSlot_.assign(layerStart_.begin(), layerStart_.end() - 1);
    for (const WallRun& run : wallRuns_)
        layerRuns_[nextSlot_[static_cast<std::size_t>(run.layer - outside)]++] = run;
}

void SurfacePainter::layerWalls(const Camera& projection, const Grid& grid, std::size_t layerIndex,
                                double z0, double z1) {
    walls_.clear();
    for (std::size_t k = layerStart_[layerIndex]; k < layerStart_[layerIndex + 1]; ++k) {
        const WallRun& run = layerRuns_[k];
        if (run.code <= 2) {
            const double x = grid.originX + run.line * grid.pitchX;
            addWall(projection, {x, grid.originY + run.from * grid.pitchY, 0},
                    {x, grid.originY + run.to * grid.pitchY, 0}, z0, z1, run.code,
                    {0, grid.pitchY, 0}, run.to - run.from);
        } else {
            const double y = grid.originY + run.line * grid.pitchY;
            addWall(projection, {grid.originX + run.from * grid.pitchX, y, 0},
                    {grid.originX + run.to * grid.pitchX, y, 0}, z0, z1, run.code,
                    {grid.pitchX, 0, 0}, run.to - run.from);
        }
    }
}

void SurfacePainter::addWall(const Camera& projection, const D3Point& a, const D3Point& b,
                             double z0, double z1, int code, const D3Point& step, int cells) {
    const Camera::Screen p1 = projection.screen({a.x, a.y, z0});
    const Camera::Screen p2 = projection.screen({a.x, a.y, z1});
    const Camera::Screen p3 = projection.screen({b.x, b.y, z1});
    const Camera::Screen p4 = projection.screen({b.x, b.y, z0});
    if (projection.inView(p1) && projection.inView(p2) && projection.inView(p3) &&
        projection.inView(p4)) {
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
