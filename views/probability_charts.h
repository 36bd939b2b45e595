#pragma once
/// The two charts that explain the incorporation probabilities: the relative
/// frequency to leave the surface against the contact share (Data panel), and the
/// engine's leave and grow probabilities per step against it (Data and Run panels).

#include <QPainter>
#include <QRect>

#include "model/probabilities.h"

namespace quorvane::views {

/// Colours shared by both charts.
struct ProbabilityChartStyle {
    QColor background{255, 255, 255};
    QColor axis{0, 0, 0};
    QColor outCurve{200, 0, 0};
    QColor inCurve{0, 0, 200};
    QColor grid{210, 210, 210};
    QColor mark{0, 120, 0};
};

/// The frequency chart of the model's `makeFrequencyChart` into `area`.
void paintFrequencyChart(QPainter& painter, const QRect& area, const FrequencyChart& chart,
                         const ProbabilityChartStyle& style = {});

/// The probability chart of the model's `makeProbabilityChart` into `area`.
void paintProbabilityChart(QPainter& painter, const QRect& area, const ProbabilityChart& chart,
                           const ProbabilityChartStyle& style = {});

}  // namespace quorvane::views
