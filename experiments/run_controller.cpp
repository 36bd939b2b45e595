#include "experiments/run_controller.h"

#include <cmath>

#include "experiments/engine_messages.h"
#include "experiments/regime_table.h"
#include "experiments/run_log.h"
#include "experiments/run_record_fill.h"
#include "model/probabilities.h"
#include "model/units.h"

namespace quorvane {

bool RunController::PrepareNewRun() {
    RunState& rs = state_.runState;
    const PhysicalData& d = state_.data;
    const RunSettings& run = state_.run;
    const std::int64_t now = platform_.nowSeconds();

    if (!initEngine()) {
        ++rs.refusedRuns;
        return false;
    }
    state_.results.runData = d;
    state_.results.runSettings = run;
    rs.startTime = now;
    rs.elapsedSeconds = 0;
    rs.elapsedRemainderSeconds = 0;
    rs.elapsedMinutes = 0;
    state_.results.record.Reset(
        GrowthRecord::kGrowthIncrement,
        RecordParameters::make(run.Time_step, TimeUnitsPerSecond(d.time), run.N_field_W,
                               run.N_field_H, run.N_in_per_step, d.Size_A));
    state_.results.evaluation = RunEvaluation{};
    if (hooks.resetViewpoint) hooks.resetViewpoint();
    rs.step_count = 0;
    rs.finished = false;
    rs.interrupted = false;
    rs.runFlag = true;
    return true;
}

bool RunController::initEngine() {
    auto inputs = makeEngineInputs(state_.data, state_.run);
    InitStatus status = inputs
                            ? state_.engine.InitRun(inputs->E0, inputs->E8, inputs->Pint, inputs->a,
                                                    inputs->b, inputs->c, inputs->W, inputs->H,
                                                    inputs->edgeWeight, inputs->vertexWeight)
                            : InitStatus::BadRate;
    if (status != InitStatus::Ok)
        platform_.message(inputs ? engineRefusalMessage(status) : kProbabilityNotANumber);
    return status == InitStatus::Ok;
}

void RunController::StartNewSingleSimulation() {
    RunState& rs = state_.runState;
    takeControls();
    rs.runFlag = true;
    rs.finished = false;
    rs.singleSimulation = true;
    setPauseButton(PauseButton::Stop);
    if (!PrepareNewRun()) {
        // Nothing started: the previous run, if any, stays as it was.
        rs.runFlag = false;
        rs.finished = true;
        setPauseButton(PauseButton::Resume);
        releaseControls();
        return;
    }
    FillRunRecord();
    if (hooks.repaintAll) {
        // The windows show the new field before the first step.
        hooks.repaintAll();
        platform_.sleepMilliseconds(100);
        hooks.repaintAll();
    }
    StartLoop();
}

void RunController::StartLoop() {
    setPauseButton(PauseButton::Stop);
    state_.runState.controlsEnabled = false;
    notifyControls();
    state_.runState.runFlag = true;
    RunLoop();
}

void RunController::ContinueLoop() {
    state_.runState.runFlag = true;
    RunLoop();
}

int RunController::RunLoop() {
    RunState& rs = state_.runState;
    const RunSettings& run = state_.run;
    const double dt = run.Time_step / TimeUnitsPerSecond(state_.data.time);  // seconds
    const bool porous = run.Is_includes_porosity != 0;
    rs.finished = false;
    rs.loopActive = true;
    if (rs.step_count >= kMaxRunSteps) {
        rs.loopActive = false;
        return 0;
    }
    for (;;) {
        if (!rs.runFlag) {
            haltedByButton();
            return 0;
        }
        StepResult step = porous ? state_.engine.StepPorous() : state_.engine.StepPlain();
        ++rs.step_count;
        state_.results.record.Append(dt, step.meanHeight, step.roughness,
                                     porous ? step.porosity : 0.0, porous);
        if (hooks.stepDone) hooks.stepDone(rs.step_count);
        if (endsAfterStep()) return 0;
    }
}

void RunController::haltedByButton() {
    // The field and the record stay for a resume.
    RunState& rs = state_.runState;
    rs.endTime = platform_.nowSeconds();
    rs.loopActive = false;
    FillRunRecord();
    EvaluateRun();
    rs.experimentFlag = false;
    rs.finished = true;
    if (hooks.runEnded) hooks.runEnded(-1);
}

bool RunController::endsAfterStep() {
    RunState& rs = state_.runState;
    if (rs.step_count % 100 == 0 && rs.runFlag && checkLimits()) return true;
    if (stepLimit_ > 0 && rs.step_count >= stepLimit_ && rs.runFlag) {
        endOnLimit(kEventStepLimit, 1);
        return true;
    }
    if (rs.step_count % 10 == 0 && rs.runFlag) {
        if (hooks.redrawSurface) hooks.redrawSurface();
        if (hooks.redrawResults) hooks.redrawResults();
    }
    if (!pumpMessages()) {
        endInterrupted();
        return true;
    }
    if (rs.step_count >= kMaxRunSteps) {
        rs.loopActive = false;
        return true;
    }
    return false;
}

bool RunController::pumpMessages() {
    while (platform_.messagePending()) {
        if (platform_.pendingMessageIsClose() || !state_.runState.runFlag) return false;
        platform_.dispatchMessage();
    }
    platform_.idle();
    return true;
}

bool RunController::checkLimits() {
    RunState& rs = state_.runState;
    const RunSettings& run = state_.run;
    rs.elapsedSeconds = platform_.nowSeconds() - rs.startTime;
    rs.elapsedRemainderSeconds = static_cast<int>(rs.elapsedSeconds % 60);
    rs.elapsedMinutes = rs.elapsedSeconds / 60.0;
    if (run.Is_any_limits == 1) return false;
    // A run that dissolves counts its distance by magnitude.
    const double distance = std::fabs(state_.engine.mean_height());
    if (run.Is_time_simulattion_limit && rs.elapsedMinutes >= run.Time_simulattion_limit) {
        endOnLimit(kEventTimeLimit, 1);
        return true;
    }
    if (run.Is_time_simulattion_limit_first_layer &&
        rs.elapsedMinutes >= run.Time_simulattion_limit_first_layer) {
        if (distance < 1.0) {
            endOnLimit(kEventFirstLayerLimit, 4);
            return true;
        }
        if (rs.rateCheckArmed) {
            EvaluateRun();
            rs.rateCheckValue = state_.results.evaluation.rateParts * 100;
            if (rs.rateCheckValue < 0.001 || rs.rateCheckValue > 110.5) {
                rs.rateCheckArmed = false;
                endOnLimit(kEventRateCheck, 4);
                return true;
            }
        }
    }
    if (run.Is_layers_limit && distance >= run.Layers_limit) {
        endOnLimit(kEventLayersLimit, 1);
        return true;
    }
    return false;
}

void RunController::endOnLimit(int logCode, int endReason) {
    RunState& rs = state_.runState;
    // Halted as a pause is, so that the button can resume the same field.
    rs.experimentFlag = true;
    rs.runFlag = false;
    rs.paused = true;
    rs.finished = true;
    setPauseButton(PauseButton::Resume);
    rs.endReason = 0;
    rs.endTime = platform_.nowSeconds();
    releaseControls();
    rs.loopActive = false;
    FillRunRecord();
    EvaluateRun();
    EvaluateRun();
    writeLog(logCode);
    rs.endReason = endReason;
    if (hooks.runEnded) hooks.runEnded(logCode);
}

void RunController::endInterrupted() {
    RunState& rs = state_.runState;
    rs.runFlag = false;
    rs.finished = true;
    rs.loopActive = false;
    FillRunRecord();
    EvaluateRun();
    rs.interrupted = true;
    EvaluateRun();
    rs.experimentFlag = false;
    writeLog(kEventInterrupted);
    if (hooks.runEnded) hooks.runEnded(kEventInterrupted);
}

void RunController::writeLog(int logCode) {
    RunState& rs = state_.runState;
    RunRecord& record = state_.results.current;
    record.logPath = state_.paths.logPath;
    rs.lastLogCode = logCode;
    if (appendRunRecord(record.logPath, logCode, record, platform_)) {
        recordRegime(record.logPath, record.regime);
        ++rs.rowsLogged;
        return;
    }
    ++rs.logFailures;
    // An experiment must not go on past a result it could not keep: its plan
    // file still names this combination, so a resume runs it again.
    if (!rs.singleSimulation) rs.experimentFlag = false;
}

void RunController::PressPauseResume() {
    RunState& rs = state_.runState;
    if (rs.pauseButton == PauseButton::Stop) {
        setPauseButton(PauseButton::Resume);
        releaseControls();
    } else {
        setPauseButton(PauseButton::Stop);
    }
    rs.runFlag = false;
    if (rs.seriesFlag) {
        rs.seriesFlag = false;  // the driver sees it and ends its series
        return;
    }
    if (!rs.singleSimulation) {
        if (hooks.experimentButtonResume) hooks.experimentButtonResume();
        return;
    }
    if (rs.experimentFlag) {
        rs.experimentFlag = false;
        return;
    }
    if (rs.step_count == 0) {
        StartNewSingleSimulation();
        return;
    }
    if (rs.finished) {
        resumeHaltedRun();
        return;
    }
    // The press arrived while the loop runs: it sees the cleared flag and returns.
    rs.paused = true;
    rs.finished = true;
    rs.endReason = 0;
    setPauseButton(PauseButton::Resume);
    rs.endTime = platform_.nowSeconds();
    releaseControls();
}

void RunController::resumeHaltedRun() {
    // The rates may have been edited during the pause.
    auto inputs = makeEngineInputs(state_.data, state_.run);
    InitStatus status = inputs ? state_.engine.SetRates(inputs->E0, inputs->E8, inputs->Pint,
                                                        inputs->edgeWeight, inputs->vertexWeight)
                               : InitStatus::BadRate;
    if (status != InitStatus::Ok) {
        platform_.message(inputs ? engineRefusalMessage(status) : kProbabilityNotANumber);
        setPauseButton(PauseButton::Resume);
        return;
    }
    state_.results.runData = state_.data;
    state_.results.runSettings = state_.run;
    StartLoop();
}

void RunController::ResumeRun() {
    RunState& rs = state_.runState;
    if (rs.step_count == 0) StartNewSingleSimulation();
    rs.paused = false;
    rs.runFlag = true;
    takeControls();
    rs.experimentFlag = true;
    if (hooks.resumeExperiment) hooks.resumeExperiment();
    releaseControls();
    rs.experimentFlag = false;
}

void RunController::SetDefaultRunSettings() {
    const PhysicalData& d = state_.data;
    // The engine starts afresh: a paused field does not survive new defaults.
    if (!initEngine()) return;
    proposeDefaultRunSettings(d, state_.run);
    initEngine();
    if (hooks.repaintAll) hooks.repaintAll();
}

void RunController::FillRunRecord() {
    const GrowthEngine& engine = state_.engine;
    const ContactGeometry& contact =
        engine.hasField() ? engine.runGeometry().contact : engine.displayGeometry().contact;
    Results& results = state_.results;
    quorvane::FillRunRecord(results, results.runData, results.runSettings, contact);
}

void RunController::EvaluateRun() {
    const RunState& rs = state_.runState;
    Results& results = state_.results;
    EvaluationInputs inputs = evaluationInputs(results.runData, results.runSettings, rs.runFlag,
                                               rs.startTime, rs.endTime, platform_.nowSeconds());
    results.evaluation = Evaluate(results.record, inputs);
    applyEvaluation(results.current, results.evaluation, results.runData,
                    results.runSettings.Is_includes_porosity != 0);
}

void RunController::takeControls() {
    state_.runState.controlsEnabled = false;
    notifyControls();
}

void RunController::releaseControls() {
    state_.runState.controlsEnabled = true;
    notifyControls();
}

void RunController::setPauseButton(PauseButton button) {
    state_.runState.pauseButton = button;
    notifyControls();
}

void RunController::notifyControls() {
    if (hooks.controlsChanged) hooks.controlsChanged();
}

}  // namespace quorvane
