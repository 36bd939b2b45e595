#include "engine/mechanism.h"

namespace quorvane {

int classifyMechanism(double inductionRatio) {
    const double q = inductionRatio;
    if (q <= 0) return kNotEnoughData;
    // A long wait before each layer means layers start from rare critical nuclei;
    // almost no wait means every site grows at once.
    if (q > 0.5) return kTwoDimensionalNucleation;
    if (q < 0.05) return kContinuousGrowth;
    return kIntermediateMechanism;
}

const char* mechanismText(int code) {
    switch (code) {
        case kTwoDimensionalNucleation:
            return "Two dimensional nucleation";
        case kContinuousGrowth:
            return "Continius growth";
        case kIntermediateMechanism:
            return "Intermedia mechanism";
        default:
            return "Not enough data to define mechanism";
    }
}

}  // namespace quorvane
