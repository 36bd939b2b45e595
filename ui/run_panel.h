#pragma once
/// The Run panel (`m_Action`): the field size, the molecules in per step and
/// the time step; the stop conditions; the experiment plan with its Edit and
/// File menus; the Action menu that starts single runs and experiments; the
/// Stop/Resume button; and the chart of the incorporation probabilities.
/// Every command goes to the core (the run loop, the experiment runner, the
/// plan and its file); the panel shows and edits what they hold.

#include <QWidget>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "common/platform.h"
#include "experiments/app_state.h"
#include "experiments/session.h"
#include "views/formula_text.h"

class QAction;
class QCheckBox;
class QLineEdit;
class QMenu;
class QPushButton;

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

/// The values the panel shows beside its edits, refreshed from the data before
/// the panel is shown.
struct RunPanelDisplay {
    double jumpFrequency = 0;   ///< nu_s, molecules per column per second
    double timeUnitFactor = 1;  ///< time units per second
    std::string timeUnitName;   ///< e.g. "s"
    double probability = 0;     ///< P
    double jumpsPerStep = 0;    ///< N = P*W*H
    double timeStep = 0;        ///< P / nu_s in the current time unit
};

/// The texts a user typed into the run edits; nullopt for an edit not typed in.
struct RunEditTexts {
    std::optional<std::string> width, height, jumps;
    std::optional<std::string> layersLimit, timeLimit, firstLayerLimit;
};

/// Takes the typed texts into the run settings: the field as whole numbers of
/// at least 1 molecule, N and the limits as numbers of at least 0. A text that
/// is no such number leaves its value as it was and is named in the returned
/// list (empty when every text was taken). P and the time step follow N and
/// the field (P = N / (W*H)).
std::vector<std::string> takeRunEdits(const RunEditTexts& texts, const PhysicalData& data,
                                      RunSettings& run);

/// The message for typed run values that could not be taken; names them.
std::string runEditRefusalMessage(const std::vector<std::string>& names);

class RunPanel : public QWidget {
    Q_OBJECT
  public:
    RunPanel(AppState& state, Session& session, Platform& platform, QWidget* parent = nullptr);
    ~RunPanel() override;

    /// The cached display values from the current data: jump frequency, time
    /// unit and the time step they give. The main window calls this before the
    /// panel is shown.
    void refreshDisplayValues();
    const RunPanelDisplay& display() const { return display_; }
    /// Writes the run settings into the edits and check boxes.
    void showRunSettings();
    /// Reads the edits into the run settings; false (with the program's
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
    PlanList* planList() const { return planList_; }
    FullRunSetting* researchDialog() const { return researchDialog_; }
    /// A control by its identifier (edits, check boxes, buttons).
    QWidget* control(int id) const;

    /// "Save run as HTML report" (Tools): the reports module fills it; while
    /// it is empty the menu entry stays disabled.
    std::function<void()> saveRunReport;

    /// Where the value marks of the plan end (the plan frame closes 7 pixels below).
    int valueMarksBottom() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    /// The cached values and the P and time step edits from the data and the run.
    void syncDerivedValues();
    void writeEdit(int id, const std::string& text);
    void buildControls();
    void buildMenus();
    void hookCore();
    void applyControlState();
    void planChanged();
    void fitHeight();
    void pressPauseResume();
    void pressSetDefault();
    void pressEnter();
    void neverStopToggled();
    void openGeneralExperiment();
    void openResearchSettings();
    QAction* addCommand(QMenu* menu, const char* text, int id);

    void drawFrames(QPainter& p);
    void drawLabels(QPainter& p);
    void drawValueMarks(QPainter& p);
    void drawProbabilityChart(QPainter& p);

    AppState& state_;
    Session& session_;
    Platform& platform_;
    RunPanelDisplay display_;
    std::map<int, QWidget*> controls_;
    std::map<int, QAction*> actions_;
    /// The texts last written into the run edits: an edit still showing its
    /// text was not typed in, and its value is not read back rounded.
    std::map<int, QString> shown_;
    PlanList* planList_ = nullptr;
    QMenu* actionMenu_ = nullptr;
    QMenu* editMenu_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    FullRunSetting* researchDialog_ = nullptr;
    /// The one typesetter of the panel's labels.
    views::FormulaText formula_;
};

/// The panel under its name in the program's design.
using m_Action = RunPanel;

}  // namespace quorvane
