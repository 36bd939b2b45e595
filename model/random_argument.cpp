#include "model/random_argument.h"

#include <algorithm>
#include <cmath>

namespace quorvane {
namespace {

/// Masses at or below this count as empty when the others are scaled up.
constexpr double kEmptyMass = 1e-10;
/// An empty bin revived by scaling up gets this much, so that raising one
/// part never leaves the rest of the histogram undrawable.
constexpr double kRevivedMass = 0.005;
/// An end this close to the marker is "auto".
constexpr double kAutoTolerance = 0.00001;

RandomArgument makeArgument(const char* name, double min, double max, std::vector<double> bins) {
    RandomArgument argument;
    argument.name = name;
    argument.min = min;
    argument.max = max;
    argument.bins = std::move(bins);
    normalise(argument);
    return argument;
}

/// Scales every bin except `skip` so that together they hold `share`, that is
/// by share / othersTotal; an empty bin is revived instead when the factor
/// grows the bins. With nothing to scale (othersTotal <= 0) the bins are
/// revived when there is mass to hand out, else emptied.
void scaleOtherBins(RandomArgument& argument, int skip, double share, double othersTotal) {
    for (int i = 0; i < static_cast<int>(argument.bins.size()); ++i) {
        if (i == skip) continue;
        double& bin = argument.bins[static_cast<size_t>(i)];
        if (othersTotal <= 0) {
            bin = share > 0 && bin <= kEmptyMass ? kRevivedMass : 0;
            continue;
        }
        double factor = share / othersTotal;
        bin = factor > 1 && bin <= kEmptyMass ? kRevivedMass : bin * factor;
    }
}

double binTotal(const RandomArgument& argument, int skip) {
    double total = 0;
    for (int i = 0; i < static_cast<int>(argument.bins.size()); ++i) {
        if (i != skip) total += argument.bins[static_cast<size_t>(i)];
    }
    return total;
}

/// One end's mass becomes d; the bins and the opposite end share 1 - d.
void setEndMass(RandomArgument& argument, double& end, double& opposite, double d) {
    if (std::isnan(d)) return;
    d = std::clamp(d, 0.0, 1.0);
    end = d;
    double share = 1 - d;
    double othersTotal = binTotal(argument, -1) + opposite;
    if (othersTotal > 0) opposite *= share / othersTotal;
    scaleOtherBins(argument, -1, share, othersTotal);
    normalise(argument);
}

double tiltWeight(int i, int n, int k, int mode) {
    double x = k < n / 2 ? static_cast<double>(n - i - 1) / n : static_cast<double>(i) / n;
    return mode == 2 ? x * x : x;
}

/// The inverse of the cumulative mass: below at lo, the bins uniform within
/// their sub-intervals of [lo, hi], the rest at hi.
double sampleOver(const RandomArgument& argument, double lo, double hi, double u) {
    if (u < argument.below) return lo;
    double s = argument.below;
    for (size_t i = 0; i < argument.bins.size(); ++i) {
        double m = argument.bins[i];
        s += m;
        if (u < s) {
            double w = (hi - lo) / static_cast<double>(argument.bins.size());
            return lo + w * static_cast<double>(i) + w * (u - (s - m)) / m;
        }
    }
    return hi;
}

void moveRange(RandomArgument& argument, double d, double h) {
    if (isAutoEnd(argument, argument.min) || isAutoEnd(argument, argument.max)) return;
    double shift = -(d / h) * (argument.max - argument.min);
    if (!std::isfinite(shift)) return;
    if (shift < 0 && argument.min + shift < 0) shift = std::min(0.0, -argument.min);
    argument.min += shift;
    argument.max += shift;
}

}  // namespace

int randomArgumentGroup(int index) {
    if (index < 0 || index >= kRandomArgumentCount) return -1;
    if (index <= kArgumentAxisC) return 0;
    if (index <= kArgumentVerticesWeight) return 1;
    return 2;
}

std::vector<RandomArgument> makeDefaultRandomArguments() {
    // Molecule axes, nm: from small inorganic molecules and ion pairs (water
    // and NaCl are about 0.3 nm) through small organic molecules (benzene
    // about 0.7 nm, naphthalene 0.9 nm) to 2 nm (steroids, short peptides).
    // Most crystals grown from solution are of the first two kinds, so the
    // mass leans to the small end. Nine bins of 0.2 nm.
    const std::vector<double> axes{0.05, 0.2, 0.2, 0.15, 0.12, 0.1, 0.08, 0.06, 0.04};
    // Surface weights: the built-in shares are 0.25 (edges) and 0.05
    // (vertices) of a face; the drawn weights scatter around them, from 0 to
    // twice as much, with a triangle peaked at the built-in value.
    const std::vector<double> triangle{0.02, 0.06, 0.1, 0.14, 0.18, 0.18, 0.14, 0.1, 0.06, 0.02};
    // General supercooling dG': below about 0.05 the driving factor
    // 1 - exp(-dG') is so small that a layer takes hours of computing; above
    // about 4 it is within 2 % of 1 and growth is continuous whatever sigma'
    // is. The mechanism changes at small dG', so the mass leans there. Eight
    // bins of 0.5.
    const std::vector<double> supercooling{0.2, 0.2, 0.15, 0.13, 0.11, 0.09, 0.07, 0.05};
    // Specific surface energy sigma': where growth is observable depends on
    // the drawn supercooling and shape, so both ends are "auto" and the
    // experiment derives the range from them; uniform over that range.
    const std::vector<double> uniform(10, 0.1);

    std::vector<RandomArgument> arguments{
        makeArgument("A-axis (nm)", 0.2, 2.0, axes),
        makeArgument("B-axis (nm)", 0.2, 2.0, axes),
        makeArgument("C-axis (nm)", 0.2, 2.0, axes),
        makeArgument("Edges weight", 0, 0.5, triangle),
        makeArgument("Vertices weight", 0, 0.1, triangle),
        makeArgument("Specific supercooling", 0.05, 4.05, supercooling),
        makeArgument("Specific surface energy", 0, 0, uniform),
    };
    RandomArgument& surfaceEnergy = arguments[kArgumentSurfaceEnergy];
    surfaceEnergy.min = surfaceEnergy.max = surfaceEnergy.autoMarker;
    return arguments;
}

bool isAutoEnd(const RandomArgument& argument, double end) {
    return std::abs(end - argument.autoMarker) <= kAutoTolerance;
}

bool normalise(RandomArgument& argument) {
    std::vector<double*> masses{&argument.below, &argument.above};
    for (double& bin : argument.bins) masses.push_back(&bin);
    double total = 0;
    bool infinite = false;
    for (double* mass : masses) {
        if (!(*mass > 0)) *mass = 0;  // negative masses (and NaN) are no mass
        infinite = infinite || std::isinf(*mass);
        total += *mass;
    }
    if (infinite) {
        // Only an overflowing edit gets here: the infinite masses share it all.
        total = 0;
        for (double* mass : masses) total += * mass = std::isinf(*mass) ? 1 : 0;
    }
    if (!(total > 0)) {
        argument.valid = false;
        return false;
    }
    if (std::isinf(total)) {
        // Finite masses whose sum overflows: only their shares matter.
        double largest = 0;
        for (double* mass : masses) largest = std::max(largest, *mass);
        total = 0;
        for (double* mass : masses) total += * mass /= largest;
    }
    for (double* mass : masses) *mass /= total;
    argument.valid = true;
    return true;
}

void setBinMass(RandomArgument& argument, int k, double x) {
    if (k < 0 || k >= static_cast<int>(argument.bins.size()) || !std::isfinite(x)) return;
    argument.bins[static_cast<size_t>(k)] = x;
    scaleOtherBins(argument, k, 1 - (x + argument.above + argument.below), binTotal(argument, k));
    normalise(argument);
}

void setLowerMass(RandomArgument& argument, double d) {
    setEndMass(argument, argument.below, argument.above, d);
}

void setUpperMass(RandomArgument& argument, double d) {
    setEndMass(argument, argument.above, argument.below, d);
}

double Sample(const RandomArgument& argument, double u) {
    return sampleOver(argument, argument.min, argument.max, u);
}

double Sample(const RandomArgument& argument, double lo, double hi, double u) {
    if (hi <= lo) return lo;
    return sampleOver(argument, lo, hi, u);
}

RandomArgument dragged(const RandomArgument& atStart, double d, double h, int k) {
    RandomArgument result = atStart;
    if (!(h > 0) || !std::isfinite(d)) return result;
    int n = static_cast<int>(result.bins.size());
    switch (atStart.editMode) {
        case 0:
            for (double& bin : result.bins) bin *= (h - d) / h;
            break;
        case 1:
        case 2:
            for (int i = 0; i < n; ++i) {
                result.bins[static_cast<size_t>(i)] -=
                    0.1 * (d / h) * tiltWeight(i, n, k, atStart.editMode);
            }
            break;
        case 3:
            moveRange(result, d, h);
            return result;
        default:
            return result;
    }
    normalise(result);
    return result;
}

}  // namespace quorvane
