#include "python/python_platform.h"

#include <csignal>
#include <future>

#include "batch/batch_app.h"

namespace quorvane::python {
namespace {

/// How often the main thread asks Python for a signal: Ctrl-C is answered
/// within this, and taking the GIL from a busy Python thread (up to its 5 ms
/// switch interval) costs at most a few percent of it.
constexpr auto kSignalPeriod = std::chrono::milliseconds(100);

/// Python's main thread, noted once at import; it never changes after.
std::atomic<unsigned long>& mainThreadIdent() {
    static std::atomic<unsigned long> ident{0};
    return ident;
}

std::string withoutRunnerPrefix(const std::string& text) {
    const std::string prefix = batch::kComplaintPrefix;
    return text.rfind(prefix, 0) == 0 ? text.substr(prefix.size()) : text;
}

/// The platform hears the watch for the length of a call, however it ends.
class Listening {
  public:
    Listening(PythonPlatform& platform, SignalWatch& watch) : platform_(platform) {
        platform_.setWatch(&watch);
    }
    ~Listening() { platform_.setWatch(nullptr); }
    Listening(const Listening&) = delete;
    Listening& operator=(const Listening&) = delete;

  private:
    PythonPlatform& platform_;
};

}  // namespace

void noteMainThread() {
    py::object main = py::module_::import("threading").attr("main_thread")();
    mainThreadIdent() = main.attr("ident").cast<unsigned long>();
}

SignalWatch::SignalWatch()
    : mainThread_(std::this_thread::get_id()),
      listening_(PyThread_get_thread_ident() == mainThreadIdent()) {}

bool SignalWatch::stopRequested() {
    if (stopped_) return true;
    if (!listening_ || std::this_thread::get_id() != mainThread_) return false;
    const auto now = std::chrono::steady_clock::now();
    if (now < nextCheck_) return false;
    nextCheck_ = now + kSignalPeriod;
    if (!askPython()) return false;
    stopped_ = true;
    if (batch::ConsolePlatform::stopSignal() == 0) {
        batch::ConsolePlatform::raiseStop(SIGINT);
        raisedFlag_ = true;
    }
    return true;
}

bool SignalWatch::askPython() {
    py::gil_scoped_acquire gil;
    if (PyErr_CheckSignals() == 0) return false;
    raised_ = std::make_shared<py::error_already_set>();
    return true;
}

void SignalWatch::conclude() {
    if (raisedFlag_) batch::ConsolePlatform::raiseStop(0);
    raisedFlag_ = false;
    if (raised_) {
        const std::shared_ptr<py::error_already_set> raised = std::move(raised_);
        throw py::error_already_set(*raised);
    }
}

void PythonPlatform::message(const std::string& text) {
    std::lock_guard lock(mutex_);
    messages_.push_back(withoutRunnerPrefix(text));
}

bool PythonPlatform::messagePending() {
    if (ConsolePlatform::messagePending()) return true;
    return watch_ != nullptr && watch_->stopRequested();
}

std::tm PythonPlatform::localTimeNow() {
    const std::tm now = ConsolePlatform::localTimeNow();
    std::lock_guard lock(mutex_);
    lastTime_ = now;
    return now;
}

std::vector<std::string> PythonPlatform::takeMessages() {
    std::lock_guard lock(mutex_);
    return std::exchange(messages_, {});
}

std::tm PythonPlatform::lastLocalTime() const {
    std::lock_guard lock(mutex_);
    return lastTime_;
}

void raiseWithMessages(PyObject* type, PythonPlatform& platform, const std::string& text) {
    std::string all;
    for (const std::string& message : platform.takeMessages())
        all += (all.empty() ? "" : "\n") + message;
    if (!text.empty()) all += (all.empty() ? "" : "\n") + text;
    PyErr_SetString(type, all.c_str());
    throw py::error_already_set();
}

void warnMessages(const std::vector<std::string>& messages) {
    if (messages.empty()) return;
    py::object category = py::module_::import("quorvane").attr("QuorvaneWarning");
    for (const std::string& message : messages)
        if (PyErr_WarnEx(category.ptr(), message.c_str(), 1) != 0) throw py::error_already_set();
}

void registerWarningCategory(py::module_& module) {
    module.attr("QuorvaneWarning") = py::reinterpret_steal<py::object>(PyErr_NewExceptionWithDoc(
        "quorvane.QuorvaneWarning",
        "What the program would have shown in a message box while a call went well.",
        PyExc_UserWarning, nullptr));
}

void conclude(int status, PythonPlatform& platform, SignalWatch& watch) {
    watch.conclude();
    if (status >= 128) {
        // Stopped by Ctrl-C heard elsewhere (a study on another thread).
        PyErr_SetNone(PyExc_KeyboardInterrupt);
        throw py::error_already_set();
    }
    if (status == batch::kExitDone) {
        warnMessages(platform.takeMessages());
        return;
    }
    raiseWithMessages(status == batch::kExitLogFailed ? PyExc_OSError : PyExc_ValueError, platform,
                      "");
}

int callReleased(PythonPlatform& platform, SignalWatch& watch, const std::function<int()>& work) {
    Listening listening(platform, watch);
    py::gil_scoped_release release;
    return work();
}

int callWatched(PythonPlatform& platform, SignalWatch& watch, const std::function<int()>& work) {
    Listening listening(platform, watch);
    std::packaged_task<int()> task(work);
    std::future<int> done = task.get_future();
    {
        py::gil_scoped_release release;
        std::thread worker(std::move(task));
        while (done.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready)
            watch.stopRequested();
        worker.join();
    }
    return done.get();
}

}  // namespace quorvane::python
