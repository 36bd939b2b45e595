#pragma once
/// What a run hands back to Python: the state it ran in (its growth record,
/// evaluation and field stay there, and the NumPy arrays look into them), and
/// the rows it logged.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "experiments/app_state.h"

namespace quorvane::python {

/// One column of the record as Python gets it: a view of the record's own
/// storage, or of values made once here in one pass.
struct RecordColumn {
    std::span<const double> values;
    std::vector<double> made;
};

class RunResult {
  public:
    /// `every`: keep every every-th step of the record, and always the last.
    RunResult(std::unique_ptr<AppState> state, std::size_t every, std::vector<std::string> rows,
              std::string log);
    RunResult(const RunResult&) = delete;
    RunResult& operator=(const RunResult&) = delete;

    enum class Column { Time, Distance, Roughness, Porosity, Rate };
    std::span<const double> column(Column which) const;
    /// The step (1-based) of each kept entry.
    std::span<const std::int64_t> steps() const { return steps_; }
    std::size_t every() const { return every_; }

    const AppState& state() const { return *state_; }
    /// The rows the call logged, as the log holds them; the last is the run's.
    const std::vector<std::string>& rows() const { return rows_; }
    const std::string& log() const { return log_; }

  private:
    /// The kept entries' values of `value(i)`, in one pass.
    template <typename Value>
    std::vector<double> kept(Value value) const;
    void keep(Column which, std::span<const double> stored);

    std::unique_ptr<AppState> state_;
    std::size_t every_ = 1;
    std::vector<std::int64_t> steps_;
    RecordColumn columns_[5];
    std::vector<std::string> rows_;
    std::string log_;
};

}  // namespace quorvane::python
