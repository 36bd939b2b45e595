#include "batch/growth_record_csv.h"

#include "common/cformat.h"
#include "common/version/version.h"

namespace quorvane::batch {

std::string formatGrowthRecordCsv(const AppState& state) {
    const GrowthEngine& engine = state.engine;
    const FieldGeometry& g = engine.runGeometry();
    const GrowthRecord& record = state.results.record;
    std::string out;
    // The build that made the numbers, so a record can be traced to it.
    out += "# quorvane_version = " + versionText() + "\n";
    auto real = [&](const char* name, double value) {
        out += cformat("# %s = %.17g\n", name, value);
    };
    real("E0", g.E0);
    real("E8", g.E8);
    out += cformat("# Pint = %u\n", g.Pint);
    real("a", g.contact.a);
    real("b", g.contact.b);
    real("c", g.contact.c);
    out += cformat("# W = %d\n# H = %d\n", g.W, g.H);
    real("edges", g.contact.edgeWeight);
    real("vertices", g.contact.vertexWeight);
    out += cformat("# porous = %d\n", record.hasPorosity() ? 1 : 0);
    real("dt", record.parameters().dt);
    out += "step,time_s,height_layers,roughness_layers,rate_layers_per_s,porosity\n";
    for (std::size_t i = 0; i < record.count(); ++i) {
        out += cformat("%zu,%.17g,%.17g,%.17g,%.17g,%.17g\n", i + 1, record.time(i),
                       record.height(i), record.roughness(i), record.rate(i), record.porosity(i));
    }
    return out;
}

}  // namespace quorvane::batch
