#include "engine/growth_record.h"

#include <cmath>

namespace quorvane {

RecordParameters RecordParameters::make(double timeStep, double timeUnitsPerSecond, int fieldW,
                                        int fieldH, double nInPerStep, double sizeA) {
    RecordParameters p;
    p.dt = timeStep / timeUnitsPerSecond;
    p.window = static_cast<std::int64_t>(fieldW) * fieldH;
    // The warm-up lasts about two molecules jumped in per column. Fewer than one jump
    // per step (and a count that is no number) falls back to two sweeps per column.
    const std::int64_t twoSweeps = 2 * p.window;
    if (!(nInPerStep >= 1)) {
        p.warmUp = twoSweeps;
    } else {
        p.warmUp =
            static_cast<std::int64_t>(std::trunc(static_cast<double>(twoSweeps) / nInPerStep));
    }
    p.layerThickness = sizeA;
    return p;
}

ChartExtremes ChartExtremes::initial(const RecordParameters& p) {
    ChartExtremes e;
    const double a = p.layerThickness;
    e.roughnessMax = 0.1 * a;
    e.rateMax = a * 1e-10 / (p.dt * static_cast<double>(p.window));
    e.rateMin = -e.rateMax;
    e.timeExtent = static_cast<double>(p.warmUp) * p.dt;
    return e;
}

void GrowthRecord::Reset(int growthIncrement, const RecordParameters& parameters) {
    // A new run starts from nothing: keeping the capacity of a long previous run
    // would break the per-step memory budget of a short one.
    std::vector<double>().swap(time_);
    std::vector<double>().swap(height_);
    std::vector<double>().swap(roughness_);
    std::vector<double>().swap(porosity_);
    growthIncrement_ = growthIncrement;
    parameters_ = parameters;
    extremes_ = ChartExtremes::initial(parameters);
    firstRateIndex_ = -1;
    envelope_.clear();
}

void GrowthRecord::growIfFull(std::vector<double>& values) const {
    const std::size_t capacity = values.capacity();
    if (values.size() < capacity) return;
    if (capacity == 0) {
        values.reserve(growthIncrement_ > 0 ? static_cast<std::size_t>(growthIncrement_) : 1);
        return;
    }
    // A quarter more each time: amortised copying stays at four moves per entry
    // while spare room never exceeds a quarter of the entries.
    const std::size_t quarter = capacity / 4;
    values.reserve(capacity + (quarter > 0 ? quarter : 1));
}

void GrowthRecord::Append(double dt, double height, double roughness, double porosity,
                          bool porous) {
    const std::size_t i = time_.size();
    growIfFull(time_);
    growIfFull(height_);
    growIfFull(roughness_);
    // Time is the running sum of the step durations, as the steps happened: a
    // duration edited during a pause changes only the steps after it.
    time_.push_back(i == 0 ? 0.0 : time_[i - 1] + dt);
    height_.push_back(height);
    roughness_.push_back(roughness);
    if (porous) {
        // Steps made before pores were switched on had none: keep the index aligned.
        while (porosity_.size() < i) {
            growIfFull(porosity_);
            porosity_.push_back(0.0);
        }
        growIfFull(porosity_);
        porosity_.push_back(porosity);
    }
    widenExtremes(i, porous);
}

bool GrowthRecord::rateIsValid(std::size_t i) const {
    // A field without columns (a size typed as 0 or less) has no window to look back over.
    const auto index = static_cast<std::int64_t>(i);
    return parameters_.window > 0 && index > parameters_.window && index > parameters_.warmUp;
}

double GrowthRecord::rate(std::size_t i) const {
    if (!rateIsValid(i)) return 0.0;
    const std::size_t back = i - static_cast<std::size_t>(parameters_.window);
    return (height_[i] - height_[back]) / (time_[i] - time_[back]);
}

void GrowthRecord::widenExtremes(std::size_t i, bool porous) {
    ChartExtremes& e = extremes_;
    const double h = height_[i];
    if (h > e.heightMax) e.heightMax = h;
    if (h < e.heightMin) e.heightMin = h;
    if (firstRateIndex_ < 0 && rateIsValid(i)) firstRateIndex_ = static_cast<std::int64_t>(i);
    // The first sweeps of a flat field say nothing about the steady surface.
    if (static_cast<std::int64_t>(i) <= parameters_.warmUp) return;
    const double r = roughness_[i];
    if (r > e.roughnessMax) e.roughnessMax = r;
    if (r < e.roughnessMin) e.roughnessMin = r;
    const double v = rate(i);
    if (v > e.rateMax) e.rateMax = v;
    if (v < e.rateMin) e.rateMin = v;
    if (porous) {
        const double p = porosity_[i];
        if (p > e.porosityMax) e.porosityMax = p;
        if (p < e.porosityMin) e.porosityMin = p;
    }
    e.timeExtent = time_[i];
}

std::size_t GrowthRecord::reservedBytes() const {
    return (time_.capacity() + height_.capacity() + roughness_.capacity() + porosity_.capacity()) *
           sizeof(double);
}

}  // namespace quorvane
