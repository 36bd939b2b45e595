#pragma once
/// The run loop and the commands that start, pause, resume and end a run. The
/// loop runs on the calling thread and lets the platform handle window messages
/// between steps: that is how the Pause/Resume button, menu commands and the
/// closing of the program reach it.

#include <string>

#include "common/platform.h"
#include "experiments/app_state.h"
#include "experiments/run_hooks.h"

namespace quorvane {

class RunController {
  public:
    RunController(AppState& state, Platform& platform) : state_(state), platform_(platform) {}

    RunHooks hooks;

    /// Starts the clock, builds a fresh field and an empty record. False (with a
    /// message, nothing started) when the engine refuses the data.
    bool PrepareNewRun();
    /// "Start new single simulation".
    void StartNewSingleSimulation();
    /// Holds the controls and enters the loop.
    void StartLoop();
    /// Steps until the run flag is cleared, a limit ends the run, the program
    /// closes, or the run reaches its step cap. Callers read the run state.
    int RunLoop();
    /// Sets the run flag and enters the loop, touching nothing else.
    void ContinueLoop();
    /// The Pause/Resume button (control 1049).
    void PressPauseResume();
    /// "Resume run".
    void ResumeRun();
    /// "Set default": a probability and a field size that grow visibly.
    void SetDefaultRunSettings();

    /// Copies data and settings into the current run record (log units).
    void FillRunRecord();
    /// Evaluates the growth record, classifies it and stores the measurements
    /// in the current run record.
    void EvaluateRun();

    /// An extra end condition of the batch runner: end with log code 5 after
    /// this many steps (0: none).
    void setStepLimit(int steps) { stepLimit_ = steps; }

    /// The panels' editing controls are held by a run (take) or free again (release).
    void takeControls();
    void releaseControls();

  private:
    /// A fresh field from the data; false (with the reason shown) when refused.
    bool initEngine();
    void setPauseButton(PauseButton button);
    void notifyControls();
    /// Every 100 steps: the elapsed time and the limits. True when a limit ended the run.
    bool checkLimits();
    void endOnLimit(int logCode, int endReason);
    void endInterrupted();
    void writeLog(int logCode);
    bool pumpMessages();
    /// The run halted by the button (or a driver): recorded, kept for a resume.
    void haltedByButton();
    /// After a step: the limits, the redraws, the messages and the step cap.
    /// True when one of them ended the loop.
    bool endsAfterStep();
    /// The button pressed on a halted run: the rates of the data now, then on.
    void resumeHaltedRun();

    AppState& state_;
    Platform& platform_;
    int stepLimit_ = 0;
};

/// The probability "Set default" proposes for the data: the largest P, from
/// 0.001 down by 1 % steps to 0.0001, at which a molecule touching only its
/// bottom face is at most half as likely to leave as a molecule is to arrive.
double defaultProbability(const PhysicalData& data);

/// The run settings "Set default" proposes: that probability, and a square
/// field of 100 to 310 columns a side on which about five molecules arrive per
/// step; the time step follows.
void proposeDefaultRunSettings(const PhysicalData& data, RunSettings& run);

}  // namespace quorvane
