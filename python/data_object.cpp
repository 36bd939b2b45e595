#include "python/data_object.h"

#include "batch/batch_app.h"
#include "common/cformat.h"
#include "common/file_io.h"
#include "common/text.h"
#include "model/data_file.h"
#include "model/quantity_schema.h"
#include "model/theory.h"
#include "sheets/key_setting.h"

namespace quorvane::python {
namespace {

constexpr std::string_view kRandomArgumentKey = "Random_argument_";

[[noreturn]] void raiseKeyError(const std::string& key) {
    PyErr_SetObject(PyExc_KeyError,
                    py::str(key + ": unknown key (the keys are those of the data file)").ptr());
    throw py::error_already_set();
}

/// The text after "KEY," on the key's line of the data file ("" when none).
std::string lineValue(const std::string& fileText, const std::string& key) {
    const std::string start = key + ",";
    for (std::size_t at = 0; at < fileText.size();) {
        std::size_t end = fileText.find('\n', at);
        if (end == std::string::npos) end = fileText.size();
        if (fileText.compare(at, start.size(), start) == 0)
            return fileText.substr(at + start.size(), end - at - start.size());
        at = end + 1;
    }
    return {};
}

bool isRandomArgumentKey(std::string_view key) {
    return key.size() > kRandomArgumentKey.size() && key.starts_with(kRandomArgumentKey);
}

}  // namespace

void DataSnapshot::loadInto(Session& session) const {
    AppState& state = session.state;
    state.data = data;
    state.run = run;
    state.research = research;
    state.randomArguments = randomArguments;
    state.paths.currentDataPath = dataPath;
}

DataObject::DataObject()
    : state_(std::make_unique<AppState>()),
      platform_(std::make_unique<PythonPlatform>()),
      session_(std::make_unique<Session>(*state_, *platform_)) {
    batch::loadBuiltInData(*session_);
    platform_->takeMessages();
}

DataObject::DataObject(const DataSnapshot& snapshot) : DataObject() {
    snapshot.loadInto(*session_);
}

std::unique_ptr<DataObject> DataObject::read(const std::string& path) {
    auto object = std::make_unique<DataObject>();
    const bool missing = !isRegularFile(path) && contains(path, ".csv");
    object->edit([&] { return batch::loadDataFile(*object->session_, path); },
                 missing ? PyExc_FileNotFoundError : PyExc_ValueError, "");
    return object;
}

void DataObject::write(const std::string& path) {
    std::string refusal = batch::checkOutputFile("the data file", path, true);
    edit(
        [&] {
            if (!refusal.empty()) return refusal;
            ShownData written = shown(platform_.get());
            if (!WriteDataFile(path, written.document(), *platform_).written)
                return "cannot write the data file " + path;
            return std::string();
        },
        refusal.empty() ? PyExc_OSError : PyExc_ValueError, "");
}

void DataObject::set(const std::string& key, const std::string& value) {
    // A line break would start a line of its own in a message too: named by its key only.
    if (auto refusal = checkSettingText(key, value); !refusal.empty())
        throw py::value_error(key + ": " + refusal);
    edit([&] { return setQuantity(*session_, key, value); }, PyExc_ValueError,
         key + "=" + value + ": ");
}

void DataObject::edit(const std::function<std::string()>& change, PyObject* errorType,
                      const std::string& what) {
    platform_->takeMessages();
    const std::string refusal = change();
    if (!refusal.empty()) {
        // The reason first: the messages before it say more about it.
        std::vector<std::string> messages = platform_->takeMessages();
        std::string text = what + refusal;
        for (const std::string& message : messages) text += "\n" + message;
        PyErr_SetString(errorType, text.c_str());
        throw py::error_already_set();
    }
    warnMessages(platform_->takeMessages());
}

py::object DataObject::get(const std::string& key) const {
    if (isRandomArgumentKey(key)) {
        if (!hasKey(key)) raiseKeyError(key);
        return py::str(lineValue(fileText(), key));
    }
    const QuantityRow* row = findQuantity(key);
    if (!row || row->kind == QuantityKind::Heading || row->kind == QuantityKind::RandomArguments)
        raiseKeyError(key);
    ShownData data = shown();
    const DataDocument doc = data.document();
    if (const double* real = realOf(*row, doc)) return py::float_(*real);
    if (const int* whole = wholeOf(*row, doc)) return py::int_(*whole);
    if (const std::string* text = textOf(*row, doc)) return py::str(*text);
    // The lines only the file's reader understands: the text after the key.
    return py::str(lineValue(fileText(), key));
}

bool DataObject::hasKey(const std::string& key) const {
    for (const std::string& known : keys())
        if (known == key) return true;
    return false;
}

std::vector<std::string> DataObject::keys() const {
    std::vector<std::string> out;
    for (const QuantityRow& row : quantitySchema()) {
        if (row.kind == QuantityKind::Heading) continue;
        if (row.kind != QuantityKind::RandomArguments) {
            out.emplace_back(row.key);
            continue;
        }
        for (std::size_t i = 0; i < state_->randomArguments.size(); ++i)
            out.push_back(cformat("%s_%d", row.key, static_cast<int>(i)));
    }
    return out;
}

std::string DataObject::unit(const std::string& key) const {
    const QuantityRow* row = findQuantity(key);
    if (isRandomArgumentKey(key) && hasKey(key)) return {};
    if (!row || row->kind == QuantityKind::Heading) raiseKeyError(key);
    return unitText(*row, state_->data, Notation::File);
}

std::shared_ptr<const DataSnapshot> DataObject::snapshot() const {
    return std::make_shared<const DataSnapshot>(
        DataSnapshot{state_->data, state_->run, state_->research, state_->randomArguments,
                     state_->paths.currentDataPath});
}

ShownData DataObject::shown(Platform* platform) const {
    ShownData shown{state_->data, state_->run, state_->research, state_->randomArguments};
    if (platform) {
        computeTheory(shown.data, *platform);
    } else {
        computeTheoryQuietly(shown.data);
    }
    return shown;
}

std::string DataObject::fileText() const {
    return formatDataFile(shown().document());
}

}  // namespace quorvane::python
