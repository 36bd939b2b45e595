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
        case RegimeReason::NoNucleusSize:
            return "no_nucleus_size";
        case RegimeReason::SingleSiteNucleus:
            return "single_site_nucleus";
        case RegimeReason::SmallNucleus:
            return "small_nucleus";
        case RegimeReason::LargeNucleus:
            return "large_nucleus";
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
    // The evidence: what was measured and what the theory says.
    out["judged_layers"] = a.judgedLayers;
    out["rate_parts"] = a.rateParts;
    out["rough_face_rate_parts"] = a.roughFaceRateParts;
    out["nucleus_radius"] = a.nucleusRadius;
    return out;
}

}  // namespace quorvane::python
