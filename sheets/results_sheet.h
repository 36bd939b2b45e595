#pragma once
/// The Results panel without its widget: the current run's record evaluated
/// as it stands and the lines of its status block, in the data the run ran
/// with. The panel refreshes it when it draws a frame (during a run, when the
/// run loop's redraw hook asks for one); nothing here changes the run.

#include <vector>

#include "engine/run_evaluation.h"
#include "engine/status_block.h"
#include "experiments/session.h"

namespace quorvane {

class ResultsSheet {
  public:
    explicit ResultsSheet(Session& session) : session_(session) {}

    /// Evaluates the record as it stands now.
    void refresh();
    const RunEvaluation& evaluation() const { return evaluation_; }
    /// The status block's lines of the last refresh.
    const std::vector<StatusLine>& statusLines() const { return lines_; }

  private:
    Session& session_;
    RunEvaluation evaluation_;
    std::vector<StatusLine> lines_;
};

/// The record of the current run evaluated as it stands, in the data the run
/// ran with; the state itself is not touched.
RunEvaluation currentEvaluation(const AppState& state, Platform& platform);

/// How the status block shows the numbers of a run with these data.
StatusDisplay statusDisplay(const PhysicalData& data, const RunSettings& run);

}  // namespace quorvane
