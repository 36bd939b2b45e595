#pragma once
/// The status block of the Results panel as data: every line with its place,
/// colour and finished text, so that drawing it is a loop and testing it needs no
/// painter. Texts are Windows-1252 bytes (the plus-minus sign is 0xB1).

#include <string>
#include <vector>

#include "engine/run_evaluation.h"

namespace quorvane {

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
    bool operator==(const Rgb&) const = default;
};

/// One line of the block, placed relative to the block's top-left corner.
struct StatusLine {
    int x = 0;
    int y = 0;
    Rgb colour;
    std::string text;
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

/// Lines are this many pixels apart.
constexpr int kStatusLineSpacing = 20;

/// The lines of the block, in drawing order.
std::vector<StatusLine> statusBlockLines(const RunEvaluation& evaluation,
                                         const StatusDisplay& display);

}  // namespace quorvane
