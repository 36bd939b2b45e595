#include "engine/field_geometry.h"

#include <cmath>
#include <optional>

namespace quorvane {

InitStatus FieldGeometry::make(double E0, double E8, std::uint32_t Pint, double a, double b,
                               double c, int W, int H, double edgeWeight, double vertexWeight,
                               FieldGeometry& out) {
    if (!std::isfinite(E0) || !std::isfinite(E8)) return InitStatus::BadRate;
    const std::optional<ContactGeometry> contact =
        ContactGeometry::make(a, b, c, edgeWeight, vertexWeight);
    if (!contact) return InitStatus::BadMolecule;
    if (W < 1 || H < 1) return InitStatus::BadFieldSize;
    // 64-bit products cannot overflow for two ints plus 2.
    const std::int64_t cells = (std::int64_t{W} + 2) * (std::int64_t{H} + 2);
    if (cells > kMaxFieldCells) return InitStatus::FieldTooLarge;

    FieldGeometry g;
    g.E0 = E0;
    g.E8 = E8;
    g.Pint = Pint;
    g.contact = *contact;
    g.W = W;
    g.H = H;
    g.stride = H + 2;
    g.firstInterior = g.stride + 1;
    g.lastInterior = (std::int64_t{W} + 1) * g.stride - 2;
    g.area = std::int64_t{W} * H;
    g.cells = cells;
    g.layersPerColumnUnit = 1.0 / static_cast<double>(g.area);
    g.distancePerColumnUnit = a / static_cast<double>(g.area);
    out = g;
    return InitStatus::Ok;
}

}  // namespace quorvane
