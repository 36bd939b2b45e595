#pragma once
/// The growth regimes of a study over two of its parameters: which combination
/// lies in which cell of the grid of their values, and the regime the theory
/// names anywhere on that grid, so that its boundaries can be drawn over the
/// regimes the runs grew in.

#include <optional>
#include <vector>

#include "experiments/study.h"

namespace quorvane {

struct RegimeGrid {
    std::size_t xParameter = 0, yParameter = 1;
    std::vector<double> xs, ys;  ///< the values of each, ascending
    /// The combination of cell (i, j) at [j * xs.size() + i], where one ran.
    std::vector<std::optional<std::size_t>> cells;
    std::optional<std::size_t> at(std::size_t i, std::size_t j) const {
        return cells[j * xs.size() + i];
    }
};

/// The grid of a study over two of its parameters. Where the study varied more,
/// a cell holds the first of the combinations that fall into it.
RegimeGrid regimeGrid(const Study& study, std::size_t xParameter, std::size_t yParameter);

/// The theory's regime at (x, y). The theory's inputs (dG', sigma' and the
/// lateral shares) are interpolated linearly between the combinations around
/// the point and carried on straight past the outer ones: exact where the map
/// is drawn over dG' and sigma' themselves.
std::optional<GrowthRegime> theoryRegimeAt(const Study& study, const RegimeGrid& grid, double x,
                                           double y);

}  // namespace quorvane
