#pragma once
/// The commands the window answers from any panel: F5 starts a new single
/// simulation and Shift+F5 stops or resumes it, as the Run panel's Action menu
/// and its Stop/Resume button do; Ctrl+PgDown and Ctrl+Tab go to the next
/// panel, Ctrl+PgUp and Ctrl+Shift+Tab to the one before, the focus to the
/// first control of the panel shown.

namespace quorvane {

class MainWindow;

/// Adds the keys to `window`; they act while it is the active window.
void addWindowCommands(MainWindow& window);

/// Moves to the panel `step` tabs on (1 the next, -1 the one before), round
/// from the last to the first.
void stepPanel(MainWindow& window, int step);

}  // namespace quorvane
