#pragma once
/// What the desktop supplies to the core: messages, questions, file choice, the
/// message queue and the clock. The Qt program, the batch runner and the tests
/// each implement it; nothing below the widgets knows which one it talks to.

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

namespace quorvane {

/// An open/save file question as the program asks it.
struct FileQuestion {
    std::string title;          ///< e.g. "Select data file"
    std::string filter;         ///< e.g. "*.csv"
    std::string initialName;    ///< e.g. "*.csv"
    std::string initialFolder;  ///< empty: the current directory
    bool forSaving = false;
};

class Platform {
  public:
    virtual ~Platform() = default;

    /// A plain message box without a title.
    virtual void message(const std::string& text) = 0;
    /// Yes/No question; true for Yes.
    virtual bool askYesNo(const std::string& text) = 0;
    /// Retry/Cancel question; true for Retry.
    virtual bool askRetryCancel(const std::string& text) = 0;
    /// The open/save file dialog; nullopt when cancelled.
    virtual std::optional<std::string> chooseFile(const FileQuestion& question) = 0;
    /// Opens a file or a web address in its default program.
    virtual void openInDefaultProgram(const std::string& pathOrUrl) = 0;
    /// Puts a text on the clipboard.
    virtual void setClipboardText(const std::string& text) { (void)text; }

    // The message queue, as the run loop sees it between two steps.
    /// True while a window message is waiting.
    virtual bool messagePending() = 0;
    /// True when the waiting message asks the program to quit, close or be destroyed.
    virtual bool pendingMessageIsClose() = 0;
    /// Handles the waiting message; a command it carries may change the run state.
    virtual void dispatchMessage() = 0;
    /// Idle processing once the queue is empty.
    virtual void idle() {}

    /// Wall-clock seconds (time_t).
    virtual std::int64_t nowSeconds() = 0;
    /// The local calendar time now.
    virtual std::tm localTimeNow() = 0;
    /// Waits, keeping the program responsive where it can.
    virtual void sleepMilliseconds(int milliseconds) = 0;

    /// Handles every waiting message (used between runs, never inside a step).
    void handlePendingMessages() {
        while (messagePending() && !pendingMessageIsClose()) dispatchMessage();
        idle();
    }
};

}  // namespace quorvane
