#pragma once
/// The settings of a full run: which incorporation probabilities a series
/// tries, whether porosity is simulated, and when an experiment stops early.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "common/platform.h"

namespace quorvane {

// Controls of the dialog "Setting of one experiment of full research".
inline constexpr int kResearchOkButton = 1094;
inline constexpr int kLoopCheckBox = 1095;
inline constexpr int kLoopStartEdit = 1097;
inline constexpr int kLoopStepEdit = 1099;
inline constexpr int kLoopCountEdit = 1101;
inline constexpr int kListCheckBox = 1102;
inline constexpr int kListEdit = 1103;
inline constexpr int kResearchUpdateButton = 1104;
inline constexpr int kInterpolationTermsEdit = 1106;
inline constexpr int kOptimizeCheckBox = 1110;
inline constexpr int kExitEarlyCheckBox = 1111;
inline constexpr int kLayerThresholdEdit = 1112;
inline constexpr int kPorositySchemeCombo = 1114;

// Messages of Update.
inline constexpr const char* kCheckLoopStartMessage = "Check starting point in a loop";
inline constexpr const char* kCheckLoopStepMessage = "Check step value in a loop";
inline constexpr const char* kCheckLoopCountMessage = "Check number steps in a loop";
inline constexpr const char* kNoLoopValuesMessage = "None values in loop";
inline constexpr const char* kTooManyValuesMessage = "Too many values to try";
inline constexpr const char* kCheckListMessage =
    "Check list of probabilities in for experiment values";
inline constexpr const char* kWrongSettingsMessage =
    "There are wrong in settings. Check and try again.";

/// Porosity schemes, in the order of the combo box.
inline constexpr int kNoPorosity = 0;
inline constexpr int kAllWithPorosity = 1;
inline constexpr int kDuplicateWithPorosity = 2;
inline constexpr int kFirstAlsoWithPorosity = 3;
inline constexpr std::array<const char*, 4> kPorositySchemeNames{
    "no porosity", "all with porosity", "dublicate all runs with poricity",
    "run only first run with porosity too"};

/// A list holds at most this many items; a loop is cut to as many values.
inline constexpr int kMaxValuesToTry = 101;
/// A full run tries at most this many probabilities.
inline constexpr int kMaxValuesInSeries = 10;

/// Named by their data-file keys. The texts are kept as typed.
struct ResearchSettings {
    int Values_to_try_as_loop_or_list = 0;  ///< 1: loop, 0: list
    std::string Start_loop_from = "0.001";
    std::string Step_in_loop = "0.001";
    std::string N_steps_in_loop = "4";
    std::string List_of_values_to_try = "0.001,0.0015,0.002";
    int N_terms_inInterpolation = 2;                 ///< 0..10; edited and stored only
    int Sheme_for_running_with_porosity = 1;         ///< 0..3, see kPorositySchemeNames
    int Do_optimize_run_probabilities = 0;           ///< 0/1
    int Do_exit_when_less_than_N_layers_filled = 0;  ///< 0/1
    int Theshold_of_layesr_to_fill = 5;              ///< layers
    /// The value list L (its count is `Number_values_in_array_to_try` in the
    /// data file); rebuilt from the texts by Update and by `reReadValues`.
    std::vector<double> values{0.001, 0.0015, 0.002};

    bool loopMode() const { return Values_to_try_as_loop_or_list != 0; }

    bool operator==(const ResearchSettings&) const = default;
};

/// The loop controls (1096..1101) are enabled in loop mode, the list edit
/// (1103) in list mode.
void setValueSource(ResearchSettings& settings, bool loop);

/// A loop start, loop step or list item: only "0123456789eE." and
/// 1e-10 <= v < 0.5. The value read (atof) goes to `value` either way.
bool isValidProbabilityText(std::string_view text, double& value);
/// A loop count: only "0123456789eE." and below 100 as an integer (atoi).
bool isValidCountText(std::string_view text);

/// The list text cut into items at ",;\t\n", at most kMaxValuesToTry, each
/// trimmed of blanks.
std::vector<std::string> listItems(std::string_view list);

/// Re-read settings: L from the stored texts without validation. Loop: start +
/// i * step for i < count (atof, atof, atoi; nothing for count < 1), keeping
/// the values within 1e-10..0.1 as Update does; list: every item read with
/// atof. Values that are no finite number are left out.
std::vector<double> reReadValues(const ResearchSettings& settings);

/// What Update did: `accepted` when it showed no message; `focus` is the
/// control to put the focus into (0: none).
struct ResearchUpdateOutcome {
    bool accepted = true;
    int focus = 0;
};

/// Update (1104, also Enter and OK): validates the texts of the current mode,
/// rebuilds L, and tells the user what is wrong. A validation failure leaves
/// L as it was in loop mode, and holding the items before the failing one in
/// list mode.
ResearchUpdateOutcome updateResearchSettings(ResearchSettings& settings, Platform& platform);

}  // namespace quorvane
