#pragma once
/// The plan file: the rows of a plan with the current value of each kind, the
/// data file that belongs to the plan and the run log its runs write to.

#include <istream>
#include <string>
#include <vector>

#include "common/file_io.h"
#include "common/platform.h"
#include "experiments/plan.h"
#include "experiments/plan_host.h"

namespace quorvane {

constexpr const char* kPlanFileMagic = "The_file_of_experiment_tasks_for_Quorvane";
/// After the magic on the first line of a share's file (a shard of a plan)
/// whose every combination has run: it is not run again.
constexpr const char* kShareFinishedMark = " finished";
constexpr const char* kDefaultPlanPath = "_Quorvane_defaultplan.csv";
constexpr const char* kDefaultPlanResultsPath = "_Quorvane_defaultplanresults.csv";

// Commands of the Run panel's "File" menu (button 1050).
constexpr int kCmdPlanNew = 32784;
constexpr int kCmdPlanOpen = 32785;
constexpr int kCmdPlanSave = 32786;
constexpr int kCmdPlanDelete = 32788;  // removes all rows, as New does
constexpr int kCmdPlanSaveAs = 32832;

/// The paths kept with the plan.
struct PlanPaths {
    std::string plan = kDefaultPlanPath;
    std::string results = kDefaultPlanResultsPath;  ///< the run log of the plan's runs
    std::string data;                               ///< the data file of the plan
};

/// The whole text of a plan file; `finished` marks a share that has run.
std::string formatPlanFile(const ExperimentPlan& plan, const PlanPaths& paths,
                           bool finished = false);

/// Reading and writing a plan file on behalf of the Run panel. Every failure
/// is reported through the platform and leaves the plan as it was.
class PlanFile {
  public:
    PlanFile(ExperimentPlan& plan, Platform& platform, PlanHost& host)
        : plan_(plan), platform_(platform), host_(host) {}

    PlanPaths paths;
    /// The file is a share of a plan whose every combination has run.
    bool finished = false;

    /// Open (32785): asks for a file and reads it.
    bool open();
    /// Reads a plan file; the plan, its paths and the log path change only when
    /// the whole file is good.
    bool read(const std::string& path);
    /// Save (32786): derives the results and data paths from the plan path,
    /// writes the data file and then the plan file.
    bool save();
    /// Save as (32832): asks for the plan path, then saves.
    bool saveAs();
    /// Writes the plan file to the plan path, whole or not at all (the runner
    /// does this before every run).
    bool write();
    /// Writes the file `plan` (and `finished`) make to PLAN.next, for commit()
    /// to put in place later. False, with the message, when it cannot be written.
    bool prepare(PendingFile& file, const ExperimentPlan& plan, bool finished);
    /// Puts a prepared file in place; false, with the message, when it cannot.
    bool commit(PendingFile& file);

  private:
    bool readRows(std::istream& in, std::vector<task>& rows, std::vector<double>& currents);
    void restoreCurrents(const std::vector<task>& rows, const std::vector<double>& currents);

    ExperimentPlan& plan_;
    Platform& platform_;
    PlanHost& host_;
};

}  // namespace quorvane
