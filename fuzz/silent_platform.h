#pragma once
// A platform for fuzz targets: every message is dropped, every question
// answered No or Cancel, and the clock stands still.

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

#include "common/platform.h"

namespace quorvane::fuzzing {

class SilentPlatform : public Platform {
  public:
    int messages = 0;

    void message(const std::string&) override { ++messages; }
    bool askYesNo(const std::string&) override { return false; }
    bool askRetryCancel(const std::string&) override { return false; }
    std::optional<std::string> chooseFile(const FileQuestion&) override { return std::nullopt; }
    void openInDefaultProgram(const std::string&) override {}
    bool messagePending() override { return false; }
    bool pendingMessageIsClose() override { return false; }
    void dispatchMessage() override {}
    std::int64_t nowSeconds() override { return 1'000'000'000; }
    std::tm localTimeNow() override {
        std::tm t{};
        t.tm_year = 111;
        t.tm_mon = 2;
        t.tm_mday = 3;
        return t;
    }
    void sleepMilliseconds(int) override {}
};

}  // namespace quorvane::fuzzing
