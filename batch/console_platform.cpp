#include "batch/console_platform.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <thread>

namespace quorvane::batch {
namespace {

volatile std::sig_atomic_t gStopSignal = 0;

extern "C" void onStopSignal(int signal) {
    gStopSignal = signal;
}

}  // namespace

void ConsolePlatform::installSignalHandlers() {
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    // Past a file-size limit (ulimit -f) a write fails like any other and is cut
    // back; the default action would end the process in the middle of a row.
    std::signal(SIGXFSZ, SIG_IGN);
}

int ConsolePlatform::stopSignal() {
    return gStopSignal;
}

void ConsolePlatform::raiseStop(int signal) {
    gStopSignal = signal;
}

void ConsolePlatform::message(const std::string& text) {
    ++messagesShown_;
    std::fprintf(stderr, "%s%s\n", prefix_.c_str(), text.c_str());
}

bool ConsolePlatform::askYesNo(const std::string& text) {
    message(text + " (answered No: the batch runner asks nothing)");
    return false;
}

bool ConsolePlatform::askRetryCancel(const std::string& text) {
    if (text != lastQuestion_) message(text);
    lastQuestion_ = text;
    if (stopSignal() != 0) return false;
    sleepMilliseconds(1000);
    return true;
}

std::optional<std::string> ConsolePlatform::chooseFile(const FileQuestion&) {
    return std::nullopt;
}

void ConsolePlatform::openInDefaultProgram(const std::string&) {}

std::int64_t ConsolePlatform::nowSeconds() {
    return static_cast<std::int64_t>(std::time(nullptr));
}

std::tm ConsolePlatform::localTimeNow() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

void ConsolePlatform::sleepMilliseconds(int milliseconds) {
    // Sleep in small slices so that a stop signal is not kept waiting.
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < end && stopSignal() == 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

}  // namespace quorvane::batch
