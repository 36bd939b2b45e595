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

int layerShadeIndex(std::int32_t layer, std::int32_t meanFloor) {
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
    return bytes(interior_) + bytes(walls_) + bytes(wallOrder_) + bytes(outline_) +
           bytes(rowRuns_) + bytes(topRuns_) + bytes(topLayerStart_) + bytes(runOwner_) +
           bytes(topPolygons_) + bytes(wallRuns_) + bytes(layerRuns_) + bytes(layerStart_) +
           bytes(nextSlot_) + bytes(openFrom_) + bytes(sortScratch_) + bytes(keys_) +
           bytes(keyScratch_) + bytes(places_) + bytes(placeScratch_) +
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
    // The two eyes see the border ring too and from two places: both draw a little
    // smaller, so that the pair takes the room of the three-dimensional picture.
    const auto [lowest, highest] = std::minmax_element(interior_.begin(), interior_.end());
    const double top = (static_cast<double>(*highest) - *lowest + 1) * inputs.field.sizeA;
    const StereoEyes eyes = stereoEyes(*inputs.camera, size, top);
    leftEye_.fill(Qt::black);
    drawRelief(leftEye_, grid, eyes.left, red_);
    rightEye_.fill(Qt::black);
    drawRelief(rightEye_, grid, eyes.right, blue_);
    // Red and blue lie in different channels: OR puts both eyes in one picture.
    const int words = size.width();
    for (int y = 0; y < size.height(); ++y) {
        auto* left = reinterpret_cast<QRgb*>(leftEye_.scanLine(y));
        const auto* right = reinterpret_cast<const QRgb*>(rightEye_.constScanLine(y));
        for (int x = 0; x < words; ++x) left[x] |= right[x];
    }
    painter.drawImage(area.topLeft(), leftEye_);
}

}  // namespace quorvane::views
