#pragma once
/// The growth regime of a run (continuous growth, two-dimensional nucleation, or
/// the intermediate band between them), named from what the run measured: how
/// fast the face grew against continuous growth and against a face at its
/// roughening point, how strongly that rate must depend on the drive, how rough
/// the face is, and whether it grew layer by layer. It is a second answer beside
/// the induction-ratio mechanism, which it leaves alone.

#include <string>

namespace quorvane {

class GrowthRecord;
struct EvaluationInputs;

enum class GrowthRegime { Undetermined, Continuous, Intermediate, Nucleation };

/// What decided the regime.
enum class RegimeReason {
    TooFewEntries,     ///< 50 entries or fewer
    NoDrivingForce,    ///< no supercooling or no molecules jumping in: nothing grows
    TooShort,          ///< continuous growth would not have added enough layers to judge
    RoughFace,         ///< weak activation: the rate hardly depends on the drive
    NearRoughening,    ///< activation above the rough face's, rate still near a face at roughening
    WeakActivation,    ///< activation between the two bounds, the face well below roughening
    StrongActivation,  ///< activation at or above the nucleation bound
    LayerByLayer,      ///< the roughness rises and falls with every layer: nuclei one at a time
    RoughOnThisField,  ///< activated by the rate, but as rough as a face at its roughening point
};

/// The regime with the measured numbers that decided it. Rates are parts of
/// continuous growth, roughness in layers.
struct GrowthRegimeAssessment {
    GrowthRegime regime = GrowthRegime::Undetermined;
    RegimeReason reason = RegimeReason::TooFewEntries;
    /// Continuous-growth layers of the judged stretch (the last two thirds of the record).
    double judgedLayers = 0;
    /// Layers the face gained over the judged stretch.
    double grownLayers = 0;
    /// grownLayers / judgedLayers.
    double rateParts = 0;
    /// The same part for a face at its roughening point under the run's supercooling.
    double roughFaceRateParts = 0;
    /// d ln R / d ln dG' of the rate part R, estimated from the rate (see `rateActivation`).
    double activation = 0;
    /// Mean roughness over the judged stretch.
    double roughness = 0;
    /// The same for a face at its roughening point, same field and supercooling.
    double roughFaceRoughness = 0;
    /// Correlation, over the judged stretch, of the squared roughness with f(1 - f), f
    /// the filled part of the top layer: near 1 when layers fill one at a time.
    double layerOscillation = 0;
};

/// Continuous-growth layers the judged stretch must span before a regime is named.
inline constexpr double kRegimeMinJudgedLayers = 3.0;
/// Activation below which growth counts as continuous, and from which as nucleation.
inline constexpr double kContinuousActivation = 0.5;
inline constexpr double kNucleationActivation = 1.5;
/// Layer oscillation from which the face is taken to grow layer by layer.
inline constexpr double kLayerByLayerOscillation = 0.5;
/// The activation reported for a face that did not grow at all.
inline constexpr double kMaxActivation = 5.0;

/// Names the regime of a record. One pass over about a thousand entries of the
/// record's last two thirds, so it costs little beside the run that made it.
GrowthRegimeAssessment assessGrowthRegime(const GrowthRecord& record,
                                          const EvaluationInputs& inputs);

/// Growth rate, as a part of continuous growth, of a face at its roughening point
/// under the general supercooling g (measured, see the function's comment).
double roughFaceRateParts(double generalSupercooling);

/// Mean roughness, in layers, of a face at its roughening point grown under the
/// supercooling g on a W x W field (measured, see the function's comment).
double roughFaceRoughness(int fieldW, double generalSupercooling);

/// The activation d ln R / d ln g that a rate part R under the supercooling g
/// implies (calibrated, see the function's comment); kMaxActivation for R <= 0.
double rateActivation(double rateParts, double generalSupercooling);

/// "continuous", "intermediate", "nucleation" or "undetermined".
const char* growthRegimeWord(GrowthRegime regime);

/// What decided the regime in a few words, e.g. "strongly activated".
const char* growthRegimeReason(RegimeReason reason);

/// What decided the regime and the measured numbers behind it, e.g.
/// "strongly activated: activation 1.90, rate 0.168 (0.665 at roughening), roughness
/// 0.59 (1.30 at roughening), layer oscillation 0.07, 4.2 layers grown". Rates are
/// parts of continuous growth, roughness in layers.
std::string growthRegimeEvidence(const GrowthRegimeAssessment& assessment);

/// The word followed by the evidence in brackets.
std::string growthRegimeText(const GrowthRegimeAssessment& assessment);

}  // namespace quorvane
