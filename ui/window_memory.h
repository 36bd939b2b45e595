#pragma once
/// What the window keeps between starts beyond the settings file: its place and
/// size, the panel last shown, and the experiment plan (its rows, where each
/// kind stands, and the files it was saved to). Kept in the program's own
/// QSettings; the settings file of the working folder stays as it is.

#include <QObject>

class QSettings;

namespace quorvane {

class ExperimentPlan;
class MainWindow;
struct PlanPaths;

/// Writes the plan's rows, current values and paths under "plan/".
void savePlan(QSettings& settings, const ExperimentPlan& plan, const PlanPaths& paths);
/// Reads what `savePlan` wrote; false, with the plan untouched, when nothing was.
bool restorePlan(QSettings& settings, ExperimentPlan& plan, PlanPaths& paths);

/// Brings back what the window kept at its last close, and keeps it again when
/// the window closes.
class WindowMemory : public QObject {
  public:
    WindowMemory(MainWindow& window, QSettings& settings);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void restore();
    void save();

    MainWindow& window_;
    QSettings& settings_;
};

}  // namespace quorvane
