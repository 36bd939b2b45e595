#pragma once
/// Marks that the step leaves in threshold slots whose contents are not needed.
/// A real pair never has grow above total, so every mark is told apart from it by
/// that alone, and the marks from each other by their grow word.

#include <cstdint>

#include "engine/threshold_table.h"

namespace quorvane::marks {

/// A column that moved in this sweep: its own thresholds will not be read again
/// before the refresh, so the slot carries the index of the column that moved
/// before it (0, a border corner, ends the list).
inline constexpr std::uint32_t kMovedGrow = 0xFFFFFFFFu;
/// A neighbour of a moved column still waiting for its refresh in this step.
inline constexpr ThresholdPair kRefresh{0, 0xFFFFFFFEu};
/// A border cell: never judged, never refreshed.
inline constexpr ThresholdPair kBorder{0, 0xFFFFFFFDu};

inline bool IsReal(ThresholdPair p) {
    return p.grow <= p.total;
}
inline ThresholdPair Moved(std::uint32_t previous) {
    return {previous, kMovedGrow};
}

}  // namespace quorvane::marks
