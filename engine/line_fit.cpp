#include "engine/line_fit.h"

#include <cmath>

namespace quorvane {
namespace {

double seriesValue(const GrowthRecord& record, RecordSeries series, std::size_t i) {
    switch (series) {
        case RecordSeries::Height:
            return record.height(i);
        case RecordSeries::Roughness:
            return record.roughness(i);
        case RecordSeries::Porosity:
            return record.porosity(i);
    }
    return 0.0;
}

/// Unweighted least squares by the normal equations, solved by Cramer's rule.
LineFit fitSamples(const GrowthRecord& record, RecordSeries series, std::int64_t start,
                   std::int64_t end, std::int64_t stride, bool inverseTime) {
    const auto last = static_cast<std::int64_t>(record.count()) - 1;
    if (start < 0) start = 0;
    if (end > last) end = last;
    if (stride < 1) stride = 1;
    double n = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (std::int64_t i = start; i <= end; i += stride) {
        const auto entry = static_cast<std::size_t>(i);
        const double t = record.time(entry);
        const double x = inverseTime ? 1.0 / t : t;
        const double y = seriesValue(record, series, entry);
        n += 1;
        sx += x;
        sy += y;
        sxx += x * x;
        sxy += x * y;
    }
    if (n <= 3) return {};
    const double det = n * sxx - sx * sx;
    LineFit fit;
    fit.intercept = (sxx * sy - sx * sxy) / det;
    fit.slope = (n * sxy - sx * sy) / det;
    // Samples all at one time (a zero step duration) determine no line; a
    // non-finite result would otherwise travel into the run log.
    if (!std::isfinite(fit.intercept) || !std::isfinite(fit.slope)) return {};
    return fit;
}

}  // namespace

LineFit fitStraightLine(const GrowthRecord& record, RecordSeries series, std::int64_t start,
                        std::int64_t end, std::int64_t stride) {
    return fitSamples(record, series, start, end, stride, false);
}

double averagingFit(const GrowthRecord& record, RecordSeries series, std::int64_t start,
                    std::int64_t end, std::int64_t stride) {
    const auto count = static_cast<std::int64_t>(record.count());
    if (count <= 10) return 0.0;
    const auto firstThird =
        static_cast<std::int64_t>(std::trunc(static_cast<double>(count) * 0.333333));
    if (start < firstThird || start <= 2) start = firstThird;
    return fitSamples(record, series, start, end, stride, true).intercept;
}

}  // namespace quorvane
