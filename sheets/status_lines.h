#pragma once
/// The status block of the Results panel as data: every line with its column,
/// row, tone and finished text. Where the columns stand and how large the text
/// is belong to the painter, which measures the texts. Texts are Windows-1252
/// bytes (the plus-minus sign is 0xB1).

#include <string>
#include <vector>

#include "engine/run_evaluation.h"

namespace quorvane {

/// The three columns, left to right: the run now, its averages, its analysis.
enum class StatusColumn { Now, Averages, Analysis };

/// What a line is about, which the painter shows by its colour.
enum class StatusTone {
    State,         ///< where the run stands
    ComputerTime,  ///< how long the computer has worked on it
    Average,       ///< the averages and the analysis
};

/// One line of the block.
struct StatusLine {
    StatusColumn column = StatusColumn::Now;
    int row = 1;            ///< 1 for the top row
    bool indented = false;  ///< set in under the lines of its column
    StatusTone tone = StatusTone::State;
    std::string text;
    bool operator==(const StatusLine&) const = default;
};

/// What the block needs beyond the evaluation: the current units and display mode.
struct StatusDisplay {
    double timeUnitsPerSecond = 1;
    double secondsPerTimeUnit = 1;
    std::string lengthUnit;      ///< short name of the current length unit
    std::string timeUnit;        ///< short name of the current time unit
    std::string rateLengthUnit;  ///< length unit paired with the current time unit in rates
    double sizeA = 0;            ///< `Size_A`: one layer, current length unit
    int mode = 0;                ///< ratios as parts (0) or percent (1)
    bool porous = false;         ///< the run takes hole defects into account
};

/// The lines of the block, in drawing order.
std::vector<StatusLine> statusBlockLines(const RunEvaluation& evaluation,
                                         const StatusDisplay& display);

}  // namespace quorvane
