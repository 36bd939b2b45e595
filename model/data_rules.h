#pragma once
/// The rules that keep the physical data consistent while the user edits it:
/// what an edit of one field recomputes, the temperature and concentration
/// rules, "Estimate", the default frequency and the display settings. The
/// Data panel and the command-line runner both drive the data through here.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/platform.h"
#include "model/data_fields.h"
#include "model/physical_data.h"
#include "model/run_settings.h"

namespace quorvane {

inline constexpr const char* kFixRatioMessage = "Do fix vertiges control";

/// What the panel hands to Update: the three surface-shape texts as they
/// stand in their fields, and the field holding the focus with its text.
struct UpdateRequest {
    std::string edgesText;
    std::string verticesText;
    std::string bondText;
    std::optional<DataField> focus;
    std::string focusText;
};
/// A request carrying the record's own texts and no focus.
UpdateRequest requestFromData(const PhysicalData& d);

/// Update: parses the three texts (a text that is no finite number, or a
/// negative one, is refused with "Do fix vertiges control" and keeps its last
/// number, written as its text), reformats the accepted ones with "%.3g",
/// remembers dG' as the previous dG', reads the focused field's text with
/// atof semantics (a text that is no finite number reads as 0), and
/// recomputes P and the time step. Returns the refused fields in the order
/// checked; the panel puts the focus into the first.
std::vector<DataField> applyUpdate(PhysicalData& d, RunSettings& run, const UpdateRequest& request,
                                   Platform& platform);

/// a, b or c at or below 0 becomes 1.
void repairSizes(PhysicalData& d);

/// The repaint's recomputation: repairs the sizes, then recomputes what
/// depends on the focused field. Returns true when the edit cleared the
/// default-frequency flag (a typed jump frequency), so the nu0 field must be
/// enabled again.
bool recomputeForField(PhysicalData& d, std::optional<DataField> focus);

// The temperature rules, compared in kelvin, results in the current scale.
void applyMeltTemperatureRule(PhysicalData& d);
/// Uses the concentration as it stood before the edit.
void applyLiquidusTemperatureRule(PhysicalData& d);
void applyTemperatureRule(PhysicalData& d);
/// The typed concentration within 0.01..1 (as a fraction), with the liquidus
/// that belongs to it.
void applyConcentrationRule(PhysicalData& d);

/// "Estimate": sigma = 0.5 * bond length * dHv, then sigma'.
void estimateSurfaceEnergy(PhysicalData& d);
/// The "default" check box: nu0 from the molecule size while on. The nu0
/// field is editable only while it is off.
void setDefaultFrequency(PhysicalData& d, bool on);
/// The accuracy up-down: one digit more or less, within 1..20.
void stepAccuracy(PhysicalData& d, int delta);
/// Chart label "V" (0), "R" (1) or "P" (2); the last curve shown stays on.
void toggleChartCurve(PhysicalData& d, int curve);
/// Chart labels "In" (x 1.05, at most 0.999) and "Out" (x 0.95, at least 0.01).
void zoomChartIn(PhysicalData& d);
void zoomChartOut(PhysicalData& d);

/// What typing a text into one field and pressing Enter did.
struct EditOutcome {
    std::vector<DataField> refusedFields;  ///< texts refused, the focus goes to the first
    bool frequencyFlagCleared = false;
    bool theoryComputed = false;  ///< false: the temperature was too close to 0 K
};

/// The three surface-shape texts as their fields show them (typed, perhaps
/// not yet entered).
struct ShapeTexts {
    std::string edges;
    std::string vertices;
    std::string bond;
};

/// The user typed `text` into `field` and pressed Enter: Update, the
/// repaint's recomputation, the theory, and P and the time step again with
/// the jump frequency the edit may have changed. Without a field (Enter on a
/// field as shown) the shape texts are parsed again and no number changes.
/// Update reads the shape texts as `shown`, or as the data hold them. A
/// temperature at or below absolute zero (or no number) is refused with
/// "Temperatura is too close to absolute zerro.": the field keeps its value
/// and comes first among the refused fields.
EditOutcome enterFieldText(PhysicalData& d, RunSettings& run, std::optional<DataField> field,
                           std::string_view text, Platform& platform,
                           const ShapeTexts* shown = nullptr);
/// The same by data-file key ("Size_A=7"); nullopt, with nothing changed,
/// for a key that names no field.
std::optional<EditOutcome> enterDataKeyValue(PhysicalData& d, RunSettings& run,
                                             std::string_view key, std::string_view text,
                                             Platform& platform);

}  // namespace quorvane
