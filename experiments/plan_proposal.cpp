#include "experiments/plan_proposal.h"

#include <algorithm>
#include <cmath>

namespace quorvane {
namespace {

/// What the rows of one kind already cover.
struct KindCoverage {
    int count = 0;
    double fromMin = 1e60;
    double tillMax = -1e60;
    double gridBelowTop = 0;  ///< P: the grid value nearest below tillMax
};

/// P: the value of an ascending row's grid closest below the top of the
/// kind's ranges, so that a new row can fill the last interval below it.
/// Only rows that divide their range in 1..9999 steps have a grid; that also
/// keeps the walk finite for a row whose ends coincide.
double gridValueBelow(int kind, const std::vector<task>& rows, double tillMax) {
    bool found = false;
    double best = 0;
    double nearest = 0;
    for (const auto& row : rows) {
        if (row.kind != kind || row.from > row.till) continue;
        if (row.steps < 1 || row.steps > 9999) continue;
        for (int j = 0; j <= row.steps; ++j) {
            double value = row.from + j * (row.till - row.from) / row.steps;
            if (value > row.till) break;
            double distance = tillMax - value;
            if (distance > 1e-30 && (!found || distance <= nearest)) {
                found = true;
                nearest = distance;
                best = value;
            }
        }
    }
    return found ? best : tillMax;
}

KindCoverage coverageOf(int kind, const std::vector<task>& rows) {
    KindCoverage coverage;
    for (const auto& row : rows) {
        if (row.kind != kind) continue;
        ++coverage.count;
        coverage.fromMin = std::min(coverage.fromMin, row.from);
        coverage.tillMax = std::max(coverage.tillMax, row.till);
    }
    if (coverage.count > 0) coverage.gridBelowTop = gridValueBelow(kind, rows, coverage.tillMax);
    return coverage;
}

void setRange(task& row, double from, double till) {
    row.from = from;
    row.till = till;
}

/// Continues above the existing rows toward `limit`, or, when they already
/// reach past it, splits the last interval below their top.
void continueTowards(task& row, const KindCoverage& coverage, double limit) {
    if (limit - coverage.tillMax >= 0) {
        double c = (limit - coverage.tillMax) / 10;
        setRange(row, coverage.tillMax + c, limit - c);
    } else {
        double c = (coverage.tillMax - coverage.gridBelowTop) / 10;
        setRange(row, coverage.gridBelowTop + c, coverage.tillMax - c);
    }
}

/// Quantities with no natural upper limit: around the current value.
void aroundValue(task& row, const KindCoverage& coverage, double x) {
    if (coverage.count == 0) {
        setRange(row, 0.3 * x, x);
    } else if (coverage.count == 1) {
        setRange(row, x, 3 * x);
    } else {
        setRange(row, 0.85 * x, 1.15 * x);
    }
}

/// Temperatures up to the liquidus, where the supercooling vanishes; whole
/// degrees for the step once the span allows it.
void temperatureRange(task& row, const KindCoverage& coverage, double liquidus) {
    if (coverage.count == 0) {
        double c = liquidus / 10;
        if (liquidus > 11) c = std::trunc(c);
        setRange(row, c, liquidus - c);
        return;
    }
    double span = liquidus - coverage.tillMax;
    if (span >= 0) {
        double c = span / 10;
        if (span > 10.00001) c = std::trunc(c);
        setRange(row, coverage.tillMax + c, liquidus - c);
    } else {
        double c = (coverage.tillMax - coverage.gridBelowTop) / 10;
        setRange(row, coverage.gridBelowTop + c, coverage.tillMax - c);
    }
}

/// A range from `low` up to `top` for a kind no row covers yet, else beyond
/// the rows that cover it.
void rangeUpTo(task& row, const KindCoverage& coverage, double low, double top) {
    if (coverage.count == 0)
        setRange(row, low, top - low);
    else
        continueTowards(row, coverage, top);
}

}  // namespace

task proposeRow(int kind, const std::vector<task>& rows, const PlanQuantities& quantities) {
    task row;
    row.kind = kind;
    row.steps = 10;
    KindCoverage coverage = coverageOf(kind, rows);
    // Shares and ratios run up to one whole: 1 in parts, 100 in percent.
    const double top = quantities.concentrationUnit == 1 ? 100.0 : 1.0;
    switch (kind) {
        case kKindGeneralSupercooling:
        case kKindGeneralSurfaceEnergy:
            if (coverage.count == 0) {
                setRange(row, 1, 15);
                row.steps = 15;
            } else {
                setRange(row, coverage.fromMin / 10, coverage.fromMin - coverage.fromMin / 10);
            }
            break;
        case kKindEnthalpy:
            aroundValue(row, coverage, quantities.enthalpyPerVolume);
            break;
        case kKindSurfaceEnergy:
            aroundValue(row, coverage, quantities.surfaceEnergy);
            break;
        case kKindVolume:
            aroundValue(row, coverage, quantities.moleculeVolume);
            break;
        case kKindTemperature:
            temperatureRange(row, coverage, quantities.liquidusTemperature);
            break;
        case kKindConcentration:
        case kKindRatioAB:
        case kKindRatioCB:
            rangeUpTo(row, coverage, top / 10, top);
            break;
        case kKindEdgesPerFaces:
        case kKindVerticesPerFaces:
            rangeUpTo(row, coverage, 0, 10);
            break;
        default:
            break;
    }
    return row;
}

}  // namespace quorvane
