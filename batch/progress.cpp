#include "batch/progress.h"

#include <unistd.h>

#include "common/cformat.h"
#include "engine/growth_regime.h"

namespace quorvane::batch {

Progress::Progress(Session& session, bool quiet, std::FILE* out)
    : session_(session), out_(out), quiet_(quiet), terminal_(isatty(fileno(out)) != 0) {
    session_.loop.hooks.runEnded = [this](int code) { onRunEnded(code); };
    if (quiet_) return;
    session_.loop.hooks.stepDone = [this](int step) { onStep(step); };
}

void Progress::setCombination(long long k, long long n) {
    combination_ = k;
    combinations_ = n;
    unit_ = "combination";
}

void Progress::setDraw(long long k, long long n) {
    combination_ = k;
    combinations_ = n;
    unit_ = "draw";
}

std::string Progress::howFar() const {
    std::string where;
    if (combination_ > 0) {
        where = combinations_ > 0 ? cformat("%s %lld of %lld", unit_, combination_, combinations_)
                                  : cformat("%s %lld", unit_, combination_);
    } else {
        where = "the first run";
    }
    return where + cformat(" (%d run%s logged before)", rowsLogged_, rowsLogged_ == 1 ? "" : "s");
}

std::string Progress::status() const {
    const RunState& rs = session_.state.runState;
    auto seconds = std::chrono::duration_cast<std::chrono::seconds>(
                       std::chrono::steady_clock::now() - runStart_)
                       .count();
    std::string text;
    if (combinations_ > 0) text = cformat("%s %lld of %lld: ", unit_, combination_, combinations_);
    text += cformat("step %d, %.2f layers, %lld:%02lld elapsed", rs.step_count,
                    session_.state.engine.mean_height(), static_cast<long long>(seconds / 60),
                    static_cast<long long>(seconds % 60));
    return text;
}

void Progress::onStep(int step) {
    auto now = std::chrono::steady_clock::now();
    if (step == 1) runStart_ = now;
    if (!terminal_) return;
    // A terminal line is refreshed at most five times a second.
    if (step != 1 && now - lastPrint_ < std::chrono::milliseconds(200)) return;
    lastPrint_ = now;
    std::fprintf(out_, "\r%s\033[K", status().c_str());
    std::fflush(out_);
}

void Progress::onRunEnded(int logCode) {
    ++runs_;
    if (logCode >= 0) ++rowsLogged_;
    if (quiet_) return;
    std::string how = logCode < 0 ? "paused" : cformat("logged with event %d", logCode);
    const char* regime = growthRegimeWord(session_.state.results.evaluation.regime.regime);
    std::fprintf(out_, "%srun %d %s: %s, growth regime %s\n", terminal_ ? "\r\033[K" : "", runs_,
                 how.c_str(), status().c_str(), regime);
    std::fflush(out_);
}

}  // namespace quorvane::batch
