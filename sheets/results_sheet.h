#pragma once
/// The Results panel without its widget: the current run's record evaluated
/// as it stands and the lines of its status block, in the data the run ran
/// with. The panel refreshes it when it draws a frame (during a run, when the
/// run loop's redraw hook asks for one); nothing here changes the run. A long
/// run is evaluated anew at most twice a second while it grows, so that a frame
/// does not cost more as the record grows; a finished run at every frame.

#include <chrono>
#include <cstddef>
#include <vector>

#include "engine/run_evaluation.h"
#include "experiments/session.h"
#include "sheets/status_lines.h"

namespace quorvane {

class ResultsSheet {
  public:
    explicit ResultsSheet(Session& session) : session_(session) {}

    /// Evaluates the record as it stands now (during a long run, as it stood at
    /// most half a second ago).
    void refresh();
    const RunEvaluation& evaluation() const { return evaluation_; }
    /// The status block's lines of the last refresh.
    const std::vector<StatusLine>& statusLines() const { return lines_; }

    /// Records up to this many entries are evaluated at every frame: that costs
    /// less than drawing them.
    static constexpr std::size_t kEveryFrameEntries = 100000;

  private:
    bool dueForEvaluation() const;

    Session& session_;
    std::chrono::steady_clock::time_point evaluatedAt_;
    std::size_t evaluatedEntries_ = 0;
    bool evaluated_ = false;
    RunEvaluation evaluation_;
    std::vector<StatusLine> lines_;
};

/// The record of the current run evaluated as it stands, in the data the run
/// ran with; the state itself is not touched.
RunEvaluation currentEvaluation(const AppState& state, Platform& platform);

/// How the status block shows the numbers of a run with these data.
StatusDisplay statusDisplay(const PhysicalData& data, const RunSettings& run);

}  // namespace quorvane
