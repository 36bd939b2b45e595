#include "batch/progress.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>

#include "common/cformat.h"
#include "engine/growth_regime.h"
#include "model/units.h"

namespace quorvane::batch {
namespace {

/// Steps over which the current rate is measured.
constexpr std::size_t kRateSteps = 2000;

std::string clockText(double seconds) {
    const long long s = static_cast<long long>(std::max(0.0, seconds) + 0.5);
    return s >= 3600 ? cformat("%lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60)
                     : cformat("%lld:%02lld", s / 60, s % 60);
}

/// A duration as people say it: seconds, a clock, or years for the hopeless.
std::string durationText(double seconds) {
    if (seconds < 60) return cformat("%.1f s", seconds);
    if (seconds < 100 * 3600.0) return clockText(seconds);
    if (seconds < 2 * 365.25 * 86400) return cformat("%.3g days", seconds / 86400);
    return cformat("%.3g years", seconds / (365.25 * 86400));
}

}  // namespace

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
    // Every row counts: the runs' own and the reduced rows of full runs.
    const int rows = session_.state.runState.rowsLogged;
    return where + cformat(" (%d row%s logged before)", rows, rows == 1 ? "" : "s");
}

double Progress::elapsedSeconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - runStart_).count();
}

double Progress::currentRateParts() const {
    const GrowthRecord& record = session_.state.results.record;
    const RunSettings& run = session_.state.run;
    const std::size_t n = record.count();
    // Continuous growth: every molecule that jumps in stays unless it leaves at once.
    const double continuous =
        run.Prob_in_at_step * (1 - std::exp(-session_.state.data.General_Suupercooling));
    if (n < 2 || !(continuous > 0)) return 0;
    const std::size_t span = std::min(n - 1, kRateSteps);
    const double perStep = (record.height(n - 1) - record.height(n - 1 - span)) / span;
    return perStep / continuous;
}

double Progress::secondsToNearestStop(std::string& which) const {
    const RunSettings& run = session_.state.run;
    const double elapsed = elapsedSeconds();
    const double height = std::fabs(session_.state.engine.mean_height());
    const int steps = session_.state.runState.step_count;
    double best = -1;
    auto consider = [&](double seconds, const char* name) {
        if (!(seconds >= 0) || !std::isfinite(seconds)) return;
        if (best < 0 || seconds < best) {
            best = seconds;
            which = name;
        }
    };
    if (run.Is_any_limits != 1) {
        if (run.Is_time_simulattion_limit)
            consider(run.Time_simulattion_limit * 60 - elapsed, "time limit");
        if (run.Is_time_simulattion_limit_first_layer && height < 1)
            consider(run.Time_simulattion_limit_first_layer * 60 - elapsed, "first-layer limit");
        if (run.Is_layers_limit && height > 0 && elapsed > 0)
            consider((run.Layers_limit - height) / (height / elapsed), "layer limit");
    }
    if (stepLimit_ > 0 && steps > 0 && elapsed > 0)
        consider((stepLimit_ - steps) / (steps / elapsed), "--steps");
    return best;
}

std::string Progress::status() const {
    const RunState& rs = session_.state.runState;
    std::string text;
    if (combinations_ > 0) text = cformat("%s %lld of %lld: ", unit_, combination_, combinations_);
    text += cformat("step %d, %.2f layers, rate %.3g %% of continuous, %s elapsed", rs.step_count,
                    session_.state.engine.mean_height(), currentRateParts() * 100,
                    clockText(elapsedSeconds()).c_str());
    std::string which;
    const double eta = secondsToNearestStop(which);
    if (eta >= 0) text += cformat(", %s to the %s", clockText(eta).c_str(), which.c_str());
    return text;
}

std::string Progress::slowGrowthHint() const {
    const PhysicalData& d = session_.state.data;
    const GrowthRecord& record = session_.state.results.record;
    const double elapsed = elapsedSeconds();
    std::string text = cformat(
        "The run is growing slowly: no layer has completed after %s of computing. At the "
        "supercooling dG' = %.4g and the surface energy Sm' = %.4g",
        durationText(elapsed).c_str(), d.General_Suupercooling, d.General_Surface_Energy);
    if (d.Va_continues > 0 && d.Va_nuclei >= 0) {
        // Layers grow by two-dimensional nuclei when the surface stays flat:
        // the theory's nucleation rate against the continuous one says how rare they are.
        const double share = d.Va_nuclei / d.Va_continues;
        text += cformat(
            ", the theory expects growth by two-dimensional nucleation at %.3g of "
            "the continuous rate",
            share);
        const double layerSeconds =
            d.Va_nuclei > 0 ? d.Size_A / d.Va_nuclei * SecondsPerTimeUnit(d.time) : INFINITY;
        const double simulated = record.count() > 0 ? record.time(record.count() - 1) : 0;
        if (std::isfinite(layerSeconds) && simulated > 0 && elapsed > 0) {
            text += cformat(
                ": a layer about every %.3g s of simulated time, while this run "
                "simulates %.3g s in each second of computing, so about %s per layer",
                layerSeconds, simulated / elapsed,
                durationText(layerSeconds / (simulated / elapsed)).c_str());
        }
    }
    return text + ". A larger supercooling (--set General_Suupercooling=...) grows faster.";
}

void Progress::onStep(int step) {
    auto now = std::chrono::steady_clock::now();
    if (step == 1) {
        runStart_ = now;
        hintShown_ = false;
    }
    if ((step & 255) != 0 && step != 1 && !terminal_) return;
    // Once a tenth of the time limit has passed without a layer, say why.
    const RunSettings& run = session_.state.run;
    if (!hintShown_ && run.Is_time_simulattion_limit && run.Is_any_limits != 1 &&
        elapsedSeconds() >= run.Time_simulattion_limit * 6 &&
        std::fabs(session_.state.engine.mean_height()) < 1) {
        hintShown_ = true;
        std::fprintf(out_, "%s%s\n", terminal_ ? "\r\033[K" : "", slowGrowthHint().c_str());
    }
    if (step == 1) lastPrint_ = now;
    if (!terminal_) {
        // A log file (a batch job's standard error) gets a line every half minute.
        if (now - lastPrint_ < std::chrono::seconds(30)) return;
        lastPrint_ = now;
        std::fprintf(out_, "%s\n", status().c_str());
        std::fflush(out_);
        return;
    }
    // A terminal line is refreshed at most five times a second.
    if (step != 1 && now - lastPrint_ < std::chrono::milliseconds(200)) return;
    lastPrint_ = now;
    std::fprintf(out_, "\r%s\033[K", status().c_str());
    std::fflush(out_);
}

void Progress::onRunEnded(int logCode) {
    ++runs_;
    // The loop calls this after writing the row, so a failure is counted by now.
    const int failures = session_.state.runState.logFailures;
    const bool lost = failures > logFailuresSeen_;
    logFailuresSeen_ = failures;
    if (quiet_) return;
    std::string how = logCode < 0 ? "paused"
                      : lost      ? cformat("ended with event %d, its row NOT written", logCode)
                                  : cformat("logged with event %d", logCode);
    const std::string regime = growthRegimeText(session_.state.results.evaluation.regime);
    std::fprintf(out_, "%srun %d %s: %s, growth regime %s\n", terminal_ ? "\r\033[K" : "", runs_,
                 how.c_str(), status().c_str(), regime.c_str());
    std::fflush(out_);
}

}  // namespace quorvane::batch
