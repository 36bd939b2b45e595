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
#include <cmath>

#include "common/cformat.h"
#include "experiments/plan_commands.h"
#include "model/probabilities.h"
#include "model/units.h"
#include "ui/experiment_dialog.h"
#include "ui/full_run_setting.h"
#include "ui/plan_list.h"
#include "ui/run_panel_drawing.h"
#include "views/probability_charts.h"

namespace quorvane {

namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

/// Where each control of the panel stands, in pixels of the panel. The frames,
/// labels and units are drawn around these places, so moving a control here
/// moves everything that belongs to it.
struct Place {
    int id;
    int x, y, w, h;
};
constexpr Place kPlaces[] = {
    {kFieldWidthEdit, 105, 70, 80, 24},       {kFieldHeightEdit, 105, 105, 80, 24},
    {kJumpsPerStepEdit, 105, 175, 80, 24},    {kProbabilityEdit, 105, 210, 80, 24},
    {kTimeStepEdit, 105, 245, 80, 24},        {kSetDefaultButton, 35, 297, 110, 28},
    {kNeverStopCheck, 655, 62, 160, 22},      {kLayersLimitCheck, 655, 94, 62, 22},
    {kLayersLimitEdit, 725, 93, 70, 24},      {kTimeLimitCheck, 655, 126, 62, 22},
    {kTimeLimitEdit, 725, 125, 70, 24},       {kFirstLayerLimitCheck, 655, 158, 62, 22},
    {kFirstLayerLimitEdit, 725, 157, 70, 24}, {kPorosityCheck, 655, 194, 320, 22},
    {kActionButton, 645, 250, 110, 30},       {kPauseResumeButton, 765, 250, 110, 30},
    {kPlanEditButton, 645, 304, 80, 28},      {kPlanFileButton, 735, 304, 80, 28},
    {kPlanListId, 645, 340, 505, 200},
};

constexpr int kPanelWidth = 1170;
constexpr int kPanelHeight = 690;

}  // namespace

std::vector<std::string> takeRunEdits(const RunEditTexts& texts, const PhysicalData& data,
                                      RunSettings& run) {
    std::vector<std::string> refused;
    auto whole = [&](const std::optional<std::string>& text, int& value, const char* name) {
        if (!text) return;
        double number = 0;
        if (parseFiniteDouble(*text, number) && number >= 1 && number <= 1e6 &&
            number == std::floor(number)) {
            value = static_cast<int>(number);
        } else {
            refused.push_back(name);
        }
    };
    auto real = [&](const std::optional<std::string>& text, double& value, const char* name) {
        if (!text) return;
        double number = 0;
        if (parseFiniteDouble(*text, number) && number >= 0) {
            value = number;
        } else {
            refused.push_back(name);
        }
    };
    whole(texts.width, run.N_field_W, "Width");
    whole(texts.height, run.N_field_H, "Height");
    real(texts.jumps, run.N_in_per_step, "N");
    real(texts.layersLimit, run.Layers_limit, "the layer limit");
    real(texts.timeLimit, run.Time_simulattion_limit, "the time limit");
    real(texts.firstLayerLimit, run.Time_simulattion_limit_first_layer,
         "the first layer time limit");
    // N is what the user types; P follows the field it is spread over.
    recomputeProbabilityAndTimeStep(run, data);
    return refused;
}

std::string runEditRefusalMessage(const std::vector<std::string>& names) {
    std::string list;
    for (size_t i = 0; i < names.size(); ++i) {
        if (i > 0) list += i + 1 == names.size() ? " and " : ", ";
        list += names[i];
    }
    return "Check " + list +
           ": the field takes whole numbers of molecules from 1, N and the limits numbers "
           "from 0. The value typed is not used.";
}

RunPanel::RunPanel(AppState& state, Session& session, Platform& platform, QWidget* parent)
    : QWidget(parent), state_(state), session_(session), platform_(platform) {
    setObjectName("m_Action");
    // The panel's controls keep the desktop's own font, whatever large face
    // the tab captions above them use.
    const QFont desktop = QApplication::font();
    QFont own(desktop.family(), desktop.pointSize() > 0 ? desktop.pointSize() : 9);
    own.setWeight(QFont::Normal);
    own.setItalic(false);
    setFont(own);
    buildControls();
    buildMenus();
    researchDialog_ = new FullRunSetting(state_.research, platform_, this);
    hookCore();
    refreshDisplayValues();
    planList_->refill();
    applyControlState();
    fitHeight();
    resize(minimumSize());
}

void RunPanel::fitHeight() {
    // A plan of many kinds needs more room under its list than the panel has.
    setMinimumSize(kPanelWidth, std::max(kPanelHeight, valueMarksBottom() + 20));
    if (height() < minimumHeight()) resize(width(), minimumHeight());
}

RunPanel::~RunPanel() = default;

void RunPanel::buildControls() {
    auto place = [this](QWidget* w, int id) {
        for (const Place& p : kPlaces)
            if (p.id == id) w->setGeometry(p.x, p.y, p.w, p.h);
        controls_[id] = w;
    };
    for (int id : {kFieldWidthEdit, kFieldHeightEdit, kJumpsPerStepEdit, kProbabilityEdit,
                   kTimeStepEdit, kLayersLimitEdit, kTimeLimitEdit, kFirstLayerLimitEdit}) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString("edit%1").arg(id));
        place(edit, id);
        connect(edit, &QLineEdit::returnPressed, this, &RunPanel::pressEnter);
        connect(edit, &QLineEdit::editingFinished, this, [this] {
            if (state_.runState.controlsEnabled) takeEdits();
        });
    }
    // P and the time step follow from N, the field and the data: shown, not typed.
    for (int id : {kProbabilityEdit, kTimeStepEdit}) {
        auto* edit = static_cast<QLineEdit*>(controls_[id]);
        edit->setReadOnly(true);
        edit->setToolTip(id == kProbabilityEdit ? "P = N / (Width x Height)"
                                                : "The time of one step: P divided by the "
                                                  "jump frequency, in the current time unit");
    }
    struct Check {
        int id;
        const char* text;
        int RunSettings::*field;
    };
    const Check checks[] = {
        {kNeverStopCheck, "Never stop", &RunSettings::Is_any_limits},
        {kLayersLimitCheck, "After", &RunSettings::Is_layers_limit},
        {kTimeLimitCheck, "After", &RunSettings::Is_time_simulattion_limit},
        {kFirstLayerLimitCheck, "After", &RunSettings::Is_time_simulattion_limit_first_layer},
        {kPorosityCheck, "concider hole defects phenomena", &RunSettings::Is_includes_porosity},
    };
    for (const Check& c : checks) {
        auto* box = new QCheckBox(c.text, this);
        box->setObjectName(QString("check%1").arg(c.id));
        place(box, c.id);
        const auto field = c.field;
        const int id = c.id;
        connect(box, &QCheckBox::toggled, this, [this, field, id](bool on) {
            state_.run.*field = on ? 1 : 0;
            if (id == kNeverStopCheck) neverStopToggled();
        });
    }
    struct Button {
        int id;
        const char* text;
    };
    for (const Button& b : {Button{kSetDefaultButton, "Set default"},
                            Button{kActionButton, "Action"}, Button{kPauseResumeButton, "Stop"},
                            Button{kPlanEditButton, "Edit"}, Button{kPlanFileButton, "File"}}) {
        auto* button = new QPushButton(b.text, this);
        button->setObjectName(QString("button%1").arg(b.id));
        place(button, b.id);
    }
    connect(static_cast<QPushButton*>(controls_[kPauseResumeButton]), &QPushButton::clicked, this,
            &RunPanel::pressPauseResume);
    connect(static_cast<QPushButton*>(controls_[kSetDefaultButton]), &QPushButton::clicked, this,
            &RunPanel::pressSetDefault);
    planList_ = new PlanList(state_.plan, this);
    place(planList_, kPlanListId);
    connect(planList_, &PlanList::planEdited, this, [this] { update(); });
}

QAction* RunPanel::addCommand(QMenu* menu, const char* text, int id) {
    QAction* a = menu->addAction(text);
    actions_[id] = a;
    connect(a, &QAction::triggered, this, [this, id] { runCommand(id); });
    return a;
}

void RunPanel::buildMenus() {
    actionMenu_ = new QMenu(this);
    addCommand(actionMenu_, "Start new single simulation", kCmdStartSingle);
    addCommand(actionMenu_, "Run full single run", kCmdRunFullSingle);
    addCommand(actionMenu_, "Resume run", kCmdResumeRun);
    actionMenu_->addSeparator();
    addCommand(actionMenu_, "Start experiment", kCmdStartExperiment);
    addCommand(actionMenu_, "Resume experiment", kCmdResumeExperiment);
    actionMenu_->addSeparator();
    addCommand(actionMenu_, "Full research for molecule of given shape", kCmdFullResearch);
    addCommand(actionMenu_, "General experiment", kCmdGeneralExperiment);
    actionMenu_->addSeparator();
    QMenu* tools = actionMenu_->addMenu("Tools");
    addCommand(tools, "Create summary report", kCmdCreateSummary);
    addCommand(tools, "Set parameters of full research run", kCmdResearchSettings);
    addCommand(tools, "Test experiment plan", kCmdTestPlan);
    QAction* report = addCommand(tools, "Save run as HTML report", kCmdSaveRunReport);
    report->setEnabled(false);
    connect(tools, &QMenu::aboutToShow, this,
            [this, report] { report->setEnabled(static_cast<bool>(saveRunReport)); });

    editMenu_ = new QMenu(this);
    QMenu* add = editMenu_->addMenu("Add");
    QMenu* general = add->addMenu("General parameters");
    addCommand(general, "General supercooling", kCmdAddGeneralSupercooling);
    addCommand(general, "General surface energy", kCmdAddGeneralSurfaceEnergy);
    QMenu* thermo = add->addMenu("Thermodynamics");
    addCommand(thermo, "Enthalpy (volume)", kCmdAddEnthalpy);
    addCommand(thermo, "Surface energy", kCmdAddSurfaceEnergy);
    addCommand(thermo, "Temperature", kCmdAddTemperature);
    QMenu* molecule = add->addMenu("Molecule");
    addCommand(molecule, "Volume", kCmdAddVolume);
    addCommand(molecule, "Ratio a/b", kCmdAddRatioAB);
    addCommand(molecule, "Ratio c/b", kCmdAddRatioCB);
    addCommand(molecule, "Edges/Faces", kCmdAddEdgesPerFaces);
    addCommand(molecule, "Vertices/Faces", kCmdAddVerticesPerFaces);
    addCommand(editMenu_, "Delete", kCmdDeleteRow);
    QMenu* order = editMenu_->addMenu("Change order");
    addCommand(order, "Up", kCmdRowUp);
    addCommand(order, "Down", kCmdRowDown);
    addCommand(order, "Up to top", kCmdRowToTop);

    fileMenu_ = new QMenu(this);
    addCommand(fileMenu_, "New", kCmdPlanNew);
    addCommand(fileMenu_, "Open", kCmdPlanOpen);
    addCommand(fileMenu_, "Save", kCmdPlanSave);
    addCommand(fileMenu_, "Save as", kCmdPlanSaveAs);
    fileMenu_->addSeparator();
    addCommand(fileMenu_, "Delete", kCmdPlanDelete);

    static_cast<QPushButton*>(controls_[kActionButton])->setMenu(actionMenu_);
    static_cast<QPushButton*>(controls_[kPlanEditButton])->setMenu(editMenu_);
    static_cast<QPushButton*>(controls_[kPlanFileButton])->setMenu(fileMenu_);
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
        self->planList_->refill();
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
    syncDerivedValues();
    showRunSettings();
}

void RunPanel::syncDerivedValues() {
    const PhysicalData& d = state_.data;
    RunSettings& run = state_.run;
    // A running loop keeps the time step it started with.
    if (state_.runState.controlsEnabled) recomputeProbabilityAndTimeStep(run, d);
    display_.jumpFrequency = d.nu_s;
    display_.timeUnitFactor = TimeUnitsPerSecond(d.time);
    display_.timeUnitName = d.time >= 0 && d.time < static_cast<int>(kTimeUnits.size())
                                ? kTimeUnits[d.time].shortName
                                : "";
    display_.probability = run.Prob_in_at_step;
    display_.jumpsPerStep = run.N_in_per_step;
    display_.timeStep = run.Time_step;
    writeEdit(kProbabilityEdit, cformat("%.4g", run.Prob_in_at_step));
    writeEdit(kTimeStepEdit, cformat("%.4g", run.Time_step));
}

void RunPanel::writeEdit(int id, const std::string& text) {
    auto* edit = static_cast<QLineEdit*>(controls_[id]);
    shown_[id] = qs(text);
    if (edit->text() != shown_[id]) edit->setText(shown_[id]);
}

void RunPanel::showRunSettings() {
    const RunSettings& run = state_.run;
    auto write = [this](int id, const std::string& text) { writeEdit(id, text); };
    write(kFieldWidthEdit, cformat("%d", run.N_field_W));
    write(kFieldHeightEdit, cformat("%d", run.N_field_H));
    write(kJumpsPerStepEdit, cformat("%.4g", run.N_in_per_step));
    write(kProbabilityEdit, cformat("%.4g", run.Prob_in_at_step));
    write(kTimeStepEdit, cformat("%.4g", run.Time_step));
    write(kLayersLimitEdit, cformat("%.4g", run.Layers_limit));
    write(kTimeLimitEdit, cformat("%.4g", run.Time_simulattion_limit));
    write(kFirstLayerLimitEdit, cformat("%.4g", run.Time_simulattion_limit_first_layer));
    auto check = [this](int id, int value) {
        auto* box = static_cast<QCheckBox*>(controls_[id]);
        const QSignalBlocker block(box);
        box->setChecked(value != 0);
    };
    check(kNeverStopCheck, run.Is_any_limits);
    check(kLayersLimitCheck, run.Is_layers_limit);
    check(kTimeLimitCheck, run.Is_time_simulattion_limit);
    check(kFirstLayerLimitCheck, run.Is_time_simulattion_limit_first_layer);
    check(kPorosityCheck, run.Is_includes_porosity);
    neverStopToggled();
}

bool RunPanel::takeEdits() {
    auto typed = [this](int id) -> std::optional<std::string> {
        const QString text = static_cast<QLineEdit*>(controls_[id])->text();
        if (shown_.count(id) && shown_[id] == text) return std::nullopt;
        return text.toStdString();
    };
    RunEditTexts texts{typed(kFieldWidthEdit),   typed(kFieldHeightEdit),
                       typed(kJumpsPerStepEdit), typed(kLayersLimitEdit),
                       typed(kTimeLimitEdit),    typed(kFirstLayerLimitEdit)};
    const std::vector<std::string> refused = takeRunEdits(texts, state_.data, state_.run);
    refreshDisplayValues();
    update();
    if (refused.empty()) return true;
    platform_.message(runEditRefusalMessage(refused));
    return false;
}

void RunPanel::applyControlState() {
    const RunState& rs = state_.runState;
    const bool free = rs.controlsEnabled;
    for (auto& [id, widget] : controls_)
        if (id != kPauseResumeButton) widget->setEnabled(free);
    auto* pause = static_cast<QPushButton*>(controls_[kPauseResumeButton]);
    pause->setText(qs(rs.buttonCaption));
    pause->setEnabled(true);
    if (free) refreshDisplayValues();
    update();
}

void RunPanel::neverStopToggled() {
    const bool never = static_cast<QCheckBox*>(controls_[kNeverStopCheck])->isChecked();
    for (int id : {kLayersLimitEdit, kTimeLimitEdit, kFirstLayerLimitEdit})
        controls_[id]->setVisible(!never);
    update();
}

void RunPanel::pressEnter() {
    planList_->commitEdit();
    takeEdits();
}

void RunPanel::pressPauseResume() {
    // During a pause the user may have edited the rates; a resume takes them.
    if (state_.runState.controlsEnabled) {
        planList_->commitEdit();
        if (!takeEdits()) return;
    }
    session_.loop.PressPauseResume();
    applyControlState();
}

void RunPanel::pressSetDefault() {
    session_.loop.SetDefaultRunSettings();
    refreshDisplayValues();
    update();
}

void RunPanel::showEvent(QShowEvent* event) {
    refreshDisplayValues();
    QWidget::showEvent(event);
}

void RunPanel::planChanged() {
    // An opened plan may have brought its own data file.
    refreshDisplayValues();
    planList_->refill();
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

void RunPanel::runCommand(int id) {
    planList_->commitEdit();
    if (runPlanCommand(id, planList_->selectedRow(), state_.plan, session_.planFile,
                       session_.planHost)) {
        planChanged();
        return;
    }
    if (id == kCmdCreateSummary) {
        session_.createSummaryReports();
        return;
    }
    if (id == kCmdResearchSettings) {
        openResearchSettings();
        return;
    }
    if (id == kCmdSaveRunReport) {
        if (saveRunReport) saveRunReport();
        return;
    }
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
    planList_->refill();
}

int RunPanel::valueMarksBottom() const {
    return planMarksBottom(planList_->geometry(), state_.plan);
}

void RunPanel::paintEvent(QPaintEvent*) {
    // The chart and the values follow what the edits hold now.
    if (auto inputs = makeEngineInputs(state_.data, state_.run))
        state_.engine.UpdateGeometry(inputs->E0, inputs->E8, inputs->Pint, inputs->a, inputs->b,
                                     inputs->c, inputs->W, inputs->H, inputs->edgeWeight,
                                     inputs->vertexWeight);
    // P, the time step and the time unit follow the data at every paint.
    syncDerivedValues();
    QPainter p(this);
    p.setBackgroundMode(Qt::TransparentMode);
    p.setFont(font());
    drawFrames(p);
    drawLabels(p);
    drawValueMarks(p);
    drawProbabilityChart(p);
}

void RunPanel::drawFrames(QPainter& p) {
    const QRect w = controls_[kFieldWidthEdit]->geometry();
    const QRect h = controls_[kFieldHeightEdit]->geometry();
    const QRect n = controls_[kJumpsPerStepEdit]->geometry();
    const QRect stop = controls_[kNeverStopCheck]->geometry();
    const QRect list = planList_->geometry();
    // The area frame holds both size edits, whichever of them stands higher.
    const int areaTop = std::min(w.top(), h.top());
    drawGroupFrame(
        p, "Parameters of simulation:",
        QRect(QPoint(w.left() - 85, w.top() - 40), QPoint(w.left() + 500, w.top() + 600)),
        QColor(50, 200, 25), 3);
    drawGroupFrame(p, "Area of simulation",
                   QRect(QPoint(h.left() - 75, areaTop - 10), QPoint(h.left() + 495, areaTop + 80)),
                   QColor(50, 105, 25), 2);
    drawGroupFrame(
        p, "Parameters of incorporating molecule into crystal",
        QRect(QPoint(n.left() - 75, n.top() - 10), QPoint(n.left() + 495, n.top() + 110)),
        QColor(150, 105, 25), 2);
    drawGroupFrame(p, "Conditions to stop of simulation:",
                   QRect(QPoint(stop.left() - 20, stop.top() - 10),
                         QPoint(stop.left() + 450, stop.top() + 170)),
                   QColor(0, 0, 255), 2);
    drawGroupFrame(p, "Experimental plan:",
                   QRect(QPoint(list.left() - 10, list.top() - 40),
                         QPoint(list.right() + 5, valueMarksBottom() + 7)),
                   QColor(0, 105, 0), 2);
}

void RunPanel::drawLabels(QPainter& p) {
    auto at = [this](int id) { return controls_[id]->geometry(); };
    views::FormulaText& f = formula_;
    p.setPen(Qt::black);
    auto sides = [&](int id, const QString& label, const QString& unit) {
        f.clear();
        f.normal(label).drawLeftOf(p, at(id));
        f.clear();
        f.normal(unit).drawRightOf(p, at(id));
    };
    sides(kFieldWidthEdit, "Width = ", "(molecules)");
    sides(kFieldHeightEdit, "Height = ", "(molecules)");
    sides(kJumpsPerStepEdit, " N = ", "(average jumps into crystal per step)");
    sides(kProbabilityEdit, "P = ", "(probability to jump into for one molecule)");
    f.clear();
    f.symbol("D").normal("t").sub("step").normal(" = ").drawLeftOf(p, at(kTimeStepEdit));
    f.clear();
    f.normal(qs(cformat("(%s)", display_.timeUnitName.c_str()))).drawRightOf(p, at(kTimeStepEdit));

    if (!static_cast<QCheckBox*>(controls_[kNeverStopCheck])->isChecked()) {
        const std::pair<int, const char*> units[] = {
            {kLayersLimitEdit, "(layers established growth)"},
            {kTimeLimitEdit, "(minutes)"},
            {kFirstLayerLimitEdit, "(minutes first layer is not filled)"}};
        p.setPen(palette().color(QPalette::WindowText));
        for (const auto& [id, text] : units) {
            const QRect r = at(id);
            p.drawText(QRect(r.right() + 4, r.top(), 400, r.height()),
                       Qt::AlignLeft | Qt::AlignVCenter, text);
        }
    }
}

void RunPanel::drawValueMarks(QPainter& p) {
    drawPlanValueMarks(p, planList_->geometry(), state_.plan);
}

void RunPanel::drawProbabilityChart(QPainter& p) {
    const QRect area(kProbabilityChartX, kProbabilityChartY, kProbabilityChartWidth,
                     kProbabilityChartHeight);
    auto inputs = makeEngineInputs(state_.data, state_.run);
    const ContactGeometry& contact = state_.engine.displayGeometry().contact;
    p.save();
    p.fillRect(area, Qt::white);
    p.setPen(Qt::black);
    if (inputs && contact.n >= 1) {
        views::paintProbabilityChart(
            p, area,
            makeProbabilityChart(inputs->E0, inputs->E8, inputs->Pint, contact.n,
                                 contact.adatomFraction, contact.bottomFaceFraction));
    } else {
        p.drawRect(area);
    }
    p.restore();
}

}  // namespace quorvane
