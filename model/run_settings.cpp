#include "model/run_settings.h"

#include "model/physical_data.h"
#include "model/probabilities.h"

namespace quorvane {

RunSettings makeStartRunSettings(const PhysicalData& data) {
    RunSettings run;
    if (auto step = timeStepFor(run.Prob_in_at_step, data)) run.Time_step = *step;
    return run;
}

}  // namespace quorvane
