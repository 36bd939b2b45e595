#pragma once
/// The Run panel (`m_Action`): the field size, the molecules in per step and
/// the time step; the stop conditions; the experiment plan with its Edit and
/// File menus; the Action menu that starts single runs and experiments; the
/// Stop/Resume button; and the chart of the incorporation probabilities.
/// Its form places the controls; its sheet holds the rules of the values;
/// every command goes to the core (the run loop, the experiment runner, the
/// plan and its file).

#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "common/platform.h"
#include "experiments/app_state.h"
#include "experiments/session.h"
#include "sheets/run_sheet.h"

class QAction;
class QMenu;

namespace Ui {
class RunPanel;
}

namespace quorvane {

class PlanList;
class FullRunSetting;

// Controls of the Run panel.
inline constexpr int kFieldWidthEdit = 1033;
inline constexpr int kFieldHeightEdit = 1034;
inline constexpr int kJumpsPerStepEdit = 1035;
inline constexpr int kProbabilityEdit = 1036;
inline constexpr int kTimeStepEdit = 1037;
inline constexpr int kHiddenDefaultButton = 1038;
inline constexpr int kSetDefaultButton = 1039;
inline constexpr int kNeverStopCheck = 1043;
inline constexpr int kLayersLimitCheck = 1044;
inline constexpr int kLayersLimitEdit = 1045;
inline constexpr int kTimeLimitCheck = 1046;
inline constexpr int kTimeLimitEdit = 1047;
inline constexpr int kPauseResumeButton = 1049;
inline constexpr int kPlanFileButton = 1050;
inline constexpr int kActionButton = 1051;
inline constexpr int kPlanEditButton = 1052;
inline constexpr int kFirstLayerLimitCheck = 1053;
inline constexpr int kFirstLayerLimitEdit = 1054;
inline constexpr int kPorosityCheck = 1087;

/// Where the incorporation probability chart stands on the panel, and its size.
inline constexpr int kProbabilityChartX = 20;
inline constexpr int kProbabilityChartY = 340;
inline constexpr int kProbabilityChartWidth = 570;
inline constexpr int kProbabilityChartHeight = 330;

/// The values the panel shows beside its edits.
struct RunPanelDisplay {
    std::string timeUnitName;  ///< of the time step, e.g. "s"
};

class RunPanel : public QWidget {
    Q_OBJECT
  public:
    RunPanel(AppState& state, Session& session, Platform& platform, QWidget* parent = nullptr);
    ~RunPanel() override;

    /// P and the time step from the current data, then every value shown
    /// again. The main window calls this before the panel is shown and when
    /// the data change.
    void refreshDisplayValues();
    const RunPanelDisplay& display() const { return display_; }
    /// Writes the run settings into the edits and check boxes.
    void showRunSettings();
    /// Reads the typed edits into the run settings; false (with the program's
    /// message, the values kept) when a typed value could not be taken.
    bool takeEdits();

    /// Runs a command of the Action, Edit or File menu (or their Tools and Add
    /// submenus) by its identifier, as choosing it does.
    void runCommand(int commandId);
    /// The menu entry of a command, nullptr for an unknown one.
    QAction* action(int commandId) const;

    QMenu* actionMenu() const { return actionMenu_; }
    QMenu* editMenu() const { return editMenu_; }
    QMenu* fileMenu() const { return fileMenu_; }
    PlanList* planList() const;
    FullRunSetting* researchDialog() const { return researchDialog_; }
    /// A control by its identifier (edits, check boxes, buttons).
    QWidget* control(int id) const;
    RunSheet& sheet() { return sheet_; }

    /// "Save run as HTML report" (Tools): the reports module fills it; while
    /// it is empty the menu entry stays disabled.
    std::function<void()> saveRunReport;
    /// "Study report…" (Tools, beside the summary): the report of the study in
    /// the current log; disabled while empty, as the run report is.
    std::function<void()> saveStudyReport;

    /// The plan changed outside the panel's menus (a plan kept from the last
    /// start): the list, its marks and the panel's height follow.
    void planChanged();

    /// Where the value marks of the plan end (the plan frame closes 7 pixels below).
    int valueMarksBottom() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void bindControls();
    void buildMenus();
    void buildActionMenu();
    void buildPlanMenus();
    void hookCore();
    void writeEdit(int id, const std::string& text);
    void applyControlState();
    void fitHeight();
    void pressPauseResume();
    void pressSetDefault();
    void pressEnter();
    void neverStopToggled();
    void openGeneralExperiment();
    void openResearchSettings();
    bool runMenuCommand(int id);
    QAction* addCommand(QMenu* menu, const char* text, int id);

    AppState& state_;
    Session& session_;
    Platform& platform_;
    RunSheet sheet_;
    std::unique_ptr<Ui::RunPanel> form_;
    RunPanelDisplay display_;
    std::map<int, QWidget*> controls_;
    std::map<int, QAction*> actions_;
    /// The texts last written into the run edits: an edit still showing its
    /// text was not typed in, and its value is not read back rounded.
    std::map<int, QString> shown_;
    QMenu* actionMenu_ = nullptr;
    QMenu* editMenu_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    FullRunSetting* researchDialog_ = nullptr;
};

/// The panel under its name in the program's design.
using m_Action = RunPanel;

}  // namespace quorvane
