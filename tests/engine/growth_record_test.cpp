#include "engine/growth_record.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/taus88.h"
#include "record_builder.h"

namespace quorvane {
namespace {

using testing::parameters;

TEST(RecordParameters, DerivesStepWindowAndWarmUpFromTheRunSettings) {
    // Two minutes per step: the time units per second of minutes are 1/60.
    RecordParameters p = RecordParameters::make(2, 1.0 / 60, 10, 20, 3, 6);
    EXPECT_DOUBLE_EQ(p.dt, 120);
    EXPECT_EQ(p.window, 200);
    EXPECT_EQ(p.warmUp, 133);  // trunc(400 / 3)
    EXPECT_EQ(p.layerThickness, 6);
    EXPECT_EQ(RecordParameters::make(1, 1, 10, 20, 1, 6).warmUp, 400);
    EXPECT_EQ(RecordParameters::make(1, 1, 10, 20, 0.5, 6).warmUp, 400);
    EXPECT_EQ(RecordParameters::make(1, 1, 10, 20, 1000, 6).warmUp, 0);
    EXPECT_EQ(RecordParameters::make(1, 1, 10, 20, std::nan(""), 6).warmUp, 400);
}

TEST(GrowthRecord, KeepsTimeAsARunningSumOfTheStepDurations) {
    GrowthRecord record;
    record.Reset(100, parameters(0.1));
    double sum = 0;
    for (int i = 0; i < 1000; ++i) {
        record.Append(0.1, 0, 0, 0, false);
        if (i > 0) sum += 0.1;
        ASSERT_EQ(record.time(i), sum);
    }
    EXPECT_NE(record.time(999), 999 * 0.1);  // the product would not be the time stepped
    record.Append(5, 0, 0, 0, false);        // a duration edited during a pause
    EXPECT_EQ(record.time(1000), sum + 5);
}

TEST(GrowthRecord, RateStartsAfterBothWindowAndWarmUp) {
    GrowthRecord record;
    record.Reset(100, parameters(0.5, 4, 6));
    for (int i = 0; i < 12; ++i) record.Append(0.5, i * 0.25, 0, 0, false);
    for (int i = 0; i <= 6; ++i) EXPECT_EQ(record.rate(i), 0) << i;
    for (int i = 7; i < 12; ++i) EXPECT_EQ(record.rate(i), 0.5) << i;  // 1 layer in 2 s
    EXPECT_EQ(record.firstRateIndex(), 7);

    record.Reset(100, parameters(0.5, 4, 2));
    for (int i = 0; i < 5; ++i) record.Append(0.5, i * 0.25, 0, 0, false);
    EXPECT_EQ(record.firstRateIndex(), -1);
    record.Append(0.5, 5 * 0.25, 0, 0, false);
    EXPECT_EQ(record.firstRateIndex(), 5);

    for (std::int64_t window : {0, -20}) {  // a field size typed as 0 or negative
        record.Reset(100, parameters(0.5, window, -40));
        for (int i = 0; i < 5; ++i) record.Append(0.5, i, 0, 0, false);
        EXPECT_EQ(record.rate(4), 0);
        EXPECT_EQ(record.firstRateIndex(), -1);
    }
}

TEST(GrowthRecord, ExtremesStartTinyAndCountOnlyEntriesPastTheWarmUp) {
    GrowthRecord record;
    record.Reset(100, parameters(0.5, 4, 3, 6));
    ChartExtremes e = record.extremes();
    EXPECT_EQ(e.heightMax, 1e-12);
    EXPECT_EQ(e.heightMin, 0);
    EXPECT_DOUBLE_EQ(e.roughnessMax, 0.6);
    EXPECT_DOUBLE_EQ(e.rateMax, 6 * 1e-10 / 2);
    EXPECT_DOUBLE_EQ(e.rateMin, -6 * 1e-10 / 2);
    EXPECT_DOUBLE_EQ(e.timeExtent, 1.5);

    // Warm-up entries 0..3 carry wild values that must not scale the chart.
    for (int i = 0; i <= 3; ++i) record.Append(0.5, i == 0 ? -3 : 0.5, 100, 9, true);
    e = record.extremes();
    EXPECT_EQ(e.heightMin, -3);
    EXPECT_EQ(e.heightMax, 0.5);
    EXPECT_DOUBLE_EQ(e.roughnessMax, 0.6);
    EXPECT_EQ(e.porosityMax, 0);
    EXPECT_DOUBLE_EQ(e.timeExtent, 1.5);
    record.Append(0.5, 2.5, 7, 0.25, true);    // entry 4: past the warm-up, rate not yet
    record.Append(0.5, 4.5, 0.3, -0.1, true);  // entry 5: rate (4.5 - 0.5) / 2 = 2
    e = record.extremes();
    EXPECT_EQ(e.heightMax, 4.5);
    EXPECT_EQ(e.roughnessMax, 7);
    EXPECT_EQ(e.porosityMax, 0.25);
    EXPECT_EQ(e.porosityMin, -0.1);
    EXPECT_EQ(e.rateMax, 2);
    EXPECT_EQ(e.timeExtent, 2.5);
}

TEST(GrowthRecord, CostsAtMostFortyBytesPerStep) {
    for (bool porous : {false, true}) {
        GrowthRecord record;
        record.Reset(GrowthRecord::kGrowthIncrement, parameters(1));
        double worst = 0;
        for (int i = 0; i < 300000; ++i) {
            record.Append(1, i, 1, 0.5, porous);
            if (record.count() < GrowthRecord::kGrowthIncrement) continue;
            worst = std::max(worst, double(record.reservedBytes()) / double(record.count()));
        }
        EXPECT_LE(worst, porous ? 40 : 30) << "porous " << porous;
        record.Reset(GrowthRecord::kGrowthIncrement, parameters(1));
        EXPECT_EQ(record.reservedBytes(), 0u);
    }
}

TEST(GrowthRecord, PorosityStaysAlignedWhenPoresAreSwitchedDuringARun) {
    GrowthRecord record;
    record.Reset(100, parameters(1));
    for (int i = 0; i < 3; ++i) record.Append(1, i, 1, 0.7, false);
    EXPECT_FALSE(record.hasPorosity());
    record.Append(1, 3, 1, 0.25, true);
    record.Append(1, 4, 1, 0.5, true);
    record.Append(1, 5, 1, 0.9, false);
    EXPECT_EQ(record.porosity(0), 0);
    EXPECT_EQ(record.porosity(2), 0);
    EXPECT_EQ(record.porosity(3), 0.25);
    EXPECT_EQ(record.porosity(4), 0.5);
    EXPECT_EQ(record.porosity(5), 0);
}

// The envelope answers what a scan of the entries answers, for ranges of any start
// and length, while the record grows between questions, and from nothing after a Reset.
TEST(GrowthRecord, EnvelopeExtremesEqualAScanOfTheEntries) {
    GrowthRecord record;
    record.Reset(100, parameters(0.5, 40));
    Taus88 random;
    random.SeedForStart();
    auto scan = [&](ChartSeries series, std::size_t from, std::size_t to) {
        RecordEnvelope::Extremes e;
        for (std::size_t i = from; i < to; ++i) {
            e.low = std::min(e.low, chartSeriesValue(record, series, i));
            e.high = std::max(e.high, chartSeriesValue(record, series, i));
        }
        return e;
    };
    for (const std::size_t size : {std::size_t{31}, std::size_t{1000}, std::size_t{20000}}) {
        while (record.count() < size) {
            const double jitter = random.NextRandom() / 4294967296.0;
            record.Append(0.5, record.count() * 0.01 + jitter, jitter, 0, false);
        }
        const RecordEnvelope& envelope = record.envelope();
        EXPECT_EQ(envelope.covered(), size / RecordEnvelope::kBlockEntries * 32);
        for (int question = 0; question < 200; ++question) {
            const std::size_t from = random.NextRandom() % size;
            const std::size_t to = from + random.NextRandom() % (size - from + 1);
            for (const ChartSeries series : {ChartSeries::Height, ChartSeries::Roughness,
                                             ChartSeries::Rate, ChartSeries::Porosity}) {
                const RecordEnvelope::Extremes want = scan(series, from, to);
                const RecordEnvelope::Extremes got = envelope.extremes(record, series, from, to);
                ASSERT_EQ(got.low, want.low) << from << ".." << to;
                ASSERT_EQ(got.high, want.high) << from << ".." << to;
            }
        }
    }
    record.Reset(100, parameters(1));
    record.Append(1, 7, 1, 0, false);
    EXPECT_EQ(record.envelope().covered(), 0u);
    EXPECT_EQ(record.envelope().extremes(record, ChartSeries::Height, 0, 1).high, 7);
}

}  // namespace
}  // namespace quorvane
