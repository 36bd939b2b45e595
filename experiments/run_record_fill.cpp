#include "experiments/run_record_fill.h"

#include <cmath>

#include "model/units.h"

namespace quorvane {
namespace {

constexpr int kNanometreExponent = -9;
constexpr int kCentimetreExponent = -2;
constexpr int kGramExponent = -3;

double powerOfTen(int exponent) {
    return std::pow(10.0, exponent);
}

/// Whole seconds as the log's integer column takes them; out of range saturates.
int wholeSeconds(double seconds) {
    if (!(seconds > -2147483648.0)) return seconds < 0 ? -2147483647 - 1 : 0;
    if (seconds >= 2147483647.0) return 2147483647;
    return static_cast<int>(seconds);
}

/// Nanometres in one current length unit.
double nanometresPerLengthUnit(const PhysicalData& d) {
    return powerOfTen(unitExponent(UnitKind::Length, d.dimension) - kNanometreExponent);
}

void fillRunSettings(RunRecord& r, const RunSettings& run, double secondsPerUnit) {
    r.timeStep = run.Time_step * secondsPerUnit;
    r.probIn = run.Prob_in_at_step;
    r.fieldW = run.N_field_W;
    r.fieldH = run.N_field_H;
    r.porous = run.Is_includes_porosity != 0;
}

/// The critical nucleus against the cell and the field.
void fillNucleus(Results& results, const PhysicalData& d, const RunSettings& run) {
    results.cellArea = d.Size_C * d.Size_B;
    results.nucleusArea = 3.14 * d.r_crit * d.r_crit;
    const double W = run.N_field_W;
    const double field = (W * d.Size_C) * (W * d.Size_B);
    results.nucleusIncrement = field != 0 ? results.nucleusArea * d.Size_A / field : 0;
}

}  // namespace

void FillRunRecord(Results& results, const PhysicalData& d, const RunSettings& run,
                   const ContactGeometry& contact) {
    RunRecord& r = results.current;
    const double toNm = nanometresPerLengthUnit(d);
    const double toCm =
        powerOfTen(unitExponent(UnitKind::Length, d.dimension) - kCentimetreExponent);
    const double toGrams = powerOfTen(unitExponent(UnitKind::Weight, d.weight) - kGramExponent);
    const double secondsPerUnit = SecondsPerTimeUnit(d.time);

    r.a = d.Size_A * toNm;
    r.b = d.Size_B * toNm;
    r.c = d.Size_C * toNm;
    r.M = d.Molecular_Weight;
    r.density = d.Density * toGrams / (toCm * toCm * toCm);
    r.dH = EnergyToJoules(d.Enthalpie, d.energy) / (toNm * toNm * toNm);
    r.dHm = EnergyToJoules(d.Molecular_Enthaphie, d.energy);
    r.surfaceEnergy = EnergyToJoules(d.Surface_Energy, d.energy) / (toNm * toNm);
    r.Ea = EnergyToJoules(d.Activation_Energy, d.energy);
    r.T = ToKelvin(d.Temperature, d.temperature);
    r.Ta = ToKelvin(d.Temperature_of_Melt, d.temperature);
    r.To = ToKelvin(d.Temperature_of_Liquidus, d.temperature);
    r.Co = d.Concentration * powerOfTen(unitExponent(UnitKind::Concentration, d.concentration));
    r.Fr = d.Frequency_of_Vibrations / secondsPerUnit;
    r.dG = d.General_Suupercooling;
    r.Sm = d.General_Surface_Energy;
    r.Sedg = d.edgesRatio;
    r.Svrt = d.verticesRatio;
    r.Scbd = contact.adatomFraction;
    r.Scbd1 = contact.bottomFaceFraction;
    r.Vc = d.Va_continues * toNm / secondsPerUnit;
    fillRunSettings(r, run, secondsPerUnit);
    fillNucleus(results, d, run);
}

EvaluationInputs evaluationInputs(const PhysicalData& d, const RunSettings& run, bool running,
                                  std::int64_t startTime, std::int64_t endTime, std::int64_t now) {
    EvaluationInputs in;
    in.probIn = run.Prob_in_at_step;
    in.generalSupercooling = d.General_Suupercooling;
    in.criticalRadius = d.r_crit;
    in.a = d.Size_A;
    in.b = d.Size_B;
    in.c = d.Size_C;
    in.fieldW = run.N_field_W;
    in.vaContinues = d.Va_continues;
    in.secondsPerTimeUnit = SecondsPerTimeUnit(d.time);
    in.porous = run.Is_includes_porosity != 0;
    in.running = running;
    in.startTime = startTime;
    in.endTime = endTime;
    in.now = now;
    return in;
}

void applyEvaluation(RunRecord& r, const RunEvaluation& e, const PhysicalData& d, bool porous) {
    // Times in the log are the record's seconds times the run's time factor.
    const double timeFactor = TimeUnitsPerSecond(d.time);
    r.nRecords = e.steps;
    r.curLayer = e.layersReached;
    r.simTime = wholeSeconds(e.timeOfGrowth);
    r.time = e.timeOfGrowth;
    r.distance = e.finalHeight;
    r.avRate = e.rateMean * d.Size_A * nanometresPerLengthUnit(d);
    r.avRatePercent = e.rateParts * 100;
    r.timeToFillLayer = e.fillMean * timeFactor;
    r.timeToBeginFill = e.startMean * timeFactor;
    r.partTimeToStart = e.inductionRatio;
    r.roughness = e.finalRoughness;
    r.porosity = e.finalPorosity;
    r.porous = porous;
    r.stableGrowthFound = e.stableGrowthFound() ? 1 : 0;
    r.mechanism = e.mechanism;
    r.regime = e.regime;
}

}  // namespace quorvane
