#pragma once
/// Progress of the batch runner on standard error: refreshed in place on a
/// terminal, one line per run otherwise.

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

    /// How far the work got, for a message when it ends early: e.g.
    /// "combination 3 of 16 (2 runs logged)".
    std::string howFar() const;

  private:
    void onStep(int step);
    void onRunEnded(int logCode);
    std::string status() const;

    Session& session_;
    std::FILE* out_;
    bool quiet_;
    bool terminal_;
    long long combination_ = 0;
    long long combinations_ = 0;
    const char* unit_ = "combination";
    int runs_ = 0;
    int rowsLogged_ = 0;
    std::chrono::steady_clock::time_point runStart_;
    std::chrono::steady_clock::time_point lastPrint_;
};

}  // namespace quorvane::batch
