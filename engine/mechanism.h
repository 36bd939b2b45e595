#pragma once
/// The growth mechanism a run showed, named from its induction ratio: how long
/// the surface waits before a new layer starts, as a part of the time one layer
/// takes to fill.

namespace quorvane {

/// Mechanism codes as the run log and the reports keep them.
enum MechanismCode : int {
    kTwoDimensionalNucleation = 0,
    kContinuousGrowth = 1,
    kIntermediateMechanism = 2,
    kNotEnoughData = 3,
};

/// q <= 0: not enough data; q > 0.5: nucleation; q < 0.05: continuous; else
/// intermediate (0.5 and 0.05 themselves are intermediate).
int classifyMechanism(double inductionRatio);

/// The status text of a code, as the program has always spelt it; an unknown
/// code reads as not enough data.
const char* mechanismText(int code);

}  // namespace quorvane
