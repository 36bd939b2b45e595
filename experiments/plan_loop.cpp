// The plan experiment: Start, Test and Resume experiment, and the loop over
// the plan's combinations (or over a share of them) with its plan file.

#include <climits>

#include "experiments/experiment_runner.h"
#include "experiments/plan_positions.h"

namespace quorvane {

long long Share::firstFrom(long long position) const {
    if (!isShare() || position < 0) return position;
    const long long ahead = (index - position % count + count) % count;
    long long first = 0;
    return __builtin_add_overflow(position, ahead, &first) ? -1 : first;
}

void ExperimentRunner::StartExperiment(bool testMode) {
    state_.runState.testMode = testMode;
    if (hooks.refillPlanList) hooks.refillPlanList();
    state_.runState.experimentFlag = true;
    loop_.takeControls();
    PlanLoop();
    loop_.releaseControls();
    state_.runState.experimentFlag = false;
}

void ExperimentRunner::ResumeExperiment() {
    state_.runState.experimentFlag = true;
    loop_.takeControls();
    state_.research.values = reReadValues(state_.research);
    PlanLoop();
    loop_.releaseControls();
    state_.runState.experimentFlag = false;
}

long long ExperimentRunner::combinationCount() const {
    return quorvane::combinationCount(state_.plan).value_or(LLONG_MAX);
}

long long ExperimentRunner::combinationIndex() const {
    return currentPosition(state_.plan);
}

bool ExperimentRunner::nextCombination(ExperimentPlan& next, long long position,
                                       long long& nextPosition) const {
    if (!share.isShare()) {
        nextPosition = position + 1;
        return next.advance();
    }
    nextPosition = share.firstFrom(position + 1);
    if (nextPosition >= 0 && moveToPosition(next, nextPosition)) return true;
    moveToPosition(next, 0);
    return false;
}

void ExperimentRunner::PlanLoop() {
    RunState& rs = state_.runState;
    // Only a share can be finished: a whole plan that ran to its end is back
    // at its start, and Start experiment runs it again.
    if (!share.isShare()) planFile_.finished = false;
    if (planFile_.finished) return;  // every combination of this share has run
    const long long total = combinationCount();
    long long position = combinationIndex();
    bool any = true;
    if (share.isShare() && !share.has(position)) {
        // A share starts at its own first combination.
        position = share.firstFrom(position);
        any = position >= 0 && moveToPosition(state_.plan, position);
        if (!any) moveToPosition(state_.plan, 0);
        planFile_.finished = !any;
    }
    // The current values are on disk before the run, so that a stopped
    // experiment resumes at this combination. Without them a stop could not
    // be resumed, so the experiment ends at once (the message was shown).
    if (!planFile_.write()) {
        ++rs.planWriteFailures;
        rs.experimentFlag = false;
        return;
    }
    if (hooks.refillPlanList) hooks.refillPlanList();
    while (any && planCombination(position, total)) {
    }
}

bool ExperimentRunner::applyCombination() {
    bool taken = true;
    for (const parameter& p : state_.plan.parameters())
        taken = applyPlanValue(p.kind, p.current) && taken;
    refreshData();
    return taken;
}

bool ExperimentRunner::planCombination(long long& position, long long total) {
    RunState& rs = state_.runState;
    if (!applyCombination()) {
        // A value the data refuse (its message was shown) would run the
        // combination with the value before it: the experiment ends here, and
        // the plan still names this combination.
        ++rs.refusedRuns;
        rs.experimentFlag = false;
        return false;
    }
    if (hooks.combinationStarted) hooks.combinationStarted(position, total);
    // The plan file past this combination is written before its run, so that
    // after the run's rows only a rename is left: a full disk stops the
    // experiment before a run, never between its rows and the plan's next step.
    ExperimentPlan next = state_.plan;
    long long nextPosition = 0;
    const bool more = nextCombination(next, position, nextPosition);
    PendingFile nextFile;
    if (!planFile_.prepare(nextFile, next, share.isShare() && !more)) {
        ++rs.planWriteFailures;
        rs.experimentFlag = false;
        return false;
    }
    pumpBetweenRuns();
    runOrTestPause();
    pumpBetweenRuns();
    if (!rs.experimentFlag) return false;  // stopped: resume runs this combination again
    if (!planFile_.commit(nextFile)) {
        ++rs.planAdvanceFailures;
        rs.experimentFlag = false;
        return false;
    }
    // Every current value back at its start at the end; the file says so too,
    // or opening it again would run the last combination once more.
    state_.plan = next;
    planFile_.finished = share.isShare() && !more;
    if (hooks.refillPlanList) hooks.refillPlanList();
    position = nextPosition;
    return more;
}

}  // namespace quorvane
