#pragma once
// The desktop platform for widget tests: the real event pump, with messages
// recorded instead of shown and file questions answered from a queue.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "ui/qt_platform.h"

namespace quorvane::testing {

class UiTestPlatform : public QtPlatform {
  public:
    std::vector<std::string> messages;
    std::deque<std::optional<std::string>> fileAnswers;

    void message(const std::string& text) override { messages.push_back(text); }
    bool askYesNo(const std::string& text) override {
        messages.push_back(text);
        return false;
    }
    bool askRetryCancel(const std::string& text) override {
        messages.push_back(text);
        return false;
    }
    std::optional<std::string> chooseFile(const FileQuestion&) override {
        if (fileAnswers.empty()) return std::nullopt;
        auto answer = fileAnswers.front();
        fileAnswers.pop_front();
        return answer;
    }
    void openInDefaultProgram(const std::string&) override {}
};

}  // namespace quorvane::testing
