#pragma once
/// The platform of the Python module: the batch runner's console platform,
/// whose messages are kept for the caller (an exception, or warnings) rather
/// than printed, and whose message queue also hears Ctrl-C.

#include <pybind11/pybind11.h>

#include <atomic>
#include <chrono>
#include <ctime>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "batch/console_platform.h"

namespace quorvane::python {

namespace py = pybind11;

/// Ctrl-C during one call of the module. Only Python's main thread hears
/// signals, and only with the GIL: the watch asks there, at most every 100 ms,
/// whether a signal handler raised (Ctrl-C raises KeyboardInterrupt). A stop
/// also goes out through the batch runner's signal flag, so that the workers
/// of a study stop with the run on this thread, as under the runner itself.
class SignalWatch {
  public:
    /// With the GIL held, on the thread that makes the call. Runs no Python
    /// code: a signal arriving now is heard by the first look inside the call.
    SignalWatch();
    SignalWatch(const SignalWatch&) = delete;
    SignalWatch& operator=(const SignalWatch&) = delete;

    /// Without the GIL, from any thread: true once the call is to stop.
    bool stopRequested();
    /// With the GIL, after the call: the signal flag it raised is cleared, and
    /// the exception the signal handler raised is raised again.
    void conclude();
    bool stopped() const { return stopped_; }

  private:
    bool askPython();

    std::thread::id mainThread_;  ///< the calling thread when it is Python's main one
    bool listening_ = false;
    std::atomic<bool> stopped_{false};
    bool raisedFlag_ = false;
    std::chrono::steady_clock::time_point nextCheck_;
    std::shared_ptr<py::error_already_set> raised_;
};

class PythonPlatform : public batch::ConsolePlatform {
  public:
    /// Kept, without the runner's prefix, for the end of the call.
    void message(const std::string& text) override;
    bool messagePending() override;
    bool pendingMessageIsClose() override { return messagePending(); }
    /// The time, also kept: the log row a run wrote carries it.
    std::tm localTimeNow() override;

    /// The call's Ctrl-C watch (null: none).
    void setWatch(SignalWatch* watch) { watch_ = watch; }
    std::vector<std::string> takeMessages();
    std::tm lastLocalTime() const;

  private:
    mutable std::mutex mutex_;
    std::vector<std::string> messages_;
    std::tm lastTime_{};
    SignalWatch* watch_ = nullptr;
};

/// A call's end as Python sees it, after `work` returned the runner's exit
/// status: the signal's exception after Ctrl-C, ValueError for refused input
/// (status 2), OSError for a file that could not be written (status 1), each
/// with the messages of the call; on success the messages as warnings.
void conclude(int status, PythonPlatform& platform, SignalWatch& watch);

/// Runs `work` on this thread without the GIL, Ctrl-C heard through the
/// platform's message queue (the run loop pumps it between steps).
int callReleased(PythonPlatform& platform, SignalWatch& watch, const std::function<int()>& work);

/// Runs `work` on a thread of its own while this one waits without the GIL and
/// listens for Ctrl-C: for studies whose workers never pump this thread.
int callWatched(PythonPlatform& platform, SignalWatch& watch, const std::function<int()>& work);

/// Raises `type` with the messages of the platform and `text` after them.
[[noreturn]] void raiseWithMessages(PyObject* type, PythonPlatform& platform,
                                    const std::string& text);

/// Each message as a QuorvaneWarning.
void warnMessages(const std::vector<std::string>& messages);

/// The module's warning category, made at import.
void registerWarningCategory(py::module_& module);

/// Notes, at import, which thread is Python's main one (the one that hears signals).
void noteMainThread();

}  // namespace quorvane::python
