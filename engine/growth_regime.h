#pragma once
/// The growth regime of a run (continuous growth, two-dimensional nucleation, or
/// the intermediate band between them), named from how fast the face grew
/// against continuous growth and from the size of its critical nucleus. It is a
/// second answer beside the induction-ratio mechanism, which it leaves alone.

#include <string>

namespace quorvane {

class GrowthRecord;
struct EvaluationInputs;

enum class GrowthRegime { Undetermined, Continuous, Intermediate, Nucleation };

/// What decided the regime.
enum class RegimeReason {
    TooFewEntries,      ///< 50 entries or fewer
    NoDrivingForce,     ///< no supercooling or no molecules jumping in: nothing grows
    TooShort,           ///< continuous growth would not have added enough layers to judge
    RoughFace,          ///< the face grew as fast as a face at its roughening point, or faster
    NoNucleusSize,      ///< a smooth face, but the theory gave no critical nucleus
    SingleSiteNucleus,  ///< smooth face; the critical nucleus is a single molecule
    SmallNucleus,       ///< smooth face; nucleus radius between half a molecule and one
    LargeNucleus,       ///< smooth face; nucleus radius of one molecule or more
};

/// The regime with the measured and theoretical numbers that decided it.
struct GrowthRegimeAssessment {
    GrowthRegime regime = GrowthRegime::Undetermined;
    RegimeReason reason = RegimeReason::TooFewEntries;
    /// Continuous-growth layers of the judged stretch (the second half of the record).
    double judgedLayers = 0;
    /// Growth of the judged stretch as a part of continuous growth over it.
    double rateParts = 0;
    /// The same part for a face at its roughening point under the run's supercooling.
    double roughFaceRateParts = 0;
    /// Critical nucleus radius in molecules (lateral molecule size sqrt(b c)); 0 unknown.
    double nucleusRadius = 0;
};

/// Continuous-growth layers the judged stretch must span before a regime is named.
inline constexpr double kRegimeMinJudgedLayers = 3.0;

/// Names the regime of a record. Reads two entries of the record, so it costs
/// nothing beside the rest of an evaluation.
GrowthRegimeAssessment assessGrowthRegime(const GrowthRecord& record,
                                          const EvaluationInputs& inputs);

/// Growth rate, as a part of continuous growth, of a face at its roughening point
/// under the general supercooling g (measured, see the function's comment).
double roughFaceRateParts(double generalSupercooling);

/// "continuous", "intermediate", "nucleation" or "undetermined".
const char* growthRegimeWord(GrowthRegime regime);

/// The word followed by the reason in brackets, e.g.
/// "nucleation (nucleus radius 1.50 molecules, rate 0.168 of continuous)".
std::string growthRegimeText(const GrowthRegimeAssessment& assessment);

}  // namespace quorvane
