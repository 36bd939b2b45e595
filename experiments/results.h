#pragma once
/// What the current run has produced: its growth record, the record's
/// evaluation, and the run record that one row of the run log writes.

#include "engine/growth_record.h"
#include "engine/run_evaluation.h"
#include "experiments/run_record.h"
#include "model/physical_data.h"
#include "model/run_settings.h"

namespace quorvane {

struct Results {
    /// The data and run settings the current run runs with, taken when it
    /// starts or resumes: its evaluation, status and report read these, so
    /// that data edited after the run do not re-evaluate it.
    PhysicalData runData = makeStartData();
    RunSettings runSettings = makeStartRunSettings(runData);
    GrowthRecord record;
    RunEvaluation evaluation;
    RunRecord current;
    double nucleusArea = 0;       ///< 3.14 r^2 of the critical nucleus, current length unit^2
    double cellArea = 0;          ///< `Size_C` x `Size_B`
    double nucleusIncrement = 0;  ///< nucleus area x `Size_A` / ((W c)(W b)), a length
};

}  // namespace quorvane
