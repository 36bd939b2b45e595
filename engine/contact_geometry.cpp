#include "engine/contact_geometry.h"

#include <array>
#include <cmath>

namespace quorvane {

namespace {

/// Unit counts far beyond the ~1000 units of a molecule only arise from sizes whose
/// products overflow or vanish; they are refused rather than cast.
constexpr double kMaxScaledUnits = 1.0e6;

/// Valid sizes always give n within a few units of 1000; the bound keeps the tables
/// and the packed contact sums of the step far from any overflow.
constexpr int kMaxUnits = 4096;

bool IsUsableScaled(double scaled) {
    return std::isfinite(scaled) && scaled >= 0 && scaled <= kMaxScaledUnits;
}

bool IsPositiveFinite(double x) {
    return std::isfinite(x) && x > 0;
}
bool IsNonNegativeFinite(double x) {
    return std::isfinite(x) && x >= 0;
}

void FillDerived(ContactGeometry& g) {
    g.n = 2 * (g.U_ac + g.U_ab + g.U_bc + 2 * g.U_Ea + 2 * g.U_Eb + 2 * g.U_Ec + 4 * g.U_V);
    // A neighbour one layer lower shares only its top edge with the molecule's bottom
    // edge; a higher one covers the whole side face and both edges along it.
    g.alongJ = {g.U_ac + g.U_Ec, g.U_Ec, g.U_ac + 2 * g.U_Ec};
    g.alongI = {g.U_ab + g.U_Eb, g.U_Eb, g.U_ab + 2 * g.U_Eb};
    g.diagonal = {g.U_Ea + g.U_V, g.U_V, g.U_Ea + 2 * g.U_V};
    const double n = g.n;
    g.adatomFraction = (g.U_bc + 2 * g.U_Ec + 2 * g.U_Eb + 4 * g.U_V) / n;
    g.embeddedFraction =
        (g.U_bc + 2 * (g.U_ac + g.U_Ec) + 2 * (g.U_ab + g.U_Eb) + 4 * (g.U_Ea + g.U_V)) / n;
    g.bottomFaceFraction = g.U_bc / n;
}

}  // namespace

int RoundUnitCount(double scaled) {
    const double whole = std::trunc(scaled);
    return static_cast<int>(whole) + (scaled - whole > 0.5 ? 1 : 0);
}

namespace {

/// The seven contact areas of a molecule (three faces, the edges along c, b
/// and a, a vertex) scaled so that one molecule has about 1000 units.
std::array<double, 7> scaledAreas(ContactGeometry& g) {
    const double faceBC = g.b * g.c;
    const double faceAB = g.a * g.b;
    const double faceAC = g.a * g.c;
    g.area = 2 * (faceAB + faceBC + faceAC);
    // Each edge's share is proportional to its length; the 12 edges together get the
    // edge weight of the area, the 8 vertices the vertex weight.
    const double perEdge = g.area * g.edgeWeight / 4;
    const double sizeSum = g.a + g.b + g.c;
    const double edgeA = perEdge * g.a / sizeSum;
    const double edgeB = perEdge * g.b / sizeSum;
    const double edgeC = perEdge * g.c / sizeSum;
    const double vertex = g.area * g.vertexWeight / 8;
    const double scale = 1000 / (4 * (edgeA + edgeB + edgeC) + g.area + 8 * vertex);
    return {faceBC * scale, faceAB * scale, faceAC * scale, edgeC * scale,
            edgeB * scale,  edgeA * scale,  vertex * scale};
}

}  // namespace

std::optional<ContactGeometry> ContactGeometry::make(double a, double b, double c,
                                                     double edgeWeight, double vertexWeight) {
    if (!IsPositiveFinite(a) || !IsPositiveFinite(b) || !IsPositiveFinite(c) ||
        !IsNonNegativeFinite(edgeWeight) || !IsNonNegativeFinite(vertexWeight)) {
        return std::nullopt;
    }
    ContactGeometry g;
    g.a = a;
    g.b = b;
    g.c = c;
    g.edgeWeight = edgeWeight;
    g.vertexWeight = vertexWeight;
    g.volume = a * b * c;
    const std::array<double, 7> scaled = scaledAreas(g);
    for (double s : scaled) {
        if (!IsUsableScaled(s)) return std::nullopt;
    }
    int* const units[7] = {&g.U_bc, &g.U_ab, &g.U_ac, &g.U_Ec, &g.U_Eb, &g.U_Ea, &g.U_V};
    for (std::size_t i = 0; i < scaled.size(); ++i) *units[i] = RoundUnitCount(scaled[i]);
    FillDerived(g);
    if (g.n < 1 || g.n > kMaxUnits) return std::nullopt;
    return g;
}

}  // namespace quorvane
