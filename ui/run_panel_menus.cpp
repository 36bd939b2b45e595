// The menus of the Run panel's Action, Edit and File buttons.

#include <QAction>
#include <QMenu>

#include "experiments/plan_commands.h"
#include "reports/study_report.h"
#include "ui/run_panel.h"
#include "ui_run_panel.h"

namespace quorvane {

QAction* RunPanel::addCommand(QMenu* menu, const char* text, int id) {
    QAction* a = menu->addAction(text);
    actions_[id] = a;
    connect(a, &QAction::triggered, this, [this, id] { runCommand(id); });
    return a;
}

void RunPanel::buildMenus() {
    buildActionMenu();
    buildPlanMenus();
    form_->button1051->setMenu(actionMenu_);
    form_->button1052->setMenu(editMenu_);
    form_->button1050->setMenu(fileMenu_);
}

void RunPanel::buildActionMenu() {
    actionMenu_ = new QMenu(this);
    addCommand(actionMenu_, "&Start new single simulation", kCmdStartSingle);
    addCommand(actionMenu_, "&Run full single run", kCmdRunFullSingle);
    addCommand(actionMenu_, "R&esume run", kCmdResumeRun);
    actionMenu_->addSeparator();
    addCommand(actionMenu_, "Start e&xperiment", kCmdStartExperiment);
    addCommand(actionMenu_, "Resume ex&periment", kCmdResumeExperiment);
    actionMenu_->addSeparator();
    addCommand(actionMenu_, "&Full research for molecule of given shape", kCmdFullResearch);
    addCommand(actionMenu_, "&General experiment", kCmdGeneralExperiment);
    actionMenu_->addSeparator();
    QMenu* tools = actionMenu_->addMenu("&Tools");
    addCommand(tools, "&Create summary report", kCmdCreateSummary);
    QAction* study = addCommand(tools, "&Study report…", kSaveStudyReportCommand);
    addCommand(tools, "Set &parameters of full research run", kCmdResearchSettings);
    addCommand(tools, "&Test experiment plan", kCmdTestPlan);
    QAction* report = addCommand(tools, "Save run as &HTML report", kCmdSaveRunReport);
    report->setEnabled(false);
    study->setEnabled(false);
    connect(tools, &QMenu::aboutToShow, this, [this, report, study] {
        report->setEnabled(static_cast<bool>(saveRunReport));
        study->setEnabled(static_cast<bool>(saveStudyReport));
    });
}

void RunPanel::buildPlanMenus() {
    editMenu_ = new QMenu(this);
    QMenu* add = editMenu_->addMenu("&Add");
    QMenu* general = add->addMenu("&General parameters");
    addCommand(general, "General &supercooling", kCmdAddGeneralSupercooling);
    addCommand(general, "General surface &energy", kCmdAddGeneralSurfaceEnergy);
    QMenu* thermo = add->addMenu("&Thermodynamics");
    addCommand(thermo, "&Enthalpy (volume)", kCmdAddEnthalpy);
    addCommand(thermo, "&Surface energy", kCmdAddSurfaceEnergy);
    addCommand(thermo, "&Temperature", kCmdAddTemperature);
    QMenu* molecule = add->addMenu("&Molecule");
    addCommand(molecule, "&Volume", kCmdAddVolume);
    addCommand(molecule, "Ratio &a/b", kCmdAddRatioAB);
    addCommand(molecule, "Ratio &c/b", kCmdAddRatioCB);
    addCommand(molecule, "E&dges/Faces", kCmdAddEdgesPerFaces);
    addCommand(molecule, "Ve&rtices/Faces", kCmdAddVerticesPerFaces);
    addCommand(editMenu_, "&Delete", kCmdDeleteRow);
    QMenu* order = editMenu_->addMenu("&Change order");
    addCommand(order, "&Up", kCmdRowUp);
    addCommand(order, "&Down", kCmdRowDown);
    addCommand(order, "Up to &top", kCmdRowToTop);

    fileMenu_ = new QMenu(this);
    addCommand(fileMenu_, "&New", kCmdPlanNew);
    addCommand(fileMenu_, "&Open", kCmdPlanOpen);
    addCommand(fileMenu_, "&Save", kCmdPlanSave);
    addCommand(fileMenu_, "Save &as", kCmdPlanSaveAs);
    fileMenu_->addSeparator();
    addCommand(fileMenu_, "&Delete", kCmdPlanDelete);
}

}  // namespace quorvane
