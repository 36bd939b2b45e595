#pragma once
// Start data as the program has it once the Data panel has run its first Update.

#include "model/data_rules.h"
#include "model/physical_data.h"
#include "model/run_settings.h"
#include "support/scripted_platform.h"

namespace quorvane::testing {

struct ModelFixture {
    ScriptedPlatform platform;
    PhysicalData data = makeStartData();
    RunSettings run = makeStartRunSettings(data);

    /// Parses the surface-shape texts, as the first Update does.
    ModelFixture() { applyUpdate(data, run, requestFromData(data), platform); }
};

}  // namespace quorvane::testing
