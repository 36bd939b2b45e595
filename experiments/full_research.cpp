// The full research for a molecule of a given shape: at each of nineteen
// supercoolings, the surface energies at which growth stops and at which it is
// as fast as continuous growth are bracketed, then the span between them is
// scanned.

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "engine/contact_geometry.h"
#include "experiments/experiment_runner.h"
#include "model/data_rules.h"

namespace quorvane {

/// The surface energies tried at one supercooling, with their rates as parts of
/// continuous growth.
class ResearchTrials {
  public:
    /// The largest energy tried whose rate is at most `part` (A) and the
    /// smallest whose rate is at least it (B), where there are such.
    struct Bracket {
        bool hasA = false, hasB = false;
        double A = 0, B = 0;
        double middle() const { return ((hasA ? A : 1e40) + (hasB ? B : -1e40)) / 2; }
        bool any() const { return hasA || hasB; }
    };

    void add(double sigma, double rate) { tried_.emplace_back(sigma, rate); }
    double lastRate() const { return tried_.back().second; }

    Bracket bracket(double part) const {
        Bracket br;
        for (auto [sigma, y] : tried_) {
            if (y <= part && (!br.hasA || sigma < br.A)) br = {true, br.hasB, sigma, br.B};
            if (y >= part && (!br.hasB || sigma > br.B)) br = {br.hasA, true, br.A, sigma};
        }
        return br;
    }

    bool wasTried(double sigma) const {
        return std::any_of(tried_.begin(), tried_.end(),
                           [&](auto& t) { return std::fabs(t.first - sigma) <= 0.00001; });
    }

  private:
    std::vector<std::pair<double, double>> tried_;
};

namespace {

/// A round step of about a tenth of the span to scan.
double scanStep(double tenth) {
    return tenth > 1      ? std::trunc(tenth)
           : tenth > 0.5  ? 0.5
           : tenth > 0.25 ? 0.25
           : tenth > 0.2  ? 0.2
                          : tenth;
}

}  // namespace

void ExperimentRunner::FullResearchForShape() {
    RunState& rs = state_.runState;
    state_.research.values = reReadValues(state_.research);
    rs.experimentFlag = true;
    loop_.takeControls();
    for (double delta : kResearchSupercoolings) {
        if (!rs.experimentFlag) break;
        searchSurfaceEnergy(delta);
    }
    rs.experimentFlag = false;
    loop_.releaseControls();
}

bool ExperimentRunner::researchTrial(ResearchTrials& trials, double sigma) {
    setField(static_cast<int>(DataField::GeneralSurfaceEnergy), sigma);
    const bool going = planStyleRun();
    trials.add(sigma, state_.results.current.avRatePercent * 0.01);
    return going && state_.runState.experimentFlag;
}

/// Brackets the surface energy at which the rate falls to `part` of continuous
/// growth, halving the bracket (or widening it) for at most ten runs.
bool ExperimentRunner::bracketRate(ResearchTrials& trials, double& next, double part) {
    for (int runs = 0; runs < 10; ++runs) {
        if (!researchTrial(trials, next)) return false;
        const ResearchTrials::Bracket br = trials.bracket(part);
        if (br.hasA && br.hasB) {
            next = (br.A + br.B) / 2;
            if (trials.wasTried(next)) {
                const double r = 0.25 + 0.5 * standardUniform();
                next = (1 - r) * br.B + r * br.A;
            }
            if (std::fabs(br.B - br.A) * 2 / std::fabs(br.A + br.B) <= 0.02) break;
        } else if (br.hasA) {
            next = br.A / 2;
        } else if (br.hasB) {
            next = 2 * br.B;
        } else {
            break;  // no usable rate at all
        }
    }
    return true;
}

void ExperimentRunner::searchSurfaceEnergy(double delta) {
    setField(static_cast<int>(DataField::GeneralSupercooling), delta);
    const double d = 1 - 2 * bottomFaceShare(state_.data);
    const double lo = d != 0 ? delta / d : delta;
    const double hi = d != 0 ? (delta + 5) / d : 5 * delta;
    double next = (lo + hi) / 2;
    ResearchTrials trials;
    if (!bracketRate(trials, next, 0.005)) return;
    const ResearchTrials::Bracket stop = trials.bracket(0.005);
    if (!stop.any()) return;
    if (!bracketRate(trials, next, 0.97)) return;
    const ResearchTrials::Bracket cont = trials.bracket(0.97);
    if (!cont.any()) return;
    const double sigmaStop = stop.middle(), sigmaCont = cont.middle();
    if (!(sigmaStop > sigmaCont)) return;
    const double D = scanStep((sigmaStop - sigmaCont) / 10);
    if (!(std::fabs(D) >= 1e-20)) return;
    scanSurfaceEnergies(trials, D * std::trunc(sigmaCont / D), 1 + D * std::trunc(sigmaStop / D), D,
                        d, delta);
}

void ExperimentRunner::scanSurfaceEnergies(ResearchTrials& trials, double from, double to,
                                           double step, double d, double delta) {
    int scans = 0;
    for (double sigma = from; sigma <= to && scans < 41; sigma += step) {
        ++scans;
        if (!researchTrial(trials, sigma)) return;
        // Far past the point where growth stops: the rest of the scan would only confirm it.
        if (trials.lastRate() < 0.005 && std::exp(d * sigma - delta) > 30 && scans >= 5) return;
    }
}

}  // namespace quorvane
