#pragma once
/// Least-squares fits over stretches of the growth record: a straight line against
/// time for rates and trends, and the averaging fit against 1/time that
/// extrapolates a quantity to infinite growth time.

#include <cstdint>

#include "engine/growth_record.h"

namespace quorvane {

/// Which per-step quantity of the record a fit reads.
enum class RecordSeries { Height, Roughness, Porosity };

/// y = intercept + slope * x.
struct LineFit {
    double intercept = 0;
    double slope = 0;
};

/// Straight line of the series against time over entries start, start + stride,
/// ... up to end (start clamped to 0, end to the last entry). Three samples or
/// fewer, or samples that admit no single line, give intercept 0 and slope 0.
LineFit fitStraightLine(const GrowthRecord& record, RecordSeries series, std::int64_t start,
                        std::int64_t end, std::int64_t stride);

/// The series extrapolated to infinite time: the intercept of a straight line of
/// the series against 1/time. Only the last two thirds of the record count, so
/// the flat start of a run and the entry at time 0 never enter; a record of 10
/// entries or fewer gives 0.
double averagingFit(const GrowthRecord& record, RecordSeries series, std::int64_t start,
                    std::int64_t end, std::int64_t stride);

}  // namespace quorvane
