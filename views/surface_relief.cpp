// The three-dimensional relief of the surface pictures: tops and side walls of
// every layer, from the lowest layer up, each layer's walls far to near.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <utility>

#include "views/chart_frame.h"
#include "views/surface_pictures.h"

namespace quorvane::views {

namespace {

// Screen coordinates far outside any window (a point in the camera's own plane)
// are cut so that they stay ints.
template <typename Point>
QPoint toScreen(const Point& p) {
    return {toPixel(p.x), toPixel(p.y)};
}

// The camera's distance of a point, negative behind it: the `distance` of
// Camera::project, computed the same way, without the rest of the projection.
double distanceFrom(const Camera& camera, const D3Point& p) {
    const double m = p.x - camera.C.x, l = p.y - camera.C.y, d = p.z - camera.C.z;
    const double o = l * camera.cosPhi + m * camera.sinPhi;
    const double t = d * camera.cosTheta + o * camera.sinTheta;
    const double euclid = std::sqrt(m * m + l * l + d * d);
    return t < 0 ? euclid : -euclid;
}

// A double's bits as an unsigned key in the reverse order of the values.
std::uint64_t descendingKey(double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    const std::uint64_t ascending = (bits >> 63) != 0 ? ~bits : bits | (std::uint64_t{1} << 63);
    return ~ascending;
}

}  // namespace

void SurfacePainter::sortFarToNear(std::vector<std::pair<double, std::uint32_t>>& order,
                                   std::vector<std::pair<double, std::uint32_t>>& scratch) {
    // A radix sort by the distance's bits, eight bits a pass: it walks the walls a
    // fixed number of times instead of guessing at comparisons, and it is stable,
    // so walls equally far from the camera (mirror images about its vertical plane
    // over a symmetric field) keep the order they were built in.
    const std::size_t n = order.size();
    if (n < 64) {
        std::stable_sort(order.begin(), order.end(),
                         [](const auto& a, const auto& b) { return a.first > b.first; });
        return;
    }
    // The keys move with their places in `order`; the pairs are gathered once at
    // the end. All eight digits are counted in one pass over the keys.
    keys_.resize(n);
    keyScratch_.resize(n);
    places_.resize(n);
    placeScratch_.resize(n);
    std::array<std::array<std::uint32_t, 256>, 8> count{};
    for (std::size_t k = 0; k < n; ++k) {
        const std::uint64_t key = descendingKey(order[k].first);
        keys_[k] = key;
        places_[k] = static_cast<std::uint32_t>(k);
        for (std::size_t digit = 0; digit < 8; ++digit) ++count[digit][(key >> (8 * digit)) & 0xFF];
    }
    for (std::size_t digit = 0; digit < 8; ++digit) {
        const int shift = static_cast<int>(8 * digit);
        auto& starts = count[digit];
        if (starts[(keys_[0] >> shift) & 0xFF] == n) continue;  // one value for all
        std::uint32_t sum = 0;
        for (std::uint32_t& c : starts) sum += std::exchange(c, sum);
        for (std::size_t k = 0; k < n; ++k) {
            const std::uint32_t at = starts[(keys_[k] >> shift) & 0xFF]++;
            keyScratch_[at] = keys_[k];
            placeScratch_[at] = places_[k];
        }
        keys_.swap(keyScratch_);
        places_.swap(placeScratch_);
    }
    scratch.resize(n);
    for (std::size_t k = 0; k < n; ++k) scratch[k] = order[places_[k]];
    order.swap(scratch);
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
        return static_cast<std::size_t>(layerShadeIndex(layer, meanFloor));
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
        // Far to near, sorting distance and place rather than the whole records.
        wallOrder_.clear();
        for (std::size_t k = 0; k < walls_.size(); ++k)
            wallOrder_.emplace_back(walls_[k].distance, static_cast<std::uint32_t>(k));
        sortFarToNear(wallOrder_, sortScratch_);
        const std::size_t shadeIndex =
            static_cast<std::size_t>(layerShadeIndex(std::max(layer, lowest), meanFloor));
        const auto& colours = shades.rgb[shadeIndex];
        for (const auto& [distance, index] : wallOrder_) {
            const LPoligon4& wall = walls_[index];
            const auto code = static_cast<std::size_t>(wall.code);
            // The wall filled, then its lower and upper edges 2 pixels wide.
            const QRgb colour = colours[code];
            raster.fillConvex(wall.corner.data(), 4, colour);
            for (const auto& [from, to] : {std::pair{0, 3}, {1, 2}}) {
                const QPoint a = wall.corner[static_cast<std::size_t>(from)];
                const QPoint b = wall.corner[static_cast<std::size_t>(to)];
                raster.doubleLine(a, b, colour);
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
        const std::size_t first = walls_.size();
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
        // A wall on the field's edge faces out of it, toward the camera: every other
        // wall of its layer lies behind its plane, so it is drawn last. Sorted by its
        // middle, a whole edge's wall would count as far away when the camera stands
        // off its middle, and a wall deep inside the field, nearer by that measure,
        // would be drawn over it.
        const bool edge = run.line == 0 || run.line == (run.code <= 2 ? grid.rows : grid.cols);
        if (edge)
            for (std::size_t w = first; w < walls_.size(); ++w) walls_[w].distance = -INFINITY;
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
        const double distance =
            distanceFrom(projection, {(a.x + b.x) / 2, (a.y + b.y) / 2, (z0 + z1) / 2});
        walls_.push_back(
            {{toScreen(p1), toScreen(p2), toScreen(p3), toScreen(p4)}, distance, code});
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
