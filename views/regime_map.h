#pragma once
/// The map of growth regimes over two parameters of a study: one cell for
/// each combination, coloured by the regime its runs grew in, with the
/// theory's boundaries between nucleation, intermediate and continuous growth
/// drawn over it, and a legend.

#include <QColor>
#include <QPainter>
#include <QRect>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "engine/growth_regime.h"

namespace quorvane::views {

/// Colour of a growth regime on the study's pictures.
QColor regimeColour(GrowthRegime regime);

struct RegimeMapCell {
    std::size_t i = 0, j = 0;  ///< the cell's place among the x and y values
    GrowthRegime regime = GrowthRegime::Undetermined;
    bool unanimous = true;  ///< every run of the combination grew in that regime
};

struct RegimeMapInputs {
    QString title;
    QString xTitle;
    QString yTitle;
    std::vector<double> xs, ys;  ///< ascending
    std::vector<RegimeMapCell> cells;
    /// The theory's regime at a point of the map; nothing where it has none.
    std::function<std::optional<GrowthRegime>(double x, double y)> theory;
};

/// Draws the map on white into `area`.
void paintRegimeMap(QPainter& painter, const QRect& area, const RegimeMapInputs& inputs);

/// The edges of the cells along one axis: halfway between neighbouring values,
/// the outer ones as far out as the nearest inner edge is in.
std::vector<double> cellEdges(const std::vector<double>& values);

}  // namespace quorvane::views
