#pragma once
/// The desktop's side of the platform interface: Qt message boxes, file
/// dialogs, the desktop services, the clipboard and the event queue.

#include <QObject>

#include "common/platform.h"

class QWidget;

namespace quorvane {

class QtPlatform : public Platform {
  public:
    explicit QtPlatform(QWidget* parent = nullptr) : parent_(parent) {}
    void setParentWidget(QWidget* parent) { parent_ = parent; }

    void message(const std::string& text) override;
    bool askYesNo(const std::string& text) override;
    bool askRetryCancel(const std::string& text) override;
    std::optional<std::string> chooseFile(const FileQuestion& question) override;
    void openInDefaultProgram(const std::string& pathOrUrl) override;
    void setClipboardText(const std::string& text) override;

    /// Qt cannot peek at its queue: one pass of event processing counts as the
    /// waiting message of a pump cycle, and a close request as a close message.
    /// Passes are paced to one every few milliseconds, so that a small field
    /// steps at the engine's own speed while the window stays live.
    bool messagePending() override;
    bool pendingMessageIsClose() override { return closeRequested_; }
    void dispatchMessage() override;
    void idle() override { dispatchedThisCycle_ = false; }

    std::int64_t nowSeconds() override;
    std::tm localTimeNow() override;
    void sleepMilliseconds(int milliseconds) override;

    /// The main window asks to close while a run may be going on.
    void requestClose() { closeRequested_ = true; }
    bool closeRequested() const { return closeRequested_; }

  private:
    QWidget* parent_ = nullptr;
    bool dispatchedThisCycle_ = false;
    std::int64_t lastPassMs_ = 0;
    bool closeRequested_ = false;
};

}  // namespace quorvane
