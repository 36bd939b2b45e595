#pragma once
/// Filling the run record: the physical data converted into the run log's fixed
/// units, and the measurements of the evaluated growth record.

#include "engine/contact_geometry.h"
#include "engine/run_evaluation.h"
#include "experiments/results.h"
#include "model/physical_data.h"
#include "model/run_settings.h"

namespace quorvane {

/// `FillRunRecord`: copies the physical data and run settings into
/// `results.current` in the log's units, then recomputes the cell area, the
/// nucleus area and the nucleus increment. `contact` is the geometry of the
/// field in use (its reference contact fractions are logged).
void FillRunRecord(Results& results, const PhysicalData& data, const RunSettings& run,
                   const ContactGeometry& contact);

/// The evaluation inputs of the current run from the data and run settings.
EvaluationInputs evaluationInputs(const PhysicalData& data, const RunSettings& run, bool running,
                                  std::int64_t startTime, std::int64_t endTime, std::int64_t now);

/// Copies the measured part of an evaluation into a run record.
void applyEvaluation(RunRecord& record, const RunEvaluation& evaluation, const PhysicalData& data,
                     bool porous);

}  // namespace quorvane
