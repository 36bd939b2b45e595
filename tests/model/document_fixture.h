#pragma once
// A whole data document at its start values, as the program has it once the
// Data panel has drawn itself (the theory computed).

#include <vector>

#include "model/data_file.h"
#include "model/random_argument.h"
#include "model/research_settings.h"
#include "model/theory.h"
#include "model_fixtures.h"

namespace quorvane::testing {

struct DocumentFixture : ModelFixture {
    ResearchSettings research;
    std::vector<RandomArgument> arguments = makeDefaultRandomArguments();
    DataDocument doc{data, run, research, arguments};

    DocumentFixture() { computeTheoryQuietly(data); }

    /// Everything the document holds, to compare a whole state at once.
    struct Snapshot {
        PhysicalData data;
        RunSettings run;
        ResearchSettings research;
        std::vector<RandomArgument> arguments;
        bool operator==(const Snapshot&) const = default;
    };
    Snapshot snapshot() const { return {data, run, research, arguments}; }
};

}  // namespace quorvane::testing
