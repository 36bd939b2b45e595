#include "experiments/plan.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "common/cformat.h"
#include "experiments/plan_proposal.h"

namespace quorvane {
namespace {

constexpr const char* kKindLabels[kPlanKindCount] = {
    "Specific supercooling",
    "Specific surf. energy",
    "Entalphie",
    "Surface energy",
    "Temperature",
    "Concentration",
    "Volume",
    "a/b",
    "b/c",
    "Edges/Faces",
    "Vertices/Faces",
};

/// A row divides its range into at most this many intervals; others are inert.
constexpr int kMaxSteps = 9999;

bool rowSteps(const task& row) {
    return row.steps >= 1 && row.steps <= kMaxSteps;
}

/// The j-th value of a row, evaluated in this order so that the end points of
/// overlapping rows meet on the same doubles.
double rowValue(const task& row, int j) {
    return row.from + j * (row.till - row.from) / row.steps;
}

}  // namespace

std::optional<int> kindForAddCommand(int commandId) {
    switch (commandId) {
        case kCmdAddGeneralSupercooling:
            return kKindGeneralSupercooling;
        case kCmdAddGeneralSurfaceEnergy:
            return kKindGeneralSurfaceEnergy;
        case kCmdAddEnthalpy:
            return kKindEnthalpy;
        case kCmdAddSurfaceEnergy:
            return kKindSurfaceEnergy;
        case kCmdAddTemperature:
            return kKindTemperature;
        case kCmdAddConcentration:
            return kKindConcentration;
        case kCmdAddVolume:
            return kKindVolume;
        case kCmdAddRatioAB:
            return kKindRatioAB;
        case kCmdAddRatioCB:
            return kKindRatioCB;
        case kCmdAddEdgesPerFaces:
            return kKindEdgesPerFaces;
        case kCmdAddVerticesPerFaces:
            return kKindVerticesPerFaces;
        default:
            return std::nullopt;
    }
}

const char* planKindLabel(int kind) {
    return isPlanKind(kind) ? kKindLabels[kind] : "";
}

int stepsFromText(const std::string& text) {
    double value = cAtof(text) + 1e-15;
    // Text such as "inf" or "nan" is no count of steps; huge counts saturate
    // instead of overflowing the integer (the row is inert either way).
    if (!std::isfinite(value)) return 0;
    if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(value);
}

double rangeEndFromText(const std::string& text) {
    double value = cAtof(text);
    return std::isfinite(value) ? value : 0.0;
}

void ExperimentPlan::setRows(std::vector<task> rows) {
    rows_ = std::move(rows);
    rebuildParameters();
}

bool ExperimentPlan::setCurrent(int kind, double value) {
    for (auto& p : parameters_) {
        if (p.kind != kind) continue;
        p.current = value;
        return true;
    }
    return false;
}

double ExperimentPlan::currentValueOfKind(int kind) const {
    for (const auto& p : parameters_) {
        if (p.kind == kind) return p.current;
    }
    return 0.0;
}

std::vector<double> ExperimentPlan::valuesOfKind(int kind) const {
    std::vector<double> values;
    for (const auto& row : rows_) {
        if (row.kind != kind || !rowSteps(row)) continue;
        for (int j = 0; j <= row.steps; ++j) values.push_back(rowValue(row, j));
    }
    return values;
}

bool ExperimentPlan::stepParameter(parameter& p) const {
    if (rows_.empty()) {
        p.current = p.start;
        return true;
    }
    // The nearest value beyond the current one in the walking direction; the
    // strict comparison lets the first of two equally near values win, which
    // is also what merges the shared end points of overlapping rows.
    bool found = false;
    double next = 0;
    double nearest = 0;
    for (double value : valuesOfKind(p.kind)) {
        double d = value - p.current;
        bool beyond = p.direction < 0 ? d < -p.tolerance : d > p.tolerance;
        if (!beyond) continue;
        double distance = std::fabs(d);
        if (!found || distance < nearest) {
            found = true;
            nearest = distance;
            next = value;
        }
    }
    p.current = found ? next : p.start;
    return !found;
}

bool ExperimentPlan::advance() {
    // An odometer: the last parameter turns fastest and carries into the one before it.
    for (auto p = parameters_.rbegin(); p != parameters_.rend(); ++p) {
        if (!stepParameter(*p)) return true;
    }
    return false;
}

void ExperimentPlan::addRow(int kind, const PlanQuantities& quantities) {
    if (!isPlanKind(kind)) return;
    rows_.push_back(proposeRow(kind, rows_, quantities));
    rebuildParameters();
}

void ExperimentPlan::deleteRow(int index) {
    if (!validIndex(index)) return;
    rows_.erase(rows_.begin() + index);
    rebuildParameters();
}

void ExperimentPlan::moveUp(int index) {
    if (!validIndex(index) || index == 0) return;
    std::swap(rows_[index], rows_[index - 1]);
    rebuildParameters();
}

void ExperimentPlan::moveDown(int index) {
    if (!validIndex(index) || index + 1 >= static_cast<int>(rows_.size())) return;
    std::swap(rows_[index], rows_[index + 1]);
    rebuildParameters();
}

void ExperimentPlan::moveToTop(int index) {
    if (!validIndex(index) || index == 0) return;
    std::rotate(rows_.begin(), rows_.begin() + index, rows_.begin() + index + 1);
    rebuildParameters();
}

void ExperimentPlan::clear() {
    rows_.clear();
    rebuildParameters();
}

bool ExperimentPlan::commitCell(int row, int column, const std::string& text) {
    if (!validIndex(row)) return false;
    task& edited = rows_[row];
    switch (column) {
        case kColumnFrom:
            edited.from = rangeEndFromText(text);
            break;
        case kColumnTo:
            edited.till = rangeEndFromText(text);
            break;
        case kColumnSteps:
            edited.steps = stepsFromText(text);
            break;
        default:
            return false;
    }
    rebuildParameters();
    return true;
}

std::vector<std::string> ExperimentPlan::cellTexts(int row) const {
    if (!validIndex(row)) return {};
    const task& r = rows_[row];
    return {planKindLabel(r.kind), cformat("%g", r.from), cformat("%g", r.till),
            cformat("%d", r.steps), cformat("%g", currentValueOfKind(r.kind))};
}

void ExperimentPlan::rescaleRanges(int kind, const std::function<double(double)>& convert) {
    if (!convert) return;
    for (auto& row : rows_) {
        if (row.kind != kind) continue;
        row.from = convert(row.from);
        row.till = convert(row.till);
    }
    // Not a new plan: the iteration keeps its place. Snapping to the converted
    // grid keeps a rounding difference from making the next step revisit the
    // same value.
    for (auto& p : parameters_) {
        if (p.kind != kind) continue;
        p.start = snapToValue(kind, convert(p.start));
        p.current = snapToValue(kind, convert(p.current));
    }
}

void ExperimentPlan::rebuildParameters() {
    parameters_.clear();
    for (const auto& row : rows_) {
        bool known = std::any_of(parameters_.begin(), parameters_.end(),
                                 [&](const parameter& p) { return p.kind == row.kind; });
        if (!known) parameters_.push_back(buildParameter(row.kind));
    }
}

parameter ExperimentPlan::buildParameter(int kind) const {
    double fMax = -1e60, fMin = 1e60, tMax = -1e60, tMin = 1e60;
    for (const auto& row : rows_) {
        if (row.kind != kind) continue;
        fMax = std::max(fMax, row.from);
        fMin = std::min(fMin, row.from);
        tMax = std::max(tMax, row.till);
        tMin = std::min(tMin, row.till);
    }
    double top = fMax > tMax ? fMax : tMax;
    parameter p;
    p.kind = kind;
    // When the largest value of the kind is a `from`, the user wrote the range
    // downwards: walk it from the top.
    if (std::fabs(fMax - top) < 1e-40) {
        p.direction = -1;
        p.start = top;
    } else {
        p.direction = 1;
        p.start = std::min(fMin, tMin);
    }
    p.current = p.start;
    p.tolerance = 0;
    return p;
}

double ExperimentPlan::snapToValue(int kind, double value, double relativeTolerance) const {
    std::vector<double> values = valuesOfKind(kind);
    double magnitude = std::fabs(value);
    for (double v : values) magnitude = std::max(magnitude, std::fabs(v));
    double best = value;
    double bestDistance = relativeTolerance * magnitude;
    for (double v : values) {
        double distance = std::fabs(v - value);
        if (distance <= bestDistance) {
            bestDistance = distance;
            best = v;
        }
    }
    return best;
}

bool ExperimentPlan::validIndex(int index) const {
    return index >= 0 && index < static_cast<int>(rows_.size());
}

}  // namespace quorvane
