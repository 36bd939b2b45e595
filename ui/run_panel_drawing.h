#pragma once
/// What the Run panel draws around its controls: the coloured group frames,
/// the typeset labels, the value marks of the experiment plan and the chart of
/// the incorporation probabilities.

#include <QColor>
#include <QRect>
#include <QString>
#include <string>
#include <vector>

#include "experiments/plan.h"
#include "model/probabilities.h"

class QPainter;

namespace quorvane {

/// One piece of a typeset label.
struct FormulaPiece {
    enum Style { Normal, Symbol, Subscript };
    Style style = Normal;
    std::string text;

    static FormulaPiece normal(std::string t) { return {Normal, std::move(t)}; }
    /// A letter of the symbol font ("D" is the capital delta).
    static FormulaPiece symbol(std::string t) { return {Symbol, std::move(t)}; }
    static FormulaPiece subscript(std::string t) { return {Subscript, std::move(t)}; }
};
using Formula = std::vector<FormulaPiece>;

/// The width and height of a typeset line.
QSize measureFormula(const Formula& formula);
/// The line right-aligned 3 pixels left of a control, centred on it vertically.
void drawFormulaLeftOf(QPainter& p, const QRect& control, const Formula& formula);
/// The line 3 pixels right of a control, centred on it vertically.
void drawFormulaRightOf(QPainter& p, const QRect& control, const Formula& formula);

/// A rectangle outline in its pen with the caption 5 pixels right of its left
/// edge, the caption's baseline 2 pixels above the top edge.
void drawGroupFrame(QPainter& p, const char* caption, const QRect& frame, const QColor& colour,
                    int penWidth);

/// The number of a value mark: "%.2g" with its exponent compacted (1e+05 to
/// 1e5, 2.5e-07 to 2.5e-7).
std::string markLabel(double value);
/// Where the value marks under the plan list end (the list's bottom when the
/// plan is empty).
int planMarksBottom(const QRect& list, const ExperimentPlan& plan);
/// One line per stepped kind under the list: every value of the kind as a
/// blue mark, the value the next run uses in red.
void drawPlanValueMarks(QPainter& p, const QRect& list, const ExperimentPlan& plan);

/// The incorporation probabilities against the contact fraction, plainly.
void drawProbabilityChartPlain(QPainter& p, const QRect& area, const ProbabilityChart& chart);

}  // namespace quorvane
