#pragma once
/// One randomly drawn physical parameter of the general experiment: a
/// piecewise-uniform distribution over a range, with point masses at its ends.

#include <string>
#include <vector>

namespace quorvane {

/// A `randomArgument`. The masses below, above and the bins always add up to
/// 1 after an edit (see `normalise`).
///
/// Data-file form (one line per argument, index 0..9 as the key's last
/// character):
///   Random_argument__<index>,<name>,<editMode>,<min>,<max>,<below>,<above>,<n>,<bin 0>,...,<bin
///   n-1>
/// that is: the record's kind is its edit mode, its four parameters are min,
/// max, below and above in this order, and the n listed values are the bin
/// masses. An "auto" end is written as its marker value.
struct RandomArgument {
    std::string name;
    double min = 0;            ///< lower end of the range; may be "auto"
    double max = 1;            ///< upper end of the range; may be "auto"
    double below = 0;          ///< mass of drawing exactly min
    double above = 0;          ///< mass of drawing exactly max
    std::vector<double> bins;  ///< masses of n equal sub-intervals of [min, max]
    /// An end within 0.00001 of this value is "auto": its value is derived
    /// from the other drawn parameters. Every physical range here is
    /// non-negative, so a negative marker never collides with a real end.
    double autoMarker = -1;
    int editMode = 0;   ///< how a drag over the histogram changes the masses, 0..3
    bool valid = true;  ///< false when the last normalisation found no mass at all

    bool operator==(const RandomArgument&) const = default;
};

inline constexpr int kRandomArgumentCount = 7;
inline constexpr int kEditModeCount = 4;
/// Bins a record may hold; a data file asking for more gets this many.
inline constexpr int kMaxBins = 1000;

// Indices of the seven arguments, in the order they are drawn.
inline constexpr int kArgumentAxisA = 0;
inline constexpr int kArgumentAxisB = 1;
inline constexpr int kArgumentAxisC = 2;
inline constexpr int kArgumentEdgesWeight = 3;
inline constexpr int kArgumentVerticesWeight = 4;
inline constexpr int kArgumentSupercooling = 5;
inline constexpr int kArgumentSurfaceEnergy = 6;

/// The dialog's group captions: "Molecule size", "Surface assymetry",
/// "General thermodynamics".
inline constexpr const char* kRandomArgumentGroups[3] = {"Molecule size", "Surface assymetry",
                                                         "General thermodynamics"};
/// The group (0..2) an argument index belongs to; -1 outside 0..6.
int randomArgumentGroup(int index);

/// The seven arguments with their default ranges and masses.
std::vector<RandomArgument> makeDefaultRandomArguments();

/// True when `end` (the argument's min or max) is "auto".
bool isAutoEnd(const RandomArgument& argument, double end);

/// Negative masses become 0 and all masses are divided by their total. A
/// total of 0 or less marks the argument invalid and leaves it as it was.
/// Returns `valid`.
bool normalise(RandomArgument& argument);

/// Bin k takes mass x; the other bins share what the ends leave, then
/// normalisation. Nothing changes for k outside the bins or a non-finite x.
void setBinMass(RandomArgument& argument, int k, double x);
/// The mass of drawing exactly min (or max) becomes d, clamped to [0, 1];
/// every other mass is scaled to share 1 - d, then normalisation.
void setLowerMass(RandomArgument& argument, double d);
void setUpperMass(RandomArgument& argument, double d);

/// A draw for u in [0, 1) over the argument's own range.
double Sample(const RandomArgument& argument, double u);
/// The same histogram stretched over [lo, hi]; lo when hi <= lo.
double Sample(const RandomArgument& argument, double lo, double hi, double u);

/// The argument after a vertical drag over its histogram, as a function of
/// the drag alone: `atStart` is the argument when the button went down, d the
/// drag in pixels (positive lowers the bars), h the histogram height in
/// pixels, k the bin under the pointer at the start. The edit mode decides:
///   0: every bin becomes s_i (h - d) / h;
///   1: s_i - 0.1 (d / h) x_i, x_i = (n - i - 1) / n when k < n / 2 (integer
///      halves), else i / n: a tilt pivoting on the far side;
///   2: as 1 with x_i squared;
///   3: the range moves instead of the masses: both ends shift by
///      -(d / h) times the range width, upward drags to larger values; the
///      lower end never goes below 0 (every parameter drawn here is
///      non-negative), and a range with an "auto" end, being derived, stays.
/// Masses are normalised afterwards. h <= 0 leaves the argument unchanged.
RandomArgument dragged(const RandomArgument& atStart, double d, double h, int k);

}  // namespace quorvane
