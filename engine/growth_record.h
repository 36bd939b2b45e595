#pragma once
/// The per-step growth record of one run: model time, mean height, roughness and
/// porosity after every Monte Carlo step, the moving-window growth rate, and the
/// extremes that scale the growth chart.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "engine/record_envelope.h"

namespace quorvane {

/// What a run fixes for its record when it is prepared.
struct RecordParameters {
    double dt = 0;              ///< duration of one step, seconds
    std::int64_t window = 0;    ///< steps spanned by the moving-window rate (W*H)
    std::int64_t warmUp = 0;    ///< steps before roughness, rate and porosity scale the chart
    double layerThickness = 0;  ///< `Size_A`, current length unit

    /// From the run settings: `Time_step` (current time unit), the time units per
    /// second, the field size W x H, `N_in_per_step` and `Size_A`.
    static RecordParameters make(double timeStep, double timeUnitsPerSecond, int fieldW, int fieldH,
                                 double nInPerStep, double sizeA);
};

/// Axis extremes of the growth chart, widened entry by entry.
struct ChartExtremes {
    double heightMax = 1e-12;  ///< layers, over all entries
    double heightMin = 0;
    double roughnessMax = 0;  ///< layers, entries past the warm-up only
    double roughnessMin = 0;
    double rateMax = 0;  ///< layers per second, entries past the warm-up only
    double rateMin = 0;
    double porosityMax = 0;  ///< parts, entries past the warm-up only
    double porosityMin = 0;
    double timeExtent = 0;  ///< seconds: warm-up * dt, then the time of the last entry past it

    /// The extremes of an empty record: tiny non-zero spans so that an axis exists.
    static ChartExtremes initial(const RecordParameters& parameters);
};

/// Parallel per-step arrays, index i = entry after step i+1 of the run.
///
/// Memory: time, height and roughness (and porosity in porous runs) are stored as
/// doubles; the rate is recomputed from height and time on demand, bit for bit as
/// it would have been stored. Capacity grows by a quarter, so spare room never
/// exceeds a quarter of the entries once the first block is full: at most
/// 4 x 8 x 1.25 = 40 bytes per step in a porous run, 30 in a plain one.
class GrowthRecord {
  public:
    /// The historical block size: it now sizes the first allocation only.
    static constexpr int kGrowthIncrement = 100;

    /// Empties the record, releases its memory and starts the extremes anew.
    void Reset(int growthIncrement, const RecordParameters& parameters);
    /// Adds the entry of one step; the porosity is kept only when porous is set.
    void Append(double dt, double height, double roughness, double porosity, bool porous);

    std::size_t count() const { return time_.size(); }
    bool empty() const { return time_.empty(); }
    double time(std::size_t i) const { return time_[i]; }
    double height(std::size_t i) const { return height_[i]; }
    double roughness(std::size_t i) const { return roughness_[i]; }
    /// Porosity of entry i; 0 for an entry of a step run without pores.
    double porosity(std::size_t i) const { return i < porosity_.size() ? porosity_[i] : 0.0; }
    /// Moving-window rate after step i, layers per second; 0 inside the window or warm-up.
    double rate(std::size_t i) const;
    bool rateIsValid(std::size_t i) const;
    /// The first entry with a valid rate, or -1 while the rate has not started.
    std::int64_t firstRateIndex() const { return firstRateIndex_; }
    bool hasPorosity() const { return !porosity_.empty(); }
    /// The stored columns whole, for readers that take them at once (the Python
    /// module's arrays). Porosity reaches only to the last porous step, and is
    /// empty in a plain run.
    std::span<const double> times() const { return time_; }
    std::span<const double> heights() const { return height_; }
    std::span<const double> roughnesses() const { return roughness_; }
    std::span<const double> porosities() const { return porosity_; }

    const ChartExtremes& extremes() const { return extremes_; }
    /// The extremes of the series over blocks of entries, brought up to date with
    /// the entries added since it was last asked for. Built only for a record that
    /// is drawn; not to be asked for from two threads at once.
    const RecordEnvelope& envelope() const {
        envelope_.update(*this);
        return envelope_;
    }
    const RecordParameters& parameters() const { return parameters_; }
    int growthIncrement() const { return growthIncrement_; }
    /// Bytes held by the arrays, spare capacity included.
    std::size_t reservedBytes() const;

  private:
    void growIfFull(std::vector<double>& values) const;
    void widenExtremes(std::size_t i, bool porous);

    std::vector<double> time_;
    std::vector<double> height_;
    std::vector<double> roughness_;
    std::vector<double> porosity_;
    RecordParameters parameters_;
    ChartExtremes extremes_;
    int growthIncrement_ = kGrowthIncrement;
    std::int64_t firstRateIndex_ = -1;
    mutable RecordEnvelope envelope_;
};

}  // namespace quorvane
