#include "engine/record_envelope.h"

#include <algorithm>

#include "engine/growth_record.h"

namespace quorvane {

double chartSeriesValue(const GrowthRecord& record, ChartSeries series, std::size_t i) {
    switch (series) {
        case ChartSeries::Height:
            return record.height(i);
        case ChartSeries::Roughness:
            return record.roughness(i);
        case ChartSeries::Rate:
            return record.rate(i);
        case ChartSeries::Porosity:
            return record.porosity(i);
    }
    return 0;
}

void RecordEnvelope::clear() {
    std::vector<std::vector<Block>>().swap(levels_);
    covered_ = 0;
}

void RecordEnvelope::update(const GrowthRecord& record) {
    const std::size_t count = record.count();
    if (count < covered_) clear();  // not the record summarised before
    for (; covered_ + kBlockEntries <= count; covered_ += kBlockEntries) {
        Block block;
        for (std::size_t s = 0; s < kChartSeriesCount; ++s) {
            const auto series = static_cast<ChartSeries>(s);
            double low = INFINITY, high = -INFINITY;
            for (std::size_t i = covered_; i < covered_ + kBlockEntries; ++i) {
                const double v = chartSeriesValue(record, series, i);
                low = std::min(low, v);
                high = std::max(high, v);
            }
            block.low[s] = low;
            block.high[s] = high;
        }
        add(0, block);
    }
}

void RecordEnvelope::add(std::size_t level, const Block& block) {
    if (levels_.size() <= level) levels_.resize(level + 1);
    std::vector<Block>& blocks = levels_[level];
    blocks.push_back(block);
    if (blocks.size() % 2 != 0) return;
    // Two neighbours complete a block of the level above.
    const Block& first = blocks[blocks.size() - 2];
    Block both;
    for (std::size_t s = 0; s < kChartSeriesCount; ++s) {
        both.low[s] = std::min(first.low[s], block.low[s]);
        both.high[s] = std::max(first.high[s], block.high[s]);
    }
    add(level + 1, both);
}

RecordEnvelope::Extremes RecordEnvelope::extremes(const GrowthRecord& record, ChartSeries series,
                                                  std::size_t from, std::size_t to) const {
    Extremes e;
    const auto s = static_cast<std::size_t>(series);
    to = std::min(to, record.count());
    for (std::size_t i = from; i < to;) {
        // The largest summarised block that starts here and ends within the range.
        std::size_t level = 0, span = kBlockEntries;
        bool found = false;
        for (; level < levels_.size(); ++level, span *= 2) {
            if (i % span != 0 || i + span > to || i / span >= levels_[level].size()) break;
            found = true;
        }
        if (found) {
            span /= 2;
            const Block& block = levels_[level - 1][i / span];
            e.low = std::min(e.low, block.low[s]);
            e.high = std::max(e.high, block.high[s]);
            i += span;
            continue;
        }
        const double v = chartSeriesValue(record, series, i++);
        e.low = std::min(e.low, v);
        e.high = std::max(e.high, v);
    }
    return e;
}

std::size_t RecordEnvelope::reservedBytes() const {
    std::size_t bytes = levels_.capacity() * sizeof(levels_[0]);
    for (const std::vector<Block>& blocks : levels_) bytes += blocks.capacity() * sizeof(Block);
    return bytes;
}

}  // namespace quorvane
