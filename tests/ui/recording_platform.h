#pragma once
// The desktop platform with its dialogs answered by the test: messages are
// recorded, file questions answered from a queue, opened pages and the
// clipboard kept. The event pump stays Qt's own.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "ui/qt_platform.h"

namespace quorvane::testing {

class RecordingPlatform : public QtPlatform {
  public:
    std::vector<std::string> messages;
    std::deque<std::optional<std::string>> fileAnswers;  ///< empty queue cancels
    std::vector<FileQuestion> fileQuestions;
    std::vector<std::string> opened;
    std::string clipboard;

    void message(const std::string& text) override { messages.push_back(text); }
    bool askYesNo(const std::string&) override { return false; }
    bool askRetryCancel(const std::string&) override { return false; }
    std::optional<std::string> chooseFile(const FileQuestion& question) override {
        fileQuestions.push_back(question);
        if (fileAnswers.empty()) return std::nullopt;
        auto answer = fileAnswers.front();
        fileAnswers.pop_front();
        return answer;
    }
    void openInDefaultProgram(const std::string& pathOrUrl) override {
        opened.push_back(pathOrUrl);
    }
    void setClipboardText(const std::string& text) override { clipboard = text; }
};

}  // namespace quorvane::testing
