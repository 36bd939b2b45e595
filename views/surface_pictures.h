#pragma once
/// The pictures of the crystal face: a map seen from above with one grey per
/// height, a three-dimensional picture of the columns in central perspective
/// drawn by the painter's method, and the same as a red and blue stereo image.

#include <QBrush>
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QPoint>
#include <QRect>
#include <array>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "views/pixel_raster.h"
#include "views/surface_camera.h"

namespace quorvane::views {

enum class PictureMode { Map = 0, ThreeD = 1, Stereo = 2 };

/// The field as the engine keeps it.
struct SurfaceInputs {
    /// The bordered grid, (W + 2) x (H + 2), cell (i, j) at i * (H + 2) + j; the
    /// interior is i = 1..W, j = 1..H. An empty span draws a flat field.
    std::span<const std::int32_t> heights;
    FieldExtent field;
    int referenceLevel = 0;  ///< the engine's reference level (the map's middle grey)
    const SurfaceCamera* camera = nullptr;  ///< the three-dimensional pictures only
};

/// A quadrilateral side wall: four screen corners in order around it, its distance
/// from the camera, and the way it faces (1 +x, 2 -x, 3 +y, 4 -y).
struct LPoligon4 {
    std::array<QPoint, 4> corner;
    double distance = 0;
    int code = 0;
};

/// The ten shades of the pictures in one colour channel set: tops and the four
/// wall orientations, each with a brush colour and a pen 2 pixels wide.
struct ShadeSet {
    std::array<std::array<QColor, 5>, 10> colour;  ///< [index][0 top, 1..4 wall code]
    std::array<std::array<QRgb, 5>, 10> rgb;       ///< the same as pixel values
    /// Grey (all channels), red only, or blue only.
    enum class Channel { Grey, Red, Blue };
    static ShadeSet make(Channel channel);
};

/// What the last three-dimensional picture drew, for tests and benchmarks.
struct SurfaceStats {
    int layers = 0;
    int topPolygons = 0;
    int walls = 0;
    std::array<int, 5> wallsByCode{};  ///< index = code
};

/// Grey index (0..9) of a column of the map: 4 + h - reference, limited; 4 for all
/// when the field is flat.
int mapShadeIndex(std::int32_t height, int referenceLevel, bool flat);
/// Grey index of a layer of the 3D pictures: 4 + layer - meanFloor, limited, the lowest
/// layer too, so that walls darken evenly downward without a light band at their foot.
int layerShadeIndex(std::int32_t layer, std::int32_t meanFloor);

/// The View panel's painter. It keeps the copy of the interior heights, the wall
/// list, the map's bitmap and the stereo bitmaps between frames, so that a redraw
/// during a run allocates nothing new once the field's size is known.
class SurfacePainter {
  public:
    SurfacePainter();

    /// Draws the picture of `mode` into `area`. False, with nothing drawn, when a
    /// picture is being drawn already (a repaint that arrives meanwhile is dropped).
    bool paint(QPainter& painter, const QRect& area, const SurfaceInputs& inputs, PictureMode mode);

    void paintMap(QPainter& painter, const QRect& area, const SurfaceInputs& inputs);
    void paintThreeD(QPainter& painter, const QRect& area, const SurfaceInputs& inputs);
    void paintStereo(QPainter& painter, const QRect& area, const SurfaceInputs& inputs);

    bool drawing() const { return drawing_; }
    /// Bytes held by the buffers kept between frames.
    std::size_t bufferBytes() const;
    const SurfaceStats& stats() const { return stats_; }

    /// Marks a picture as being drawn for its lifetime; `active()` is false when one
    /// was being drawn already.
    class DrawingScope {
      public:
        explicit DrawingScope(SurfacePainter& owner);
        ~DrawingScope();
        bool active() const { return active_; }
        DrawingScope(const DrawingScope&) = delete;
        DrawingScope& operator=(const DrawingScope&) = delete;

      private:
        SurfacePainter& owner_;
        bool active_;
    };

  private:
    /// One grid to draw in three dimensions: `rows` x `cols` heights, row-major, with
    /// the world position of its first row and cell.
    struct Grid {
        const std::int32_t* heights = nullptr;
        int rows = 0, cols = 0;
        double originX = 0, originY = 0;
        double pitchX = 1, pitchY = 1;  ///< Size B along the rows, Size C along a row
    };
    void drawRelief(QImage& target, const Grid& grid, const SurfaceCamera& camera,
                    const ShadeSet& shades);
    void collectTopRuns(const Grid& grid, std::int32_t lowest);
    void drawTops(PixelRaster& raster, const Camera& projection, const Grid& grid,
                  std::size_t layerIndex, double z, QRgb colour);
    /// A run of one layer's wall cells along one boundary line, found in one pass
    /// over the grid for all layers.
    struct WallRun {
        std::int32_t layer;
        int code;      ///< 1, 2 on a line between rows; 3, 4 between cells of a row
        int line;      ///< the boundary's index: rows 0..rows, or cells 0..cols
        int from, to;  ///< cells (or rows) along the line, to exclusive
    };
    void collectWallRuns(const Grid& grid, std::int32_t lowest, const D3Point& eye);
    void layerWalls(const Camera& projection, const Grid& grid, std::size_t layerIndex, double z0,
                    double z1);
    void addWall(const Camera& projection, const D3Point& a, const D3Point& b, double z0, double z1,
                 int code, const D3Point& step, int cells);
    void copyInterior(const SurfaceInputs& inputs);
    /// Far to near by distance, equal distances in their order before.
    void sortFarToNear(std::vector<std::pair<double, std::uint32_t>>& order,
                       std::vector<std::pair<double, std::uint32_t>>& scratch);

    ShadeSet grey_, red_, blue_;
    bool drawing_ = false;
    SurfaceStats stats_;
    std::vector<std::int32_t> interior_;
    std::vector<LPoligon4> walls_;
    std::vector<std::pair<double, std::uint32_t>> wallOrder_;  ///< distance, place in walls_
    std::vector<std::pair<double, std::uint32_t>> sortScratch_;
    std::vector<std::uint64_t> keys_, keyScratch_;      ///< the distances as sort keys
    std::vector<std::uint32_t> places_, placeScratch_;  ///< where each key came from
    std::vector<WallRun> wallRuns_;                     ///< all layers, in scan order
    std::vector<WallRun> layerRuns_;                    ///< the same grouped by layer
    std::vector<std::size_t> layerStart_;               ///< first of each layer in layerRuns_
    std::vector<std::size_t> nextSlot_;                 ///< scratch of the grouping
    std::vector<int> openFrom_;    ///< per layer: start of its open run on the line
    std::vector<QPoint> outline_;  ///< corners of one top polygon's runs, four a run
    /// Scratch of the top polygons: runs of equal height in a row, chained per polygon.
    struct TopRun {
        int row, c0, c1, next;
    };
    struct TopPolygon {
        int head, tail, lastRow;
    };
    struct RowRun {
        std::int32_t layer;
        int row, c0, c1;
    };
    std::vector<RowRun> rowRuns_;             ///< all runs, in scan order
    std::vector<TopRun> topRuns_;             ///< the same grouped by layer
    std::vector<std::size_t> topLayerStart_;  ///< first of each layer in topRuns_
    std::vector<int> runOwner_;               ///< polygon of each run
    std::vector<TopPolygon> topPolygons_;
    QImage mapImage_;
    QImage frame_;  ///< the three-dimensional picture, drawn pixel by pixel
    QImage leftEye_, rightEye_;
};

/// The three mode icons (a map, a block of columns, a pair of red and blue
/// glasses) side by side on magenta, 117 x 19 pixels.
QImage modeIconStrip();
/// The magenta of the strip, drawn as transparent.
inline constexpr QRgb kIconTransparent = 0xFFFF00FF;
/// Draws the strip with magenta left out, its top-left at `at`.
void paintModeIcons(QPainter& painter, const QPoint& at);
/// The three icon rectangles for a window whose right edge is `windowRight`.
std::array<QRect, 3> modeIconRects(int windowRight);
/// The mode whose icon holds `point`, or -1.
int modeAt(const std::array<QRect, 3>& rects, const QPoint& point);

}  // namespace quorvane::views
