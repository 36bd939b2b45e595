#pragma once
// A platform for tests: records every message, answers questions from queues,
// and delivers scripted window messages at chosen pump cycles.

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "common/platform.h"

namespace quorvane::testing {

class ScriptedPlatform : public Platform {
  public:
    /// One queued window message: a close request, or a command to run.
    struct Message {
        bool isClose = false;
        std::function<void()> action;
    };

    std::vector<std::string> messages;                   ///< every message shown, in order
    std::vector<std::string> questions;                  ///< every question asked, in order
    std::deque<bool> yesNoAnswers;                       ///< answers; empty queue answers No
    std::deque<bool> retryAnswers;                       ///< answers; empty queue answers Cancel
    std::deque<std::optional<std::string>> fileAnswers;  ///< empty queue cancels
    std::vector<FileQuestion> fileQuestions;
    std::vector<std::string> opened;
    std::string clipboard;

    /// Messages delivered at the start of pump cycle k (cycles are counted by
    /// idle() calls: cycle 0 is the first pump).
    std::map<int, std::vector<Message>> schedule;
    std::deque<Message> queue;
    int cycle = 0;
    int dispatched = 0;

    std::int64_t clockSeconds = 1'000'000'000;  ///< nowSeconds(); tests move it
    std::tm localTime = makeTime(2011, 3, 3, 14, 5, 9);
    int sleptMilliseconds = 0;

    static std::tm makeTime(int year, int month, int day, int hour, int minute, int second) {
        std::tm t{};
        t.tm_year = year - 1900;
        t.tm_mon = month - 1;
        t.tm_mday = day;
        t.tm_hour = hour;
        t.tm_min = minute;
        t.tm_sec = second;
        return t;
    }

    void message(const std::string& text) override { messages.push_back(text); }
    bool askYesNo(const std::string& text) override {
        questions.push_back(text);
        return pop(yesNoAnswers, false);
    }
    bool askRetryCancel(const std::string& text) override {
        questions.push_back(text);
        return pop(retryAnswers, false);
    }
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

    bool messagePending() override {
        deliverScheduled();
        return !queue.empty();
    }
    bool pendingMessageIsClose() override {
        deliverScheduled();
        return !queue.empty() && queue.front().isClose;
    }
    void dispatchMessage() override {
        deliverScheduled();
        if (queue.empty()) return;
        Message next = std::move(queue.front());
        queue.pop_front();
        ++dispatched;
        if (next.action) next.action();
    }
    void idle() override { ++cycle; }

    std::int64_t nowSeconds() override { return clockSeconds; }
    std::tm localTimeNow() override { return localTime; }
    void sleepMilliseconds(int milliseconds) override { sleptMilliseconds += milliseconds; }

    /// Schedules a command at pump cycle k.
    void at(int k, std::function<void()> action) {
        schedule[k].push_back({false, std::move(action)});
    }
    /// Schedules a close request at pump cycle k.
    void closeAt(int k) { schedule[k].push_back({true, nullptr}); }

  private:
    template <typename T>
    static T pop(std::deque<T>& answers, T fallback) {
        if (answers.empty()) return fallback;
        T answer = answers.front();
        answers.pop_front();
        return answer;
    }

    void deliverScheduled() {
        auto found = schedule.find(cycle);
        if (found == schedule.end()) return;
        for (auto& message : found->second) queue.push_back(std::move(message));
        schedule.erase(found);
    }
};

}  // namespace quorvane::testing
