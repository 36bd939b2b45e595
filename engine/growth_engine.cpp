#include "engine/growth_engine.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <utility>

#include "engine/threshold_marks.h"

namespace quorvane {

InitStatus GrowthEngine::InitRun(double E0, double E8, std::uint32_t Pint, double a, double b,
                                 double c, int W, int H, double edgeWeight, double vertexWeight) {
    FieldGeometry g;
    const InitStatus status =
        FieldGeometry::make(E0, E8, Pint, a, b, c, W, H, edgeWeight, vertexWeight, g);
    if (status != InitStatus::Ok) return status;
    // Everything new is built beside the old run and swapped in only when complete,
    // so a refusal or an exhausted memory leaves the old field intact.
    try {
        ThresholdTable table;
        if (!table.Build(RateConstants::make(E0, E8, Pint), g.contact.n)) {
            return InitStatus::BadRate;
        }
        const auto cells = static_cast<std::size_t>(g.cells);
        std::vector<std::int32_t> height(cells, 0);
        std::vector<PoreRecord> pores(cells);
        // Border slots keep a mark forever: the refresh of moved columns recognises
        // them by it and leaves them alone.
        std::vector<ThresholdPair> thresholds(cells, marks::kBorder);
        table_ = std::move(table);
        height_ = std::move(height);
        pores_ = std::move(pores);
        thresholds_ = std::move(thresholds);
    } catch (const std::bad_alloc&) {
        return InitStatus::FieldTooLarge;
    }
    run_ = g;
    display_ = g;
    hasField_ = true;
    totalHeight_ = 0;
    sumSquares_ = 0;
    poreCells_ = 0;
    meanHeight_ = 0;
    referenceLevel_ = 0;  // the new field is flat at height 0
    RecomputeAll<false>();
    return InitStatus::Ok;
}

InitStatus GrowthEngine::SetRates(double E0, double E8, std::uint32_t Pint, double edgeWeight,
                                  double vertexWeight) {
    if (!hasField_) return InitStatus::NoRun;
    // The weights are checked like any input, but the run keeps the molecule it
    // started with: geometry edited during a pause belongs to the next run.
    FieldGeometry checked;
    const ContactGeometry& molecule = run_.contact;
    const InitStatus status =
        FieldGeometry::make(E0, E8, Pint, molecule.a, molecule.b, molecule.c, run_.W, run_.H,
                            edgeWeight, vertexWeight, checked);
    if (status != InitStatus::Ok) return status;
    try {
        ThresholdTable table;
        if (!table.Build(RateConstants::make(E0, E8, Pint), molecule.n)) {
            return InitStatus::BadRate;
        }
        table_ = std::move(table);
    } catch (const std::bad_alloc&) {
        return InitStatus::FieldTooLarge;
    }
    run_.E0 = E0;
    run_.E8 = E8;
    run_.Pint = Pint;
    RecomputeAll<false>();
    return InitStatus::Ok;
}

InitStatus GrowthEngine::UpdateGeometry(double E0, double E8, std::uint32_t Pint, double a,
                                        double b, double c, int W, int H, double edgeWeight,
                                        double vertexWeight) {
    FieldGeometry g;
    const InitStatus status =
        FieldGeometry::make(E0, E8, Pint, a, b, c, W, H, edgeWeight, vertexWeight, g);
    if (status == InitStatus::Ok) display_ = g;
    return status;
}

MeanRoughness GrowthEngine::MeanAndRoughness() {
    if (!hasField_) return {};
    std::int64_t sum = 0;
    for (int i = 1; i <= run_.W; ++i) {
        for (int j = 1; j <= run_.H; ++j) sum += height_[Index(i, j)];
    }
    const double area = static_cast<double>(run_.area);
    const double mean = static_cast<double>(sum) / area;
    double squares = 0;
    for (int i = 1; i <= run_.W; ++i) {
        for (int j = 1; j <= run_.H; ++j) {
            const double d = mean - height_[Index(i, j)];
            squares += d * d;
        }
    }
    FollowReferenceLevel(sum);
    return {mean, std::sqrt(squares / area)};
}

void GrowthEngine::FollowReferenceLevel(std::int64_t total) {
    // The surface view shades heights relative to this level; moving it only on a
    // drift of 3 layers keeps the picture from flickering between two shades. The
    // mean is rounded as trunc(mean + 1/2), here exactly in integers: the division
    // truncates toward zero like trunc.
    const std::int64_t area = run_.area;
    const std::int64_t rounded = (2 * total + area) / (2 * area);
    if (std::abs(rounded - referenceLevel_) >= 3) referenceLevel_ = static_cast<int>(rounded);
}

HeightBounds GrowthEngine::HeightRange(std::span<const std::int32_t> heights) {
    if (heights.empty()) return {};
    const auto [low, high] = std::minmax_element(heights.begin(), heights.end());
    return {*low, *high};
}

std::vector<std::int32_t> GrowthEngine::interiorHeights() const {
    std::vector<std::int32_t> out;
    if (!hasField_) return out;
    out.reserve(static_cast<std::size_t>(run_.area));
    for (int i = 1; i <= run_.W; ++i) {
        const auto row = height_.begin() + Index(i, 1);
        out.insert(out.end(), row, row + run_.H);
    }
    return out;
}

bool GrowthEngine::OverrideThresholds(int i, int j, ThresholdPair thresholds) {
    if (!hasField_ || i < 1 || i > run_.W || j < 1 || j > run_.H) return false;
    if (thresholds.grow > thresholds.total) return false;
    thresholds_[Index(i, j)] = thresholds;
    return true;
}

}  // namespace quorvane
