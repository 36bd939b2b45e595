#pragma once
/// The Python module's Data: a data file's content in a state of its own, read,
/// written and set key by key through the same code as the batch runner's
/// --data, --write-data and --set, with the same rules and messages.

#include <pybind11/pybind11.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "experiments/app_state.h"
#include "experiments/session.h"
#include "python/python_platform.h"

namespace quorvane::python {

/// What a data file holds, taken whole at one moment: a run started from it
/// sees these data whatever the Data object does meanwhile.
struct DataSnapshot {
    PhysicalData data;
    RunSettings run;
    ResearchSettings research;
    std::vector<RandomArgument> randomArguments;
    std::string dataPath;

    /// Puts the data into a session's state, where --data would read its file.
    void loadInto(Session& session) const;
};

/// The data as a run or a written file has them: with the theory computed, as
/// the batch runner computes it after loading and setting, before it runs or
/// writes. (The Data's own state takes exactly the runner's steps of loading
/// and setting: the theory, which also recomputes dG' from the enthalpies,
/// would otherwise come between them and change what an edit starts from.)
struct ShownData {
    PhysicalData data;
    RunSettings run;
    ResearchSettings research;
    std::vector<RandomArgument> randomArguments;

    DataDocument document() { return {data, run, research, randomArguments}; }
};

class DataObject {
  public:
    /// The built-in data, as the batch runner starts without --data.
    DataObject();
    /// A data file as --data reads it; ValueError or FileNotFoundError with the
    /// runner's message when it cannot be read.
    static std::unique_ptr<DataObject> read(const std::string& path);
    /// A copy of another Data's content.
    explicit DataObject(const DataSnapshot& snapshot);

    /// As --write-data: whole or not at all; ValueError or OSError otherwise.
    void write(const std::string& path);
    /// Sets a key as --set KEY=VALUE does; ValueError with its reason otherwise.
    void set(const std::string& key, const std::string& value);
    /// The value of a key: a number, a text, or a line's text; KeyError for
    /// other keys.
    py::object get(const std::string& key) const;
    bool hasKey(const std::string& key) const;
    /// The keys in the order the data file writes them.
    std::vector<std::string> keys() const;
    /// The unit the data file writes beside the key's value.
    std::string unit(const std::string& key) const;

    std::shared_ptr<const DataSnapshot> snapshot() const;
    const AppState& state() const { return *state_; }
    /// The data with their theory; `platform` hears why it cannot be computed.
    ShownData shown(Platform* platform = nullptr) const;
    /// The data file's text of these data.
    std::string fileText() const;

  private:
    /// Runs an edit; on success its messages become warnings.
    void edit(const std::function<std::string()>& change, PyObject* errorType,
              const std::string& what);

    std::unique_ptr<AppState> state_;
    std::unique_ptr<PythonPlatform> platform_;
    std::unique_ptr<Session> session_;
};

}  // namespace quorvane::python
