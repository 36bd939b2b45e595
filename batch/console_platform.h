#pragma once
/// The batch runner's platform: messages go to standard error, nothing is
/// asked twice, and SIGINT or SIGTERM arrive as a request to close.

#include <csignal>
#include <string>
#include <utility>

#include "common/platform.h"

namespace quorvane::batch {

class ConsolePlatform : public Platform {
  public:
    /// `prefix` is put before every message (a worker of --jobs names itself).
    explicit ConsolePlatform(std::string prefix = {}) : prefix_(std::move(prefix)) {}

    /// Installs the handlers of SIGINT and SIGTERM.
    static void installSignalHandlers();
    /// The signal that asked the runner to stop, or 0.
    static int stopSignal();
    /// For tests: behave as if this signal had arrived (0 clears it).
    static void raiseStop(int signal);

    void message(const std::string& text) override;
    bool askYesNo(const std::string& text) override;
    /// A locked log is retried after a second, without asking; the text is shown once.
    bool askRetryCancel(const std::string& text) override;
    std::optional<std::string> chooseFile(const FileQuestion& question) override;
    void openInDefaultProgram(const std::string& pathOrUrl) override;

    bool messagePending() override { return stopSignal() != 0; }
    bool pendingMessageIsClose() override { return stopSignal() != 0; }
    void dispatchMessage() override {}

    std::int64_t nowSeconds() override;
    std::tm localTimeNow() override;
    void sleepMilliseconds(int milliseconds) override;

    int messagesShown() const { return messagesShown_; }

  private:
    std::string prefix_;
    std::string lastQuestion_;
    int messagesShown_ = 0;
};

}  // namespace quorvane::batch
