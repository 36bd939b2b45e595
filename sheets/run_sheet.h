#pragma once
/// The Run panel's values without their widgets: the field size, the molecules
/// in per step, the time step and the stop conditions, each set by its
/// data-file key with one set of bounds and one message whether the Run panel
/// or the batch runner's --set sets it; the derived P and time step as shown;
/// and the probability chart's inputs, made once per change.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "experiments/session.h"
#include "sheets/engine_charts.h"

namespace quorvane {

class RunSheet {
  public:
    explicit RunSheet(Session& session) : session_(session) {}

    /// True for the keys of the run settings (field, N, P, time step, limits,
    /// their flags and the hole defects).
    static bool owns(std::string_view key);

    /// Sets a run value from its text: "" when taken, else why not ("the value
    /// must be ..."), the value then kept. P and the time step follow N and
    /// the field (P = N / (W*H)); a typed P sets N for the field.
    std::string set(std::string_view key, std::string_view text);
    /// A flag (a check box): 1 or 0.
    void setFlag(std::string_view key, bool on);

    /// The texts typed into the panel's fields, by key, with the panel's name
    /// of each field. Returns the message naming the texts that were refused
    /// ("" when every one was taken).
    struct Typed {
        std::string key;
        std::string label;
        std::string text;
    };
    std::string take(const std::vector<Typed>& typed);

    /// A run value as its field shows it: "%d" for the field size, "%.4g" else.
    std::string fieldText(std::string_view key) const;
    /// P and the time step from the current data, unless a run holds the
    /// controls (a running loop keeps the time step it started with).
    void refreshDerived();
    /// The short name of the current time unit (the time step's unit).
    std::string timeUnit() const;
    /// The engine's probabilities per step for the data and settings as they stand.
    const std::optional<ProbabilityChart>& probabilityChart() const {
        return charts_.get(session_.state.data, session_.state.run).probability;
    }

  private:
    Session& session_;
    mutable EngineChartsCache charts_;
};

/// The caption of the Pause/Resume button for the run state: "Stop" or "Resume".
const char* pauseButtonCaption(const RunState& state);

/// The main window's status line when a run ends: how far the face grew and
/// why it stopped (`code` the run log's event, -1 for the Stop button).
std::string runEndedText(const AppState& state, int code);

/// What "Resume experiment" goes on with: the test walk of the plan or the
/// experiment itself, whichever was stopped.
std::string resumeExperimentText(const RunState& state);

}  // namespace quorvane
