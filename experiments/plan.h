#pragma once
/// An experiment plan: rows of stepped physical quantities, the per-kind
/// iteration state derived from them, and the odometer that visits every
/// combination of their values.

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quorvane {

/// The quantities a plan can step; the number is the kind stored in rows and files.
enum PlanKind : int {
    kKindGeneralSupercooling = 0,
    kKindGeneralSurfaceEnergy = 1,
    kKindEnthalpy = 2,
    kKindSurfaceEnergy = 3,
    kKindTemperature = 4,
    kKindConcentration = 5,
    kKindVolume = 6,
    kKindRatioAB = 7,
    kKindRatioCB = 8,
    kKindEdgesPerFaces = 9,
    kKindVerticesPerFaces = 10,
};
constexpr int kPlanKindCount = 11;

inline bool isPlanKind(int kind) {
    return kind >= 0 && kind < kPlanKindCount;
}

// Commands of the Run panel's "Edit" menu (button 1052).
constexpr int kCmdAddGeneralSupercooling = 32790;
constexpr int kCmdAddGeneralSurfaceEnergy = 32791;
constexpr int kCmdAddEnthalpy = 32792;
constexpr int kCmdAddSurfaceEnergy = 32793;
constexpr int kCmdAddTemperature = 32794;
constexpr int kCmdAddConcentration = 32795;  // not in the menu, but still bound
constexpr int kCmdAddVolume = 32797;
constexpr int kCmdAddRatioAB = 32798;
constexpr int kCmdAddRatioCB = 32799;
constexpr int kCmdAddEdgesPerFaces = 32846;
constexpr int kCmdAddVerticesPerFaces = 32847;
constexpr int kCmdDeleteRow = 32800;
constexpr int kCmdRowUp = 32802;
constexpr int kCmdRowDown = 32803;
constexpr int kCmdRowToTop = 32831;

/// The kind a row-adding command adds, or nullopt for any other command.
std::optional<int> kindForAddCommand(int commandId);

/// One row of the plan list.
struct task {
    int kind = 0;
    double from = 0;
    double till = 0;  ///< may be below `from`: the range is then walked downwards
    int steps = 10;   ///< intervals; the row yields steps + 1 values when in 1..9999
};

/// The iteration state of one kind: the value the next run uses.
struct parameter {
    int kind = 0;
    double start = 0;
    double current = 0;
    double tolerance = 0;  ///< least distance to the next value; always 0
    int direction = 1;     ///< +1 ascending, -1 descending
};

/// The current physical values a proposed range of a new row is built around,
/// in the units the user has selected.
struct PlanQuantities {
    double enthalpyPerVolume = 0;
    double surfaceEnergy = 0;
    double moleculeVolume = 0;
    double liquidusTemperature = 0;
    int concentrationUnit = 0;  ///< 0 parts, 1 percent
};

/// Columns of the plan list.
enum PlanColumn : int {
    kColumnParameter = 0,
    kColumnFrom = 1,
    kColumnTo = 2,
    kColumnSteps = 3,
    kColumnCurrent = 4,
};

/// The label of a kind in the plan list ("" for a kind that does not exist).
const char* planKindLabel(int kind);

class ExperimentPlan {
  public:
    const std::vector<task>& rows() const { return rows_; }
    const std::vector<parameter>& parameters() const { return parameters_; }

    /// Replaces all rows (a loaded plan) and rebuilds the parameters.
    void setRows(std::vector<task> rows);
    /// Sets the current value of a kind's parameter; false when the kind has none.
    bool setCurrent(int kind, double value);
    /// The value of a kind nearest to `value` when it lies within
    /// `relativeTolerance` of the values' magnitude; otherwise `value` itself.
    double snapToValue(int kind, double value, double relativeTolerance = 1e-9) const;
    /// The current value of a kind's parameter, 0 when the plan has none.
    double currentValueOfKind(int kind) const;

    /// Every value of a kind, in row order and ascending j, duplicates kept.
    std::vector<double> valuesOfKind(int kind) const;
    /// Moves a parameter to its next value; true when it wrapped to its start.
    bool stepParameter(parameter& p) const;
    /// Moves to the next combination (last parameter fastest); false when the
    /// plan is exhausted and every current value is back at its start.
    bool advance();

    // Editing; every change rebuilds the parameters, so current values restart.
    void addRow(int kind, const PlanQuantities& quantities);
    void deleteRow(int index);
    void moveUp(int index);
    void moveDown(int index);
    void moveToTop(int index);
    void clear();
    /// Commits the text of an edited From, To or Steps cell; false when nothing changed.
    bool commitCell(int row, int column, const std::string& text);

    /// The five cell texts of a row: label, from, till, steps, current.
    std::vector<std::string> cellTexts(int row) const;

    /// A unit change of a quantity: converts both ends of every row of that
    /// kind and the kind's start and current value, so that a stopped
    /// experiment resumes at the same physical combination.
    void rescaleRanges(int kind, const std::function<double(double)>& convert);

  private:
    void rebuildParameters();
    parameter buildParameter(int kind) const;
    bool validIndex(int index) const;

    std::vector<task> rows_;
    std::vector<parameter> parameters_;
};

/// Steps text of a cell: the number plus 1e-15, cut to an integer, so that a
/// value printed as 2.9999999999999996 still means 3 steps.
int stepsFromText(const std::string& text);
/// A From/To text: atof semantics; a result that is not finite counts as no number.
double rangeEndFromText(const std::string& text);

}  // namespace quorvane
