#include "engine/record_envelope.h"

#include <algorithm>
#include <bit>

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

namespace {

/// Widens `e` by the entries [from, to) of one series, the series chosen once.
void widenByEntries(const GrowthRecord& record, ChartSeries series, std::size_t from,
                    std::size_t to, RecordEnvelope::Extremes& e) {
    auto widen = [&](auto value) {
        for (std::size_t i = from; i < to; ++i) {
            const double v = value(i);
            e.low = std::min(e.low, v);
            e.high = std::max(e.high, v);
        }
    };
    switch (series) {
        case ChartSeries::Height:
            return widen([&](std::size_t i) { return record.height(i); });
        case ChartSeries::Roughness:
            return widen([&](std::size_t i) { return record.roughness(i); });
        case ChartSeries::Rate:
            return widen([&](std::size_t i) { return record.rate(i); });
        case ChartSeries::Porosity:
            return widen([&](std::size_t i) { return record.porosity(i); });
    }
}

}  // namespace

RecordEnvelope::Extremes RecordEnvelope::extremes(const GrowthRecord& record, ChartSeries series,
                                                  std::size_t from, std::size_t to) const {
    Extremes e;
    const auto s = static_cast<std::size_t>(series);
    to = std::min(to, record.count());
    if (from >= to) return e;
    // Single entries up to the first block's start and after the last whole block
    // summarised; between them, the largest blocks that fit, each aligned on its size.
    const std::size_t head =
        std::min(to, (from + kBlockEntries - 1) / kBlockEntries * kBlockEntries);
    const std::size_t tail = std::max(head, std::min(to, covered_) / kBlockEntries * kBlockEntries);
    widenByEntries(record, series, from, head, e);
    for (std::size_t i = head; i < tail;) {
        // The block's level: no larger than the alignment of i, the room left before
        // the tail and the levels built allow (a block exists once its entries do).
        const int aligned = i == 0 ? 64 : std::countr_zero(i) - kBlockShift;
        const int fits = std::bit_width((tail - i) >> kBlockShift) - 1;
        const int level = std::min({aligned, fits, static_cast<int>(levels_.size()) - 1});
        const Block& block = levels_[static_cast<std::size_t>(level)][i >> (kBlockShift + level)];
        e.low = std::min(e.low, block.low[s]);
        e.high = std::max(e.high, block.high[s]);
        i += std::size_t{1} << (kBlockShift + level);
    }
    widenByEntries(record, series, tail, to, e);
    return e;
}

std::size_t RecordEnvelope::reservedBytes() const {
    std::size_t bytes = levels_.capacity() * sizeof(levels_[0]);
    for (const std::vector<Block>& blocks : levels_) bytes += blocks.capacity() * sizeof(Block);
    return bytes;
}

}  // namespace quorvane
