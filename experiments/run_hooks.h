#pragma once
/// What the run loop asks of the windows above it. Every hook may be left
/// empty: the batch runner and the tests run without any of them.

#include <functional>

namespace quorvane {

struct RunHooks {
    /// Redraw the surface view and the Results panel (each only if visible).
    std::function<void()> redrawSurface;
    std::function<void()> redrawResults;
    /// Post a repaint to every window; the program waits 100 ms between two.
    std::function<void()> repaintAll;
    /// The panels' editing controls are enabled (true) or held by a run (false),
    /// and the Pause/Resume button's caption changed.
    std::function<void()> controlsChanged;
    /// A new field: the surface view resets its viewpoint.
    std::function<void()> resetViewpoint;
    /// The experiment runner continues its plan from the current values
    /// ("Resume experiment"); filled by the runner.
    std::function<void()> resumeExperiment;
    /// The Pause/Resume button handed over to the experiment runner's resume.
    std::function<void()> experimentButtonResume;
    /// Called once per step with the step count (progress displays).
    std::function<void(int)> stepDone;
    /// A run halted: with the log code it wrote, or -1 for a pause without a row.
    std::function<void(int)> runEnded;
};

}  // namespace quorvane
