#include "python/run_result.h"

namespace quorvane::python {

RunResult::RunResult(std::unique_ptr<AppState> state, std::size_t every,
                     std::vector<std::string> rows, std::string log)
    : state_(std::move(state)),
      every_(every < 1 ? 1 : every),
      rows_(std::move(rows)),
      log_(std::move(log)) {
    const GrowthRecord& record = state_->results.record;
    const std::size_t count = record.count();
    // Every every-th step, and the last so that the arrays end where the run did.
    for (std::size_t step = every_; step <= count; step += every_)
        steps_.push_back(static_cast<std::int64_t>(step));
    if (count > 0 && count % every_ != 0) steps_.push_back(static_cast<std::int64_t>(count));

    keep(Column::Time, record.times());
    keep(Column::Distance, record.heights());
    keep(Column::Roughness, record.roughnesses());
    // A plain run stores no porosity: its zeros are made here.
    keep(Column::Porosity,
         record.porosities().size() == count ? record.porosities() : std::span<const double>());
    columns_[static_cast<int>(Column::Rate)].made =
        kept([&record](std::size_t i) { return record.rate(i); });
    for (RecordColumn& column : columns_)
        if (column.values.empty()) column.values = column.made;
}

template <typename Value>
std::vector<double> RunResult::kept(Value value) const {
    std::vector<double> out;
    out.reserve(steps_.size());
    for (std::int64_t step : steps_) out.push_back(value(static_cast<std::size_t>(step - 1)));
    return out;
}

void RunResult::keep(Column which, std::span<const double> stored) {
    RecordColumn& column = columns_[static_cast<int>(which)];
    const GrowthRecord& record = state_->results.record;
    if (every_ == 1 && stored.size() == record.count()) {
        column.values = stored;  // the record's own storage: no copy at all
        return;
    }
    if (stored.size() == record.count()) {
        column.made = kept([stored](std::size_t i) { return stored[i]; });
    } else {
        column.made = kept([&record](std::size_t i) { return record.porosity(i); });
    }
}

std::span<const double> RunResult::column(Column which) const {
    return columns_[static_cast<int>(which)].values;
}

}  // namespace quorvane::python
