#pragma once
/// The experiment drivers: the plan experiment (start, test, resume), the full
/// run over a list of incorporation probabilities with its reduction, the full
/// single run, the general experiment with randomly drawn physical data, and
/// the search over surface energies for a molecule of given shape. Each drives
/// the same run loop as a single simulation and logs every run.

#include <functional>
#include <random>
#include <vector>

#include "common/platform.h"
#include "experiments/app_state.h"
#include "experiments/plan_file.h"
#include "experiments/run_controller.h"

namespace quorvane {

class ResearchTrials;

/// Contact fraction of a molecule touching the crystal with its bottom face
/// only (the log's "Scbd1"), for the data's molecule.
double bottomFaceShare(const PhysicalData& d);

/// Menu commands of the Run panel's "Action" button.
inline constexpr int kCmdStartSingle = 32812;
inline constexpr int kCmdRunFullSingle = 32839;
inline constexpr int kCmdResumeRun = 32806;
inline constexpr int kCmdStartExperiment = 32815;
inline constexpr int kCmdResumeExperiment = 32848;
inline constexpr int kCmdFullResearch = 32818;
inline constexpr int kCmdGeneralExperiment = 32843;
inline constexpr int kCmdCreateSummary = 32841;
inline constexpr int kCmdResearchSettings = 32844;
inline constexpr int kCmdTestPlan = 32849;
inline constexpr int kCmdSaveRunReport = 32845;

/// The supercoolings the shape search visits, in order.
inline constexpr double kResearchSupercoolings[19] = {
    0.01, 0.02, 0.05, 0.08, 0.1, 0.2, 0.3, 0.5, 0.8, 1, 2, 3, 4, 5, 8, 10, 12, 15, 20};

/// How a single run of a series made elsewhere ended.
enum class SeriesEnd {
    Completed,  ///< by a limit: the series goes on
    Stopped,    ///< interrupted (Ctrl-C, a stop): its row, if any, is in `rows`
    Refused,    ///< the engine refused the data: the run never started
    Lost,       ///< its row could not be written: the result is lost
};

/// One single run of a full run's series made elsewhere: its record, the log
/// rows it wrote there, and how it ended.
struct SeriesRun {
    RunRecord record;
    std::string rows;
    SeriesEnd end = SeriesEnd::Lost;
};

/// The share of a plan's combinations (or of the general experiment's draws)
/// a runner makes: the positions p, counted from 0, with p % count == index.
/// A count of 0 is no share: every position.
struct Share {
    long long index = 0;
    long long count = 0;
    bool isShare() const { return count > 0; }
    bool has(long long position) const { return !isShare() || position % count == index; }
    /// The first position of the share at or after `position`; -1 past the
    /// largest long long.
    long long firstFrom(long long position) const;
};

/// What the runner asks of the windows; every hook may be empty.
struct RunnerHooks {
    std::function<void()> refillPlanList;  ///< the plan list shows the current values
    std::function<void()> repaint;         ///< the Data and Run panels show the data
    /// Called before each run of a plan with its position (0-based) and the
    /// number of combinations.
    std::function<void(long long, long long)> combinationStarted;
    /// Called before each run of the general experiment with its draw (0-based)
    /// and the number of draws asked for (0: until stopped).
    std::function<void(long long, long long)> drawStarted;
    /// Makes the single runs of a series elsewhere (the batch runner's workers)
    /// and hands back their outcomes in the series' order, as far as they got:
    /// every run, or the runs up to one that did not complete; empty: the runs
    /// are made here, one after the other.
    std::function<std::vector<SeriesRun>(const std::vector<double>& probabilities, bool porous)>
        runSeries;
};

class ExperimentRunner {
  public:
    ExperimentRunner(AppState& state, RunController& loop, PlanFile& planFile, Platform& platform);

    RunnerHooks hooks;
    /// The combinations (draws) this runner makes; every one unless set.
    Share share;

    /// "Start experiment" and "Test experiment plan".
    void StartExperiment(bool testMode);
    /// "Resume experiment": the plan from its current values, without advancing first.
    void ResumeExperiment();
    /// The plan loop from the current values (also the body of "Resume run").
    void PlanLoop();
    /// "Run full single run": one full run of the data as they are, rate check armed.
    void RunFullSingleRun();
    /// "General experiment", after the distributions dialog answered Run; it
    /// draws until stopped, or `maxDraws` times when that is above 0.
    void GeneralExperiment(long long maxDraws = 0);
    /// "Full research for molecule of given shape".
    void FullResearchForShape();

    /// One full run; true when it completed (every planned run ended by a limit).
    bool FullRun();
    /// One single run of a series at probability p, as the full run makes it
    /// (the series flag set, the run limits as they are); true when it ended by
    /// a limit.
    bool SeriesSingleRun(double probability, bool porous);

    /// The standard generator of the general experiment and the shape search,
    /// seeded once (with the time in the program, by the batch runner's choice).
    void seedStandardGenerator(unsigned seed) { standard_.seed(seed); }
    /// A number 0..32767 from the standard generator, as a part of 32767.
    double standardUniform();

    /// Sets one plan quantity as if the user had typed it (plan kinds 0..10).
    /// False when the data refuse the value (a temperature at or below 0 K...).
    bool applyPlanValue(int kind, double value);
    /// Sets the current combination's values; false when one is refused.
    bool applyCombination();
    /// Number of combinations of the plan (1 for an empty plan: one full run),
    /// the largest long long for a plan of more.
    long long combinationCount() const;
    /// Position of the plan's current values in its order of combinations.
    long long combinationIndex() const;

  private:
    bool singleRun(double probability, bool porous);
    bool series(const std::vector<double>& values, bool porous);
    /// The series made elsewhere (hooks.runSeries): the same checks, in order.
    bool seriesElsewhere(const std::vector<double>& values, bool porous);
    /// False when the row could not be written (the experiment then ends).
    bool reduceAndLog();
    bool logCurrent(int eventCode);
    bool optimisedRun();
    /// Steps 4 to 6 of the plan loop: one full run (or the test pause) of the
    /// data as they stand. False when the experiment was stopped.
    bool planStyleRun();
    /// One full run, or the 500 ms pause that stands in for it in test mode.
    void runOrTestPause();
    void refreshData();
    /// One combination of the plan at `position` and the step of the plan
    /// file past it, `position` then the next one's; false when the
    /// experiment ends here.
    bool planCombination(long long& position, long long total);
    /// The plan of the combination after `position` in `next` (its position
    /// in `nextPosition`); false when none is left (`next` then at its start).
    bool nextCombination(ExperimentPlan& next, long long position, long long& nextPosition) const;
    void pumpBetweenRuns();
    bool setField(int field, double value);
    // The full research's search at one supercooling (full_research.cpp).
    void searchSurfaceEnergy(double supercooling);
    bool researchTrial(ResearchTrials& trials, double sigma);
    bool bracketRate(ResearchTrials& trials, double& next, double part);
    void scanSurfaceEnergies(ResearchTrials& trials, double from, double to, double step,
                             double bottomShare, double supercooling);

    AppState& state_;
    RunController& loop_;
    PlanFile& planFile_;
    Platform& platform_;
    std::vector<RunRecord> reports_;
    std::minstd_rand standard_;
};

}  // namespace quorvane
