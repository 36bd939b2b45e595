#pragma once
/// The sizes of a run as the engine derives them from its inputs: rate
/// parameters, molecule contact geometry and the field's index layout.

#include <cstdint>

#include "engine/contact_geometry.h"

namespace quorvane {

/// Why the engine refused its inputs; `Ok` when it took them.
enum class InitStatus {
    Ok,
    BadFieldSize,   ///< W or H below 1
    FieldTooLarge,  ///< the field's cell count overflows or memory is exhausted
    BadRate,        ///< a rate parameter that is no finite number, or gives no probability
    BadMolecule,    ///< a size at or below 0, a negative or non-finite surface weight
    NoRun,          ///< rates were given before any run had a field
};

/// Everything derived from one set of engine inputs.
struct FieldGeometry {
    double E0 = 0;
    double E8 = 0;
    std::uint32_t Pint = 0;
    ContactGeometry contact;

    int W = 0;       ///< rows, the outer loop of the sweep
    int H = 0;       ///< cells per row, the inner loop
    int stride = 0;  ///< S = H + 2, one row of the stored array with its border cells
    std::int64_t firstInterior = 0;    ///< S + 1, cell (1, 1)
    std::int64_t lastInterior = 0;     ///< (W+1)*S - 2, cell (W, H)
    std::int64_t area = 0;             ///< W*H, also the limit of listed cells per step
    std::int64_t cells = 0;            ///< (W+2)*(H+2), the length of every per-cell array
    double layersPerColumnUnit = 0;    ///< 1/(W*H): mean-height change of one layer in one column
    double distancePerColumnUnit = 0;  ///< a/(W*H): grown distance of the same

    /// Checks the inputs in their order (rates, molecule, field) and fills `out` only
    /// when all are usable.
    static InitStatus make(double E0, double E8, std::uint32_t Pint, double a, double b, double c,
                           int W, int H, double edgeWeight, double vertexWeight,
                           FieldGeometry& out);
};

/// Every per-cell index must fit a signed 32-bit number.
inline constexpr std::int64_t kMaxFieldCells = 0x7FFFFFFF;

}  // namespace quorvane
