#pragma once
/// A study read back from its run log: the runs that are its results, grouped
/// by the combination of the parameters the study varied (a plan) or drew (a
/// general experiment), with the mean and spread of repeated runs and the
/// theory's prediction for the data each run ran with.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "engine/growth_regime.h"
#include "experiments/plan.h"
#include "experiments/study_log.h"

namespace quorvane {

enum class StudyKind {
    Single,   ///< nothing varied: repeated runs of one set of data
    Plan,     ///< a grid of values, every combination run
    General,  ///< values drawn at random, every draw its own combination
};

/// The four results a study compares with the theory.
enum StudyQuantity : int { kStudyRate, kStudyRoughness, kStudyPorosity, kStudyFillTime };
inline constexpr int kStudyQuantityCount = 4;

struct StudyQuantityInfo {
    const char* key;     ///< in file names: "rate"
    const char* title;   ///< "Rate as a part of continuous growth"
    const char* unit;    ///< "parts"
    const char* column;  ///< the log column it is read from
};
const StudyQuantityInfo& studyQuantity(int quantity);

/// A parameter of the study and where a log row gives its value.
struct StudyParameter {
    std::string key;      ///< the log column, or "a/b", "c/b", "volume", "porous"
    std::string symbol;   ///< as a researcher writes it (UTF-8): "σ′"
    std::string meaning;  ///< "specific surface energy"
    std::string unit;     ///< "" for a dimensionless number
    int column = -1;      ///< the log column of the value
    int divisor = -1;     ///< a ratio: the column divided by this one
    int factor = -1;      ///< a product: the column times these two
    int factor2 = -1;
    bool porousFlag = false;  ///< 1 where the run took hole defects into account

    /// The value of the parameter in a row of the log.
    double valueIn(const StudyLogRow& row) const;
    /// "σ′" or "T (K, grad)".
    std::string axisTitle() const;
};

/// Mean and standard deviation (of a sample: n - 1) of repeated runs.
struct Statistic {
    int count = 0;
    double mean = 0;
    double spread = 0;  ///< 0 for a single run
};
Statistic statisticOf(const std::vector<double>& values);

/// Halvik's prediction for the data one run ran with, along its growth axis a.
struct StudyTheory {
    std::array<std::optional<double>, kStudyQuantityCount> value;
    std::optional<GrowthRegime> regime;
    double supercooling = 0;   ///< dG'
    double surfaceEnergy = 0;  ///< sigma'
    double lambda1 = 0, lambda2 = 0;
};

/// The theory's regime: nucleation up to Gc (when Gc >= 0), continuous from Gk
/// on, intermediate between; nothing where the face would dissolve.
std::optional<GrowthRegime> theoryRegime(double supercooling, double surfaceEnergy, double lambda1,
                                         double lambda2);

struct StudyRun {
    std::size_t row = 0;             ///< index into the log's rows
    std::vector<double> parameters;  ///< in the order of the study's parameters
    std::array<std::optional<double>, kStudyQuantityCount> measured;
    StudyTheory theory;
};

struct StudyCombination {
    std::vector<double> values;     ///< in the order of the study's parameters
    std::vector<std::size_t> runs;  ///< indices into the study's runs, in log order
    std::array<Statistic, kStudyQuantityCount> measured;
    StudyTheory theory;  ///< of its first run: its runs share their data
    /// The regime most of its runs grew in; on a tie the one met first.
    GrowthRegime regime = GrowthRegime::Undetermined;
    std::array<int, 4> regimeCounts{};  ///< by GrowthRegime
    bool unanimous() const;
};

/// What is known of how the study was made, beside its log.
struct StudyOrigin {
    std::optional<std::vector<task>> plan;  ///< the plan's rows, when known
    std::string planPath;
    bool general = false;  ///< made by a general experiment
    std::string command;   ///< the command line, when known
};

struct Study {
    std::string logPath;
    StudyLog log;
    StudyOrigin origin;
    StudyKind kind = StudyKind::Single;
    std::vector<StudyParameter> parameters;
    std::vector<StudyRun> runs;
    std::vector<StudyCombination> combinations;  ///< ascending by their values
    bool reducedResults = false;  ///< the results are the reduced rows (event 77) of full runs
    long long interruptedRows = 0;
    long long regimesFromTable = 0;  ///< of the results
    bool porosityMeasured = false;
};

struct StudyReading {
    std::optional<Study> study;
    std::string error;  ///< why there is none
};

/// The study of a log already read (with its regimes assigned).
StudyReading buildStudy(StudyLog log, const StudyOrigin& origin);
/// Reads the log at `logPath` and the table of regimes beside it.
StudyReading readStudy(const std::string& logPath, const StudyOrigin& origin);

/// The combinations that share every parameter but `parameter`: one line each,
/// sorted along it, the lines ordered by the other parameters' values.
struct StudySeries {
    std::vector<double> others;  ///< the other parameters' values, in order
    std::vector<std::size_t> combinations;
};
std::vector<StudySeries> seriesAgainst(const Study& study, std::size_t parameter);

// How the parameters are found (study_parameters.cpp).

/// The parameter a plan's kind steps, as the log shows it.
std::optional<StudyParameter> parameterOfKind(const StudyLog& log, int kind);
/// The parameter of a log column, as the log shows it.
std::optional<StudyParameter> parameterOfColumn(const StudyLog& log, const std::string& name);
/// The parameters the result rows vary: those of the plan's kinds, the values
/// a general experiment draws, or (nothing known) the log's columns in the order
/// of the theory's own numbers first, each one left out whose value follows from
/// the ones already taken (a temperature plan also moves dG' and sigma').
std::vector<StudyParameter> variedParameters(const StudyLog& log,
                                             const std::vector<std::size_t>& results,
                                             const StudyOrigin& origin, StudyKind& kind);

}  // namespace quorvane
