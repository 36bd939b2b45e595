#pragma once
/// Where a run stands: step count, the flags that the run loop, the Pause/Resume
/// button and the experiment drivers use to talk to each other, and the wall
/// clock of the run.

#include <cstdint>
#include <string>

namespace quorvane {

/// What the Pause/Resume button (control 1049) does when pressed: stop the
/// run, or resume it.
enum class PauseButton { Stop, Resume };

/// A run is capped at this many steps; the loop then ends silently.
inline constexpr int kMaxRunSteps = 10'000'000;

struct RunState {
    int step_count = 0;        ///< steps of the current run; survives pauses
    bool runFlag = false;      ///< the loop may continue; cleared to ask for a stop
    bool loopActive = false;   ///< the loop function is executing
    bool finished = false;     ///< the run is halted (pause, limit end, interruption)
    int endReason = 0;         ///< 1: time or distance limit; 4: first layer or rate check
    bool interrupted = false;  ///< ended by closing, or by a pause with messages pending
    bool experimentFlag = false;
    bool seriesFlag = false;
    bool paused = false;
    /// The run was started as a single simulation (not by an experiment driver).
    bool singleSimulation = true;
    /// Test mode of the plan experiment: each full run becomes a 500 ms pause.
    bool testMode = false;

    std::int64_t startTime = 0;  ///< wall clock, seconds
    std::int64_t endTime = 0;
    std::int64_t elapsedSeconds = 0;
    int elapsedRemainderSeconds = 0;
    double elapsedMinutes = 0;

    /// Armed by a full single run: also end when the run's rate is implausible.
    bool rateCheckArmed = false;
    double rateCheckValue = 0;

    PauseButton pauseButton = PauseButton::Stop;
    /// The editing controls of the panels are enabled (no run holds them).
    bool controlsEnabled = true;

    /// Log rows that could not be written during this process: never silent.
    int logFailures = 0;
    /// Times the plan file could not be rewritten before a run.
    int planWriteFailures = 0;
    /// Times the plan file, written before a run, could not be put in place
    /// after it: it still names the combination that has run.
    int planAdvanceFailures = 0;
    /// Rows written to the log during this process (runs and reduced rows).
    int rowsLogged = 0;
    /// Runs that could not start because the engine refused the data.
    int refusedRuns = 0;
    /// The log code of the last row the loop wrote, -1 for none yet.
    int lastLogCode = -1;
};

}  // namespace quorvane
