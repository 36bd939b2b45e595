// quorvane.plan and quorvane.general: the batch runner's studies, on this
// process's threads as --jobs N runs them, and the log helpers around them.

#include <pybind11/stl.h>

#include <ctime>

#include "batch/batch_app.h"
#include "batch/jobs.h"
#include "batch/log_merge.h"
#include "model/working_folder.h"
#include "python/arguments.h"
#include "python/bindings.h"
#include "python/log_rows.h"

namespace quorvane::python {
namespace {

/// What a study left: the rows it added to its log.
struct Study {
    std::vector<std::string> rows;
    std::string log;
    std::optional<unsigned> seed;
};

/// Runs a study as the batch runner does. Everything is checked first, once,
/// so that a refusal writes nothing; the work itself runs on a thread of its
/// own while this one listens for Ctrl-C, which stops every worker.
Study runStudy(const batch::BatchOptions& options) {
    PythonPlatform platform;
    SignalWatch watch;
    Study study;
    study.seed = options.generalSeed;
    // Checked as the runner checks it: a plan spread over workers is checked as
    // their shards, which go on from their own files.
    batch::BatchOptions checkedAs = options;
    if (batch::workerCount(options) > 1 && options.mode == batch::RunMode::Plan) {
        checkedAs.sharded = true;
        checkedAs.shardCount = batch::workerCount(options);
        checkedAs.shardContinues = true;
    }
    const int checked = batch::prepareOnly(checkedAs, platform, study.log);
    if (checked != batch::kExitDone) conclude(checked, platform, watch);
    platform.takeMessages();  // said again when the work loads the same files
    LogTail tail(study.log);
    const int status =
        callWatched(platform, watch, [&] { return batch::runBatch(options, platform); });
    conclude(status, platform, watch);
    study.rows = tail.newRows();
    return study;
}

Study plan(const std::string& path, std::optional<std::string> log, long long jobs, bool summary) {
    std::vector<std::string> arguments{"--quiet", "--plan=" + path,
                                       "--jobs=" + std::to_string(jobs)};
    if (log) arguments.push_back("--log=" + *log);
    if (summary) arguments.emplace_back("--summary");
    return runStudy(batchOptions(arguments));
}

Study general(const DataObject& data, long long draws, std::optional<long long> seed,
              long long jobs, const std::string& log, bool summary) {
    // Without a seed, the time, as the runner and the desktop program draw;
    // the Study tells it, so that the draws can be made again.
    const long long chosen = seed ? *seed : static_cast<long long>(std::time(nullptr));
    std::vector<std::string> arguments{"--quiet", "--general=" + std::to_string(draws),
                                       "--general-seed=" + std::to_string(chosen),
                                       "--jobs=" + std::to_string(jobs), "--log=" + log};
    if (summary) arguments.emplace_back("--summary");
    batch::BatchOptions options = batchOptions(arguments);
    giveData(options, data);
    return runStudy(options);
}

void mergeLogs(const std::string& output, const std::vector<std::string>& inputs) {
    const std::string error = batch::mergeRunLogs(output, inputs);
    if (!error.empty()) {
        PyErr_SetString(PyExc_OSError, error.c_str());
        throw py::error_already_set();
    }
}

}  // namespace

void bindStudies(py::module_& m) {
    py::class_<Study>(m, "Study", "The rows a plan or a general experiment added to its log.")
        .def_property_readonly(
            "rows", [](const Study& s) { return rowDicts(s.rows); }, "the rows as dicts")
        .def_readonly("rows_text", &Study::rows, "the rows as the log holds them")
        .def_readonly("log", &Study::log, "the run log they went to")
        .def_readonly("seed", &Study::seed, "the general experiment's seed (None for a plan)")
        .def("__repr__", [](const Study& s) {
            return "<quorvane.Study " + std::to_string(s.rows.size()) + " rows in " + s.log + ">";
        });
    m.def("plan", &plan, py::arg("path"), py::arg("log") = py::none(), py::arg("jobs") = 1,
          py::arg("summary") = false,
          "The experiment plan in the file `path`, as `quorvane-batch --plan PATH [--log LOG] "
          "--jobs N [--summary]`: from the combination its Current values name, into its own "
          "results log unless `log` is given; `jobs` workers on this process's threads (0: one "
          "per core), the rows joined in the plan's order.");
    m.def("general", &general, py::arg("data"), py::arg("n"), py::arg("seed") = py::none(),
          py::arg("jobs") = 1, py::arg("log") = kDefaultLogFileName, py::arg("summary") = false,
          "The general experiment over the data, as `quorvane-batch --general N --general-seed "
          "SEED --jobs N`: `n` random draws, each a full run; without a seed, the time.");
    m.def(
        "read_log", &readLog, py::arg("path"),
        "Every row of a run log as a dict by column name (pandas.DataFrame(rows) makes a table).");
    m.def("merge_logs", &mergeLogs, py::arg("output"), py::arg("inputs"),
          "Joins logs under one header, as `quorvane-batch merge OUTPUT INPUTS...` (the logs of a "
          "study spread over several processes).");
}

}  // namespace quorvane::python
