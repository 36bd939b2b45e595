#include "batch/growth_record_csv.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

#include "common/cformat.h"
#include "common/version/version.h"
#include "engine/growth_regime.h"

namespace quorvane::batch {
namespace {

/// The longest line a step can take ("%zu" and five "%.17g" with their commas).
constexpr std::size_t kLongestLine = 20 + 5 * 25 + 6;

/// The kept steps' lines, thinned on the fly: when the next line would pass
/// the room left, every other kept line goes and the stride doubles, so the
/// text never holds more than the room and the kept steps stay evenly spaced
/// (multiples of the stride).
class StepLines {
  public:
    StepLines(long long every, std::size_t room) : every_(every < 1 ? 1 : every), room_(room) {}

    long long every() const { return every_; }
    const std::string& text() const { return text_; }

    /// Offers the line of a step (1-based); taken when it falls on the stride.
    void offer(std::size_t step, const GrowthRecord& record) {
        if (step % static_cast<std::size_t>(every_) != 0) return;
        while (text_.size() + kLongestLine > room_ && !starts_.empty()) thin();
        if (step % static_cast<std::size_t>(every_) != 0) return;  // the stride grew past it
        if (text_.size() + kLongestLine > room_) return;           // no room even when empty
        starts_.push_back(text_.size());
        append(text_, step, record);
    }

    static void append(std::string& out, std::size_t step, const GrowthRecord& record) {
        const std::size_t i = step - 1;
        out += cformat("%zu,%.17g,%.17g,%.17g,%.17g,%.17g\n", step, record.time(i),
                       record.height(i), record.roughness(i), record.rate(i), record.porosity(i));
    }

  private:
    /// Keeps the 2nd, 4th, ... kept line: the steps that are multiples of twice the stride.
    void thin() {
        std::string kept;
        std::vector<std::size_t> keptStarts;
        for (std::size_t j = 1; j < starts_.size(); j += 2) {
            const std::size_t end = j + 1 < starts_.size() ? starts_[j + 1] : text_.size();
            keptStarts.push_back(kept.size());
            kept.append(text_, starts_[j], end - starts_[j]);
        }
        text_ = std::move(kept);
        starts_ = std::move(keptStarts);
        every_ *= 2;
    }

    long long every_;
    std::size_t room_;
    std::string text_;
    std::vector<std::size_t> starts_;
};

}  // namespace

std::string formatGrowthRecordCsv(const AppState& state, const RecordFileLimits& limits) {
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
    const GrowthRegimeAssessment& regime = state.results.evaluation.regime;
    out += cformat("# growth_regime = %s\n", growthRegimeWord(regime.regime));
    out += "# growth_regime_evidence = " + growthRegimeEvidence(regime) + "\n";

    const std::string columns =
        "step,time_s,height_layers,roughness_layers,rate_layers_per_s,porosity\n";
    // Room for the steps: the limit less the header, its stride line and the last step.
    const double fixed = static_cast<double>(out.size() + columns.size() + 64 + kLongestLine);
    const double room = limits.maxBytes - fixed;
    // A room past what any file could hold is no limit; the cast stays defined.
    const double most = static_cast<double>(std::numeric_limits<std::size_t>::max() / 2);
    StepLines lines(limits.every, room > 0 ? static_cast<std::size_t>(std::min(room, most)) : 0);
    const std::size_t count = record.count();
    for (std::size_t step = 1; step <= count; ++step) lines.offer(step, record);

    out += cformat("# record_every = %lld\n", lines.every());
    out += columns;
    out += lines.text();
    // The last step always, so that the file ends where the run ended.
    if (count > 0 && count % static_cast<std::size_t>(lines.every()) != 0)
        StepLines::append(out, count, record);
    return out;
}

}  // namespace quorvane::batch
