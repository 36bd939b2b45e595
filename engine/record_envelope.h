#pragma once
/// The smallest and largest values of the growth record's series over any run of
/// entries, from blocks of entries summarised once: a chart can draw the extremes
/// of every pixel column at a cost that does not grow with the run.

#include <array>
#include <cmath>
#include <cstddef>
#include <vector>

namespace quorvane {

class GrowthRecord;

/// The per-step quantities a chart draws, the rate as `GrowthRecord::rate` gives it.
enum class ChartSeries { Height, Roughness, Rate, Porosity };
inline constexpr std::size_t kChartSeriesCount = 4;

/// The value of a series at entry i.
double chartSeriesValue(const GrowthRecord& record, ChartSeries series, std::size_t i);

/// Summaries of one growth record: level k holds the extremes of every block of
/// kBlockEntries << k entries, aligned on its own size.
class RecordEnvelope {
  public:
    static constexpr int kBlockShift = 5;
    static constexpr std::size_t kBlockEntries = std::size_t{1} << kBlockShift;

    struct Extremes {
        double low = INFINITY;
        double high = -INFINITY;
    };

    /// Forgets everything: the next update summarises the record from its start.
    void clear();
    /// Summarises the whole blocks added to `record` since the last update.
    void update(const GrowthRecord& record);
    /// The extremes of `series` over the entries [from, to) of `record`, which must
    /// be the record of the last update: whole summarised blocks where they fit,
    /// single entries at both ends.
    Extremes extremes(const GrowthRecord& record, ChartSeries series, std::size_t from,
                      std::size_t to) const;
    /// Entries summarised so far.
    std::size_t covered() const { return covered_; }
    std::size_t reservedBytes() const;

  private:
    struct Block {
        std::array<double, kChartSeriesCount> low;
        std::array<double, kChartSeriesCount> high;
    };
    void add(std::size_t level, const Block& block);

    std::vector<std::vector<Block>> levels_;
    std::size_t covered_ = 0;
};

}  // namespace quorvane
