#pragma once
/// Progress of the batch runner on standard error: refreshed in place on a
/// terminal, one line per run otherwise. It says how far the run has grown,
/// how fast against continuous growth, when the nearest stop condition comes,
/// and, once, why a run that completes no layer is growing so slowly.

#include <chrono>
#include <cstdio>
#include <string>

#include "experiments/session.h"

namespace quorvane::batch {

class Progress {
  public:
    /// Attaches to the session's hooks; `quiet` prints nothing.
    Progress(Session& session, bool quiet, std::FILE* out = stderr);

    /// The combination of a plan now running (1-based k of n).
    void setCombination(long long k, long long n);
    /// The draw of a general experiment now running (1-based k of n; n 0: no end).
    void setDraw(long long k, long long n);
    /// The --steps limit of a single simulation (0: none), one of the stop conditions.
    void setStepLimit(long long steps) { stepLimit_ = steps; }

    /// How far the work got, for a message when it ends early: e.g.
    /// "combination 3 of 16 (6 rows logged before)".
    std::string howFar() const;

    /// The line shown during a run.
    std::string status() const;
    /// The explanation of a run that has completed no layer, from the theory
    /// of the data: two-dimensional nucleation against continuous growth.
    std::string slowGrowthHint() const;

  private:
    void onStep(int step);
    void onRunEnded(int logCode);
    double elapsedSeconds() const;
    /// Growth over the last steps as a part of continuous growth.
    double currentRateParts() const;
    /// Seconds to the nearest stop condition and its name; negative when unknown.
    double secondsToNearestStop(std::string& which) const;

    Session& session_;
    std::FILE* out_;
    bool quiet_;
    bool terminal_;
    long long combination_ = 0;
    long long combinations_ = 0;
    const char* unit_ = "combination";
    long long stepLimit_ = 0;
    int runs_ = 0;
    int logFailuresSeen_ = 0;
    bool hintShown_ = false;
    std::chrono::steady_clock::time_point runStart_;
    std::chrono::steady_clock::time_point lastPrint_;
};

}  // namespace quorvane::batch
