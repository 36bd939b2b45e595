#include "ui/run_panel.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <algorithm>
#include <span>

#include "experiments/plan_commands.h"
#include "reports/study_report.h"
#include "sheets/plan_marks.h"
#include "ui/experiment_dialog.h"
#include "ui/full_run_setting.h"
#include "ui/panel_access.h"
#include "ui/plan_list.h"
#include "ui_run_panel.h"
#include "views/run_panel_picture.h"

namespace quorvane {

namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

/// The edits and check boxes of the run values, by the data-file key each sets.
struct Binding {
    int id;
    const char* key;
    const char* label;  ///< how a refusal names the field
};
constexpr Binding kEdits[] = {
    {kFieldWidthEdit, "N_field_W", "Width"},
    {kFieldHeightEdit, "N_field_H", "Height"},
    {kJumpsPerStepEdit, "N_in_per_step", "N"},
    {kLayersLimitEdit, "Layers_limit", "the layer limit"},
    {kTimeLimitEdit, "Time_simulattion_limit", "the time limit"},
    {kFirstLayerLimitEdit, "Time_simulattion_limit_first_layer", "the first layer time limit"},
};
/// P and the time step follow from N, the field and the data: shown, not typed.
constexpr Binding kShown[] = {{kProbabilityEdit, "Prob_in_at_step", "P"},
                              {kTimeStepEdit, "Time_step", "the time step"}};
constexpr std::span<const Binding> kEditLists[] = {kEdits, kShown};
constexpr Binding kChecks[] = {
    {kNeverStopCheck, "Is_any_limits", "Never stop"},
    {kLayersLimitCheck, "Is_layers_limit", "After"},
    {kTimeLimitCheck, "Is_time_simulattion_limit", "After"},
    {kFirstLayerLimitCheck, "Is_time_simulattion_limit_first_layer", "After"},
    {kPorosityCheck, "Is_includes_porosity", "concider hole defects phenomena"},
};
constexpr int kButtons[] = {kSetDefaultButton, kActionButton, kPauseResumeButton, kPlanEditButton,
                            kPlanFileButton};

constexpr int kPanelWidth = 1170;
constexpr int kPanelHeight = 690;

}  // namespace

RunPanel::RunPanel(AppState& state, Session& session, Platform& platform, QWidget* parent)
    : QWidget(parent),
      state_(state),
      session_(session),
      platform_(platform),
      sheet_(session),
      form_(std::make_unique<Ui::RunPanel>()) {
    form_->setupUi(this);
    // The panel's controls keep the desktop's own font, whatever large face
    // the tab captions above them use.
    const QFont desktop = QApplication::font();
    QFont own(desktop.family(), desktop.pointSize() > 0 ? desktop.pointSize() : 9);
    own.setWeight(QFont::Normal);
    own.setItalic(false);
    setFont(own);
    bindControls();
    prepareRunPanel(*this);
    buildMenus();
    researchDialog_ = new FullRunSetting(state_.research, platform_, this);
    hookCore();
    refreshDisplayValues();
    planList()->refill();
    applyControlState();
    fitHeight();
    resize(minimumSize());
}

RunPanel::~RunPanel() = default;

PlanList* RunPanel::planList() const {
    return form_->list1048;
}

void RunPanel::fitHeight() {
    // A plan of many kinds needs more room under its list than the panel has.
    setMinimumSize(kPanelWidth, std::max(kPanelHeight, valueMarksBottom() + 20));
    if (height() < minimumHeight()) resize(width(), minimumHeight());
}

void RunPanel::bindControls() {
    for (std::span<const Binding> list : kEditLists)
        for (const Binding& b : list) {
            auto* edit = findChild<QLineEdit*>(QString("edit%1").arg(b.id));
            controls_[b.id] = edit;
            connect(edit, &QLineEdit::returnPressed, this, &RunPanel::pressEnter);
            connect(edit, &QLineEdit::editingFinished, this, [this] {
                if (state_.runState.controlsEnabled) takeEdits();
            });
        }
    for (const Binding& c : kChecks) {
        auto* box = findChild<QCheckBox*>(QString("check%1").arg(c.id));
        controls_[c.id] = box;
        const std::string key = c.key;
        const int id = c.id;
        connect(box, &QCheckBox::toggled, this, [this, key, id](bool on) {
            sheet_.setFlag(key, on);
            if (id == kNeverStopCheck) neverStopToggled();
        });
    }
    for (int id : kButtons) controls_[id] = findChild<QPushButton*>(QString("button%1").arg(id));
    connect(form_->button1049, &QPushButton::clicked, this, &RunPanel::pressPauseResume);
    connect(form_->button1039, &QPushButton::clicked, this, &RunPanel::pressSetDefault);
    planList()->setPlan(state_.plan);
    controls_[kPlanListId] = planList();
    connect(planList(), &PlanList::planEdited, this, [this] { update(); });
}

void RunPanel::hookCore() {
    // The main window and the other panels may hang their own work on the same
    // hooks: each is chained, never replaced, and outlives the panel safely.
    QPointer<RunPanel> self(this);
    auto chain = [](std::function<void()>& hook, std::function<void()> mine) {
        std::function<void()> before = hook;
        hook = [before, mine] {
            if (before) before();
            mine();
        };
    };
    chain(session_.loop.hooks.controlsChanged, [self] {
        if (self) self->applyControlState();
    });
    chain(session_.loop.hooks.repaintAll, [self] {
        if (self) self->update();
    });
    chain(session_.runner.hooks.refillPlanList, [self] {
        if (!self) return;
        self->planList()->refill();
        self->update();
    });
    chain(session_.runner.hooks.repaint, [self] {
        if (!self) return;
        self->refreshDisplayValues();
        self->update();
    });
}

QWidget* RunPanel::control(int id) const {
    auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

QAction* RunPanel::action(int commandId) const {
    auto it = actions_.find(commandId);
    return it == actions_.end() ? nullptr : it->second;
}

void RunPanel::refreshDisplayValues() {
    sheet_.refreshDerived();
    display_.timeUnitName = sheet_.timeUnit();
    describeRunPanel(*this);
    showRunSettings();
    update();
}

void RunPanel::writeEdit(int id, const std::string& text) {
    auto* edit = static_cast<QLineEdit*>(controls_[id]);
    shown_[id] = qs(text);
    if (edit->text() != shown_[id]) edit->setText(shown_[id]);
}

void RunPanel::showRunSettings() {
    for (std::span<const Binding> list : kEditLists)
        for (const Binding& b : list) writeEdit(b.id, sheet_.fieldText(b.key));
    for (const Binding& c : kChecks) {
        auto* box = static_cast<QCheckBox*>(controls_[c.id]);
        const QSignalBlocker block(box);
        box->setChecked(sheet_.fieldText(c.key) == "1");
    }
    neverStopToggled();
}

bool RunPanel::takeEdits() {
    std::vector<RunSheet::Typed> typed;
    for (const Binding& b : kEdits) {
        const QString text = static_cast<QLineEdit*>(controls_[b.id])->text();
        if (shown_.count(b.id) && shown_[b.id] == text) continue;  // not typed in
        typed.push_back({b.key, b.label, text.toStdString()});
    }
    const std::string refused = sheet_.take(typed);
    refreshDisplayValues();
    if (refused.empty()) return true;
    platform_.message(refused);
    return false;
}

void RunPanel::applyControlState() {
    const RunState& rs = state_.runState;
    const bool free = rs.controlsEnabled;
    for (auto& [id, widget] : controls_)
        if (id != kPauseResumeButton) widget->setEnabled(free);
    form_->button1049->setText(pauseButtonCaption(rs));
    form_->button1049->setEnabled(true);
    if (free) refreshDisplayValues();
    update();
}

void RunPanel::neverStopToggled() {
    const bool never = form_->check1043->isChecked();
    for (int id : {kLayersLimitEdit, kTimeLimitEdit, kFirstLayerLimitEdit})
        controls_[id]->setVisible(!never);
    update();
}

void RunPanel::pressEnter() {
    planList()->commitEdit();
    takeEdits();
}

void RunPanel::pressPauseResume() {
    // During a pause the user may have edited the rates; a resume takes them.
    if (state_.runState.controlsEnabled) {
        planList()->commitEdit();
        if (!takeEdits()) return;
    }
    session_.loop.PressPauseResume();
    applyControlState();
}

void RunPanel::pressSetDefault() {
    session_.loop.SetDefaultRunSettings();
    refreshDisplayValues();
}

void RunPanel::showEvent(QShowEvent* event) {
    refreshDisplayValues();
    QWidget::showEvent(event);
}

void RunPanel::planChanged() {
    // An opened plan may have brought its own data file.
    refreshDisplayValues();
    planList()->refill();
    fitHeight();
    update();
}

void RunPanel::openResearchSettings() {
    researchDialog_->loadControls();
    researchDialog_->exec();
}

void RunPanel::openGeneralExperiment() {
    ExperimentDialog dialog(state_.randomArguments, platform_, this);
    if (dialog.exec() == QDialog::Accepted) session_.runner.GeneralExperiment();
}

/// The commands that need no run values: plan editing, the summary, the
/// dialogs and the report. True when `id` was one of them.
bool RunPanel::runMenuCommand(int id) {
    if (runPlanCommand(id, planList()->selectedRow(), state_.plan, session_.planFile,
                       session_.planHost)) {
        planChanged();
    } else if (id == kCmdCreateSummary) {
        session_.createSummaryReports();
    } else if (id == kCmdResearchSettings) {
        openResearchSettings();
    } else if (id == kCmdSaveRunReport) {
        if (saveRunReport) saveRunReport();
    } else if (id == kSaveStudyReportCommand) {
        if (saveStudyReport) saveStudyReport();
    } else {
        return false;
    }
    return true;
}

void RunPanel::runCommand(int id) {
    planList()->commitEdit();
    if (runMenuCommand(id)) return;
    // Every run starts from what the panel shows, and not over a refused value.
    if (!takeEdits()) return;
    ExperimentRunner& runner = session_.runner;
    switch (id) {
        case kCmdStartSingle:
            session_.loop.StartNewSingleSimulation();
            break;
        case kCmdRunFullSingle:
            runner.RunFullSingleRun();
            break;
        case kCmdResumeRun:
            session_.loop.ResumeRun();
            break;
        case kCmdStartExperiment:
            runner.StartExperiment(false);
            break;
        case kCmdTestPlan:
            runner.StartExperiment(true);
            break;
        case kCmdResumeExperiment:
            if (session_.saidStatus) session_.saidStatus(resumeExperimentText(state_.runState));
            runner.ResumeExperiment();
            break;
        case kCmdFullResearch:
            runner.FullResearchForShape();
            break;
        case kCmdGeneralExperiment:
            openGeneralExperiment();
            break;
        default:
            return;
    }
    applyControlState();
    planList()->refill();
}

int RunPanel::valueMarksBottom() const {
    return views::planMarksBottom(planList()->geometry(), state_.plan.parameters().size());
}

void RunPanel::paintEvent(QPaintEvent*) {
    auto at = [this](int id) { return controls_.at(id)->geometry(); };
    views::RunPanelPictureInputs in;
    in.places = {at(kFieldWidthEdit),   at(kFieldHeightEdit), at(kJumpsPerStepEdit),
                 at(kProbabilityEdit),  at(kTimeStepEdit),    at(kNeverStopCheck),
                 at(kLayersLimitEdit),  at(kTimeLimitEdit),   at(kFirstLayerLimitEdit),
                 planList()->geometry()};
    in.limitsShown = !form_->check1043->isChecked();
    in.timeUnit = display_.timeUnitName;
    in.marks = planMarkRows(state_.plan);
    const auto& chart = sheet_.probabilityChart();
    in.chart = chart ? &*chart : nullptr;
    in.chartArea = QRect(kProbabilityChartX, kProbabilityChartY, kProbabilityChartWidth,
                         kProbabilityChartHeight);
    in.font = font();
    in.text = palette().color(QPalette::WindowText);
    QPainter p(this);
    views::paintRunPanelPicture(p, in);
}

}  // namespace quorvane
