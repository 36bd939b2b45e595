#include "experiments/session.h"

#include "experiments/summary_report.h"
#include "model/units.h"

namespace quorvane {

Session::Session(AppState& s, Platform& p)
    : state(s),
      platform(p),
      planFile(s.plan, p, planHost),
      loop(s, p),
      runner(s, loop, planFile, p) {
    planHost.loadDataFile = [this](const std::string& path) {
        if (readDataFile(path).status == DataFileReadStatus::NotOpened)
            platform.message("The plan names the data file " + path +
                             ", which cannot be read: the current data stay.");
    };
    planHost.writeDataFile = [this](const std::string& path) {
        return writeDataFile(path).written;
    };
    planHost.setLogPath = [this](const std::string& path) {
        state.paths.logPath = path;
        if (logPathChanged) logPathChanged();
    };
    planHost.currentDataPath = [this] { return state.paths.currentDataPath; };
    planHost.setCurrentDataPath = [this](const std::string& path) {
        state.paths.currentDataPath = path;
    };
    planHost.currentQuantities = [this] {
        const PhysicalData& d = state.data;
        return PlanQuantities{d.Enthalpie, d.Surface_Energy, d.Volume, d.Temperature_of_Liquidus,
                              d.concentration};
    };
    planHost.switchOffTestMode = [this] { state.runState.testMode = false; };
    // "Resume run" continues the plan from its current values.
    loop.hooks.resumeExperiment = [this] {
        state.research.values = reReadValues(state.research);
        runner.PlanLoop();
    };
    // The Pause/Resume button outside a single simulation resumes the experiment.
    loop.hooks.experimentButtonResume = [this] { runner.ResumeExperiment(); };
}

DataDocument Session::document() {
    return DataDocument{state.data, state.run, state.research, state.randomArguments};
}

DataFileReadResult Session::readDataFile(const std::string& path) {
    DataDocument doc = document();
    DataFileReadResult result = ReadDataFile(path, doc, platform);
    return result;
}

DataFileWriteResult Session::writeDataFile(const std::string& path) {
    return WriteDataFile(path, document(), platform);
}

void Session::applyUnitChange(const UnitChangeEffect& effect) {
    for (const RangeRescale& r : effect.planRanges) {
        if (r.temperatureFrom >= 0) {
            const int from = r.temperatureFrom, to = r.temperatureTo;
            state.plan.rescaleRanges(r.kind,
                                     [=](double x) { return ConvertTemperature(x, from, to); });
        } else {
            const double f = r.factor;
            state.plan.rescaleRanges(r.kind, [=](double x) { return x * f; });
        }
    }
    if (effect.chartLabelsInvalidated && chartLabelsInvalidated) chartLabelsInvalidated();
}

bool Session::createSummaryReports() {
    const std::string& log = state.paths.logPath;
    if (!quorvane::createSummaryReports(log, platform)) return false;
    if (saidStatus)
        saidStatus("Summary written to " + summaryPath(log, false) + " and " +
                   summaryPath(log, true));
    return true;
}

}  // namespace quorvane
