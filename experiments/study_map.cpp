#include "experiments/study_map.h"

#include <algorithm>
#include <set>

namespace quorvane {
namespace {

std::vector<double> valuesOf(const Study& study, std::size_t parameter) {
    std::set<double> values;
    for (const StudyCombination& c : study.combinations) values.insert(c.values[parameter]);
    return {values.begin(), values.end()};
}

std::size_t indexOf(const std::vector<double>& values, double v) {
    return std::size_t(std::lower_bound(values.begin(), values.end(), v) - values.begin());
}

/// The pair of values around v (the outer pair past the ends) and where v lies
/// between them: 0 at the first, 1 at the second.
std::pair<std::size_t, double> bracket(const std::vector<double>& values, double v) {
    if (values.size() < 2) return {0, 0};
    std::size_t i = indexOf(values, v);
    i = std::clamp<std::size_t>(i == 0 ? 0 : i - 1, 0, values.size() - 2);
    return {i, (v - values[i]) / (values[i + 1] - values[i])};
}

struct Inputs {
    double g = 0, sigma = 0, lambda1 = 0, lambda2 = 0;
};

Inputs inputsOf(const StudyTheory& t) {
    return {t.supercooling, t.surfaceEnergy, t.lambda1, t.lambda2};
}

Inputs mix(const Inputs& p, const Inputs& q, double t) {
    auto lerp = [t](double a, double b) { return a + (b - a) * t; };
    return {lerp(p.g, q.g), lerp(p.sigma, q.sigma), lerp(p.lambda1, q.lambda1),
            lerp(p.lambda2, q.lambda2)};
}

}  // namespace

RegimeGrid regimeGrid(const Study& study, std::size_t xParameter, std::size_t yParameter) {
    RegimeGrid grid;
    grid.xParameter = xParameter;
    grid.yParameter = yParameter;
    if (xParameter >= study.parameters.size() || yParameter >= study.parameters.size()) return grid;
    grid.xs = valuesOf(study, xParameter);
    grid.ys = valuesOf(study, yParameter);
    grid.cells.assign(grid.xs.size() * grid.ys.size(), std::nullopt);
    for (std::size_t k = 0; k < study.combinations.size(); ++k) {
        const StudyCombination& c = study.combinations[k];
        auto& cell = grid.cells[indexOf(grid.ys, c.values[yParameter]) * grid.xs.size() +
                                indexOf(grid.xs, c.values[xParameter])];
        if (!cell) cell = k;
    }
    return grid;
}

std::optional<GrowthRegime> theoryRegimeAt(const Study& study, const RegimeGrid& grid, double x,
                                           double y) {
    if (grid.xs.size() < 2 || grid.ys.size() < 2) return std::nullopt;
    const auto [i, tx] = bracket(grid.xs, x);
    const auto [j, ty] = bracket(grid.ys, y);
    // A corner where nothing ran takes the inputs of a neighbour that did.
    std::optional<Inputs> corner[2][2];
    for (std::size_t di = 0; di < 2; ++di)
        for (std::size_t dj = 0; dj < 2; ++dj)
            if (const auto k = grid.at(i + di, j + dj))
                corner[di][dj] = inputsOf(study.combinations[*k].theory);
    const Inputs* any = nullptr;
    for (auto& column : corner)
        for (auto& c : column)
            if (c && !any) any = &*c;
    if (!any) return std::nullopt;
    const Inputs fallback = *any;
    for (auto& column : corner)
        for (auto& c : column)
            if (!c) c = fallback;
    const Inputs in =
        mix(mix(*corner[0][0], *corner[1][0], tx), mix(*corner[0][1], *corner[1][1], tx), ty);
    return theoryRegime(in.g, in.sigma, in.lambda1, in.lambda2);
}

}  // namespace quorvane
