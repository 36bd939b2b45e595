#pragma once
/// How much of a box-shaped molecule's surface touches its neighbours, counted in
/// integer contact units so that contact fractions index integer tables.

#include <cstdint>
#include <optional>

namespace quorvane {

/// Contact units a neighbour column contributes, by the height of its top relative
/// to the molecule in question.
struct NeighbourContact {
    int level = 0;   ///< top level with the molecule: the shared face and one edge
    int lower = 0;   ///< one layer lower: only the edge along the molecule's bottom
    int higher = 0;  ///< higher: the whole face and both edges along it
};

/// The molecule's contact geometry, derived from its three sizes and the shares of
/// its surface given to edges and vertices.
struct ContactGeometry {
    double a = 0;  ///< size along the growth direction (layer thickness)
    double b = 0;  ///< size along the j direction of the field
    double c = 0;  ///< size along the i direction of the field
    double edgeWeight = 0;
    double vertexWeight = 0;
    double volume = 0;  ///< a*b*c
    double area = 0;    ///< A = 2*(ab + bc + ac)

    // Unit counts of one face (bottom/top, i-side, j-side), one edge (vertical,
    // along b, along c) and one vertex.
    int U_bc = 0;
    int U_ab = 0;
    int U_ac = 0;
    int U_Ea = 0;
    int U_Eb = 0;
    int U_Ec = 0;
    int U_V = 0;
    /// Units of the whole molecule: the denominator of every contact fraction and
    /// the side of the threshold tables.
    int n = 0;

    NeighbourContact alongJ;    ///< neighbours at index +-1
    NeighbourContact alongI;    ///< neighbours at index +-S
    NeighbourContact diagonal;  ///< neighbours at index +-S+-1

    /// Reference contact fractions shown to the user: a lone molecule on a flat layer
    /// (logged as "Scbd"), a molecule embedded in a flat layer, and a molecule that
    /// touches the crystal only with its bottom face (logged as "Scbd1").
    double adatomFraction = 0;
    double embeddedFraction = 0;
    double bottomFaceFraction = 0;

    /// Sizes must be finite and positive, weights finite and not negative; anything
    /// else (or sizes so extreme that the unit counts are no numbers) gives nothing.
    static std::optional<ContactGeometry> make(double a, double b, double c, double edgeWeight,
                                               double vertexWeight);
};

/// Makes a scaled unit count whole: truncation, raised by one only when the dropped
/// remainder is strictly above one half (an exact .5 stays down).
int RoundUnitCount(double scaled);

}  // namespace quorvane
