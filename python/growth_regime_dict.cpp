#include "python/growth_regime_dict.h"

namespace quorvane::python {
namespace {

const char* reasonName(RegimeReason reason) {
    switch (reason) {
        case RegimeReason::TooFewEntries:
            return "too_few_entries";
        case RegimeReason::NoDrivingForce:
            return "no_driving_force";
        case RegimeReason::TooShort:
            return "too_short";
        case RegimeReason::RoughFace:
            return "rough_face";
        case RegimeReason::NearRoughening:
            return "near_roughening";
        case RegimeReason::WeakActivation:
            return "weak_activation";
        case RegimeReason::StrongActivation:
            return "strong_activation";
        case RegimeReason::LayerByLayer:
            return "layer_by_layer";
        case RegimeReason::RoughOnThisField:
            return "rough_on_this_field";
    }
    return "unknown";
}

}  // namespace

py::dict growthRegimeDict(const RunEvaluation& evaluation) {
    const GrowthRegimeAssessment& a = evaluation.regime;
    py::dict out;
    out["regime"] = growthRegimeWord(a.regime);
    out["reason"] = reasonName(a.reason);
    out["text"] = growthRegimeText(evaluation);
    out["evidence"] = growthRegimeEvidence(a);
    // The evidence: what was measured and what the theory says.
    out["judged_layers"] = a.judgedLayers;
    out["rate_parts"] = a.rateParts;
    out["rough_face_rate_parts"] = a.roughFaceRateParts;
    out["grown_layers"] = a.grownLayers;
    out["activation"] = a.activation;
    out["roughness"] = a.roughness;
    out["rough_face_roughness"] = a.roughFaceRoughness;
    out["layer_oscillation"] = a.layerOscillation;
    return out;
}

}  // namespace quorvane::python
