#pragma once
/// What the Run panel draws around its controls: the coloured group frames,
/// the labels and units beside the edits, the value marks of the experiment
/// plan under its list, and the engine's probability chart.

#include <QFont>
#include <QPainter>
#include <QRect>
#include <optional>
#include <string>
#include <vector>

#include "model/probabilities.h"
#include "sheets/plan_marks.h"

namespace quorvane::views {

/// Where the panel's controls stand, in panel pixels.
struct RunPanelPlaces {
    QRect width, height, jumps, probability, timeStep;
    QRect neverStop;
    QRect layersLimit, timeLimit, firstLayerLimit;
    QRect planList;
};

struct RunPanelPictureInputs {
    RunPanelPlaces places;
    bool limitsShown = true;  ///< "Never stop" hides the limits and their units
    std::string timeUnit;     ///< of the time step
    std::vector<PlanMarkRow> marks;
    const ProbabilityChart* chart = nullptr;  ///< an empty frame when null
    QRect chartArea;
    QFont font;
    QColor text{Qt::black};
};

/// Where the value marks under a plan list of `rows` stepped kinds end (the
/// list's bottom when there are none); the plan frame closes 7 pixels below.
int planMarksBottom(const QRect& list, std::size_t rows);

void paintRunPanelPicture(QPainter& painter, const RunPanelPictureInputs& inputs);

/// One line per stepped kind under the list: every value as a blue mark
/// (numbered where the number fits), the value the next run uses in red.
void paintPlanValueMarks(QPainter& painter, const QRect& list,
                         const std::vector<PlanMarkRow>& rows);

}  // namespace quorvane::views
