#pragma once
/// The frame of the study pictures: a title above, the horizontal axis with its
/// grid and numbers below, the vertical one (linear or in powers of ten) on the
/// left, and room on the right for a legend.

#include <QColor>
#include <QPainter>
#include <QRect>
#include <QString>
#include <functional>
#include <vector>

#include "views/chart_frame.h"

namespace quorvane::views {

struct StudyAxesRanges {
    QString title;
    QString xTitle;
    QString yTitle;
    double xMin = 0, xMax = 1;  ///< the values to show; the frame pads them
    double yMin = 0, yMax = 1;
    bool logY = false;  ///< the vertical axis in powers of ten (every value > 0)
    int legendWidth = 0;
};

/// A frame laid out and drawn: where a value goes.
struct StudyAxes {
    ChartFrame frame;  ///< vertical values as log10 where logY
    bool logY = false;
    QRect plot;    ///< the plotting area inside the axes
    QRect legend;  ///< the room right of it

    /// The vertical position of a value, before clipping to the plot.
    double worldY(double value) const;
    QPoint at(double x, double y) const;
    /// A vertical pixel kept inside the plot.
    int clampY(int y) const;
    bool showsY(double value) const;
};

/// True when values spread over more than two powers of ten, all above zero:
/// times to fill a layer do, across the regimes.
bool wantsLogAxis(const std::vector<double>& values);

/// Lays out the frame inside `area` and draws its grid, axes, numbers and titles.
StudyAxes drawStudyAxes(QPainter& painter, const QRect& area, const StudyAxesRanges& ranges);

/// The fonts of the study pictures: numbers and the texts of the legend, titles.
QFont studyTextFont();
QFont studyTitleFont();

/// Colour of line k of a chart (one line for each value of the other parameters).
QColor seriesColour(std::size_t k);

/// Markers: a filled dot for a simulated mean, a hollow diamond for the theory.
void drawSimulatedMarker(QPainter& painter, const QPoint& at, const QColor& colour, int radius = 4);
void drawTheoryMarker(QPainter& painter, const QPoint& at, const QColor& colour, int radius = 5);
/// The same for many points of one colour.
void drawSimulatedMarkers(QPainter& painter, const std::vector<QPoint>& points,
                          const QColor& colour, int radius = 4);
void drawTheoryMarkers(QPainter& painter, const std::vector<QPoint>& points, const QColor& colour,
                       int radius = 5);
/// A hollow triangle on the plot's edge for a value beyond it, pointing outward.
void drawBeyondMarker(QPainter& painter, const QPoint& at, bool above, const QColor& colour);

/// One entry of a legend: a sample (drawn by `sample` into a 22 x line-height
/// box) and its text; returns the y of the next entry.
int drawLegendEntry(QPainter& painter, int x, int y, const QString& text,
                    const std::function<void(QPainter&, const QRect&)>& sample);

}  // namespace quorvane::views
