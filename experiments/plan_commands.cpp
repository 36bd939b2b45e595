#include "experiments/plan_commands.h"

namespace quorvane {

bool runPlanCommand(int commandId, int selectedRow, ExperimentPlan& plan, PlanFile& file,
                    const PlanHost& host) {
    if (auto kind = kindForAddCommand(commandId)) {
        plan.addRow(*kind, host.currentQuantities ? host.currentQuantities() : PlanQuantities{});
        return true;
    }
    switch (commandId) {
        case kCmdDeleteRow:
            plan.deleteRow(selectedRow);
            return true;
        case kCmdRowUp:
            plan.moveUp(selectedRow);
            return true;
        case kCmdRowDown:
            plan.moveDown(selectedRow);
            return true;
        case kCmdRowToTop:
            plan.moveToTop(selectedRow);
            return true;
        case kCmdPlanNew:
        case kCmdPlanDelete:
            plan.clear();
            return true;
        case kCmdPlanOpen:
            file.open();
            return true;
        case kCmdPlanSave:
            file.save();
            return true;
        case kCmdPlanSaveAs:
            file.saveAs();
            return true;
        default:
            return false;
    }
}

}  // namespace quorvane
