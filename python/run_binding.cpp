// quorvane.run and quorvane.full_run: a single simulation and a full run of a
// Data object, made by the batch runner's own session code, and the Run they
// hand back with NumPy views of the growth record and the field.

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include "batch/batch_app.h"
#include "engine/mechanism.h"
#include "experiments/run_log.h"
#include "model/working_folder.h"
#include "python/arguments.h"
#include "python/bindings.h"
#include "python/growth_regime_dict.h"
#include "python/log_rows.h"
#include "python/run_result.h"

namespace quorvane::python {
namespace {

/// A read-only NumPy view of `values`, kept alive by `owner`.
template <typename T>
py::array view(std::span<const T> values, py::handle owner) {
    py::array_t<T> array({values.size()}, {sizeof(T)}, values.data(), owner);
    array.attr("flags").attr("writeable") = false;
    return array;
}

/// The field's W x H interior heights in layers, a view of the engine's own
/// array: heights[y, x] is column (x, y), y along the field's vertical side.
py::array heightsView(const GrowthEngine& engine, py::handle owner) {
    if (!engine.hasField()) return py::array_t<std::int32_t>(std::vector<py::ssize_t>{0, 0});
    const auto cell = static_cast<py::ssize_t>(sizeof(std::int32_t));
    const std::int32_t* first = engine.heights().data() + engine.stride() + 1;  // column (1, 1)
    py::array_t<std::int32_t> array({engine.H(), engine.W()}, {cell, cell * engine.stride()}, first,
                                    owner);
    array.attr("flags").attr("writeable") = false;
    return array;
}

py::dict evaluationDict(const RunEvaluation& e) {
    py::dict out;
    out["steps"] = e.steps;
    out["time_of_growth"] = e.timeOfGrowth;
    out["final_height"] = e.finalHeight;
    out["layers_reached"] = e.layersReached;
    out["final_roughness"] = e.finalRoughness;
    out["final_porosity"] = e.finalPorosity;
    out["simulation_seconds"] = e.simulationSeconds;
    out["crossings"] = e.crossings;
    out["starts"] = e.starts;
    out["rate_mean"] = e.rateMean;
    out["rate_parts"] = e.rateParts;
    out["fill_mean"] = e.fillMean;
    out["fill_std"] = e.fillStd;
    out["start_mean"] = e.startMean;
    out["start_std"] = e.startStd;
    out["induction_ratio"] = e.inductionRatio;
    out["mechanism"] = e.mechanism;
    out["mechanism_text"] = mechanismText(e.mechanism);
    out["stable_growth_found"] = e.stableGrowthFound();
    out["stable_start"] = e.stableStart;
    out["stable_rate"] = e.stableRate;
    out["stable_rate_parts"] = e.stableRateParts;
    out["stable_roughness"] = e.stableRoughness;
    out["stable_roughness_length"] = e.stableRoughnessLength;
    out["stable_porosity"] = e.stablePorosity;
    return out;
}

std::string lastRow(const RunResult& run) {
    return run.rows().empty() ? std::string() : run.rows().back();
}

/// The event code of the run's own row (-1 when it wrote none).
int eventOf(const RunResult& run) {
    const std::vector<std::string> cells = logRowCells(lastRow(run));
    return cells.empty() ? -1 : std::stoi(cells[1]);
}

/// Runs the options' work over a state kept for the result. A single run's row
/// is made again from its record with the time its log row got, exactly as
/// written; a full run's rows are read back from its log.
std::unique_ptr<RunResult> runKept(const batch::BatchOptions& options, long long every) {
    auto state = std::make_unique<AppState>();
    // The same sequence as the batch runner: nothing draws before the first run.
    state->random.SeedForStart();
    const std::string log = *options.logFile;
    const bool single = options.mode == batch::RunMode::Single;
    std::optional<LogTail> tail;
    if (!single) tail.emplace(log);
    PythonPlatform platform;
    SignalWatch watch;
    const int status = callReleased(platform, watch, [&] {
        Session session(*state, platform);
        return batch::runSession(options, session, nullptr);
    });
    conclude(status, platform, watch);
    std::vector<std::string> rows;
    if (!single) {
        rows = tail->newRows();
    } else if (const int code = state->runState.lastLogCode; code >= 0) {
        std::string row = runLogRow(code, state->results.current, platform.lastLocalTime());
        row.pop_back();  // its line end
        rows.push_back(std::move(row));
    }
    return std::make_unique<RunResult>(std::move(state), static_cast<std::size_t>(every),
                                       std::move(rows), log);
}

std::unique_ptr<RunResult> run(const DataObject& data, std::optional<long long> steps,
                               std::optional<bool> porous, long long recordEvery,
                               const std::string& log) {
    checkStepCount("record_every", recordEvery);
    std::vector<std::string> arguments{"--quiet", "--log=" + log};
    if (steps) arguments.push_back("--steps=" + std::to_string(*steps));
    if (porous) arguments.emplace_back(*porous ? "--porous" : "--plain");
    batch::BatchOptions options = batchOptions(arguments);
    giveData(options, data);
    return runKept(options, recordEvery);
}

std::unique_ptr<RunResult> fullRun(const DataObject& data, long long recordEvery,
                                   const std::string& log) {
    checkStepCount("record_every", recordEvery);
    batch::BatchOptions options = batchOptions({"--quiet", "--full", "--log=" + log});
    giveData(options, data);
    return runKept(options, recordEvery);
}

py::array column(py::object self, RunResult::Column which) {
    return view(self.cast<const RunResult&>().column(which), self);
}

std::string runRepr(const RunResult& run) {
    const RunEvaluation& e = run.state().results.evaluation;
    return "<quorvane.Run event " + std::to_string(eventOf(run)) + ": " + std::to_string(e.steps) +
           " steps, " + std::to_string(e.finalHeight) + " layers, " +
           growthRegimeWord(e.regime.regime) + ">";
}

/// The growth record's columns and the field: views kept alive by the Run.
void addArrays(py::class_<RunResult>& c) {
    using C = RunResult::Column;
    c.def_property_readonly(
         "step", [](py::object self) { return view(self.cast<const RunResult&>().steps(), self); },
         "the step (from 1) of each kept entry of the record")
        .def_property_readonly(
            "time", [](py::object s) { return column(s, C::Time); }, "model time, s")
        .def_property_readonly(
            "distance", [](py::object s) { return column(s, C::Distance); },
            "grown distance (mean height), layers")
        .def_property_readonly(
            "roughness", [](py::object s) { return column(s, C::Roughness); }, "layers")
        .def_property_readonly(
            "porosity", [](py::object s) { return column(s, C::Porosity); },
            "parts (zeros for a run without hole defects)")
        .def_property_readonly(
            "rate", [](py::object s) { return column(s, C::Rate); },
            "moving-window growth rate, layers per second (0 inside the window)")
        .def_property_readonly(
            "heights",
            [](py::object self) {
                return heightsView(self.cast<const RunResult&>().state().engine, self);
            },
            "the final field, heights[y, x] in layers, shape (N_field_H, N_field_W)");
}

void bindRunClass(py::module_& m) {
    py::class_<RunResult> c(m, "Run",
                            "What a run left: its log row, growth record, evaluation and field "
                            "(arrays are read-only views kept alive by the Run).");
    c.def_property_readonly("event", &eventOf, "the event code of the run's log row")
        .def_property_readonly(
            "row", [](const RunResult& r) { return logRowDict(lastRow(r)); },
            "the run's log row as a dict by column name")
        .def_property_readonly("row_text", &lastRow, "the run's log row as the log holds it")
        .def_property_readonly(
            "rows", [](const RunResult& r) { return rowDicts(r.rows()); },
            "every row the call logged (a full run: its series, then the reduced row)")
        .def_property_readonly("log", &RunResult::log, "the run log the rows went to")
        .def_property_readonly("record_every", &RunResult::every)
        .def_property_readonly(
            "evaluation",
            [](const RunResult& r) { return evaluationDict(r.state().results.evaluation); })
        .def_property_readonly(
            "regime",
            [](const RunResult& r) { return growthRegimeDict(r.state().results.evaluation); },
            "the growth regime with its evidence")
        .def("__repr__", &runRepr);
    addArrays(c);
}

}  // namespace

void bindRuns(py::module_& m) {
    bindRunClass(m);
    m.def("run", &run, py::arg("data"), py::arg("steps") = py::none(),
          py::arg("porous") = py::none(), py::arg("record_every") = 1,
          py::arg("log") = kDefaultLogFileName,
          "One single simulation of the data, as `quorvane-batch --steps N --log LOG` with the "
          "data's file and settings: ends at the data's limits or after `steps` steps (event 5); "
          "`porous` True or False overrides the data's Is_includes_porosity. The record's "
          "arrays keep every `record_every`-th step and the last.");
    m.def("full_run", &fullRun, py::arg("data"), py::arg("record_every") = 1,
          py::arg("log") = kDefaultLogFileName,
          "One full run of the data, as `quorvane-batch --full`: the series of the research "
          "settings' probabilities, reduced to one row (event 77). The Run's record, evaluation "
          "and field are those of its last single run.");
}

}  // namespace quorvane::python
