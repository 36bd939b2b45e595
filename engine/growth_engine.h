#pragma once
/// The simulated crystal face: a periodic field of molecule columns with its
/// contact geometry, per-column thresholds and threshold tables, and the Monte
/// Carlo step that grows it.

#include <cstdint>
#include <span>
#include <vector>

#include "engine/field_geometry.h"
#include "engine/taus88.h"
#include "engine/threshold_table.h"

namespace quorvane {

/// What one step hands to the growth record, in layers (porosity in parts).
struct StepResult {
    double meanHeight = 0;
    double roughness = 0;
    double porosity = 0;
};

struct MeanRoughness {
    double mean = 0;
    double roughness = 0;
};

struct HeightBounds {
    std::int32_t min = 0;
    std::int32_t max = 0;
};

/// Pore bookkeeping of one column (porous variant): the height just below the
/// open pore, the height of the molecule that bridged it, and how many pores were
/// made in the column and not yet reopened. Only the latest pore is remembered by
/// position.
struct PoreRecord {
    std::int32_t bottom = -1000;
    std::int32_t top = -1000;
    std::int32_t count = 0;
};

/// The engine of the application, one instance for the whole process.
///
/// Paused runs: the field that steps, its size, its molecule (sizes and surface
/// weights, hence its contact units and the table side n) are those of the last
/// `InitRun` (`runGeometry()`) until the next `InitRun`. `SetRates` changes only the
/// rates, rebuilding the tables and every column's thresholds together.
/// `UpdateGeometry` only refreshes a copy for display (`displayGeometry()`): a size
/// or weight edited during a pause reaches the field at the next `InitRun` and can
/// never leave tables and thresholds out of step.
///
/// Field storage, 24 bytes per cell: the height (4), both thresholds side by side
/// (8) and the pore record (12). The list of columns that moved in a step is
/// threaded through the threshold slots of those columns, which are dead until the
/// refresh rewrites them, so it needs no memory of its own.
class GrowthEngine {
  public:
    static constexpr std::int32_t kNoPore = -1000;

    explicit GrowthEngine(Taus88& random) : random_(random) {}
    GrowthEngine(const GrowthEngine&) = delete;
    GrowthEngine& operator=(const GrowthEngine&) = delete;

    /// Starts a run: new tables and a flat field of W x H columns at height 0. Any
    /// status other than Ok leaves the previous run's field, tables and counters as
    /// they were.
    InitStatus InitRun(double E0, double E8, std::uint32_t Pint, double a, double b, double c,
                       int W, int H, double edgeWeight, double vertexWeight);

    /// New rates for the field in use (a resumed run): rebuilds the tables for the
    /// molecule of `InitRun` and the thresholds of every column with the plain contact
    /// rule. The weights must be usable but wait for the next `InitRun`. Leaves
    /// everything as it was on failure; NoRun before the first `InitRun`.
    InitStatus SetRates(double E0, double E8, std::uint32_t Pint, double edgeWeight,
                        double vertexWeight);

    /// Derives the display geometry from the current inputs; touches neither the
    /// field nor the tables. Leaves the display geometry as it was on failure.
    InitStatus UpdateGeometry(double E0, double E8, std::uint32_t Pint, double a, double b,
                              double c, int W, int H, double edgeWeight, double vertexWeight);

    /// One sweep over every column in row-major order. Both return zeros before the
    /// first `InitRun`.
    StepResult StepPlain();
    /// As `StepPlain`, but a molecule falling into a pit two or more layers deep
    /// bridges it at the level of its lowest neighbour and leaves a pore below.
    StepResult StepPorous();

    /// Mean height and roughness recomputed from the heights. Like every step, it
    /// also moves the display reference level when the rounded mean has drifted 3
    /// layers or more from it.
    MeanRoughness MeanAndRoughness();

    /// Smallest and largest entry (0 and 0 when empty).
    static HeightBounds HeightRange(std::span<const std::int32_t> heights);
    /// Over the engine's whole array, border included.
    HeightBounds HeightRange() const { return HeightRange(heights()); }

    // Read access. Sizes and indices are those of the field in use.
    bool hasField() const { return hasField_; }
    int W() const { return run_.W; }
    int H() const { return run_.H; }
    int stride() const { return run_.stride; }
    /// Side of the threshold tables in use.
    int n() const { return table_.n(); }
    /// Whole array, (W+2)*(H+2) entries, cell (i, j) at i*stride + j.
    std::span<const std::int32_t> heights() const { return height_; }
    std::int32_t heightAt(int i, int j) const { return height_[Index(i, j)]; }
    /// The W*H interior heights, row by row.
    std::vector<std::int32_t> interiorHeights() const;
    /// Pore records, laid out as the heights.
    std::span<const PoreRecord> pores() const { return pores_; }
    double mean_height() const { return meanHeight_; }
    std::int64_t total_height() const { return totalHeight_; }
    std::int64_t pore_cells() const { return poreCells_; }
    int referenceLevel() const { return referenceLevel_; }
    const FieldGeometry& runGeometry() const { return run_; }
    const FieldGeometry& displayGeometry() const { return display_; }
    const ThresholdTable& table() const { return table_; }
    ThresholdPair thresholdsAt(int i, int j) const { return thresholds_[Index(i, j)]; }

    /// Replaces an interior column's thresholds until its next refresh; for tests and
    /// diagnostics. Refuses (false) a cell outside the field or grow above total.
    bool OverrideThresholds(int i, int j, ThresholdPair thresholds);

  private:
    /// Per-run constants of the contact rule, gathered for the refresh loops.
    struct ContactRule {
        std::uint32_t packed[3][5];  ///< out | in << 16, by direction and clamped difference
        int bottom;                  ///< U_bc
        int maxIndex;                ///< n - 1
        int n;
        std::int64_t stride;
        const ThresholdPair* table;
    };

    std::int64_t Index(int i, int j) const { return std::int64_t{i} * run_.stride + j; }
    ContactRule MakeContactRule() const;
    template <bool Porous>
    ThresholdPair CellThresholds(const ContactRule& rule, std::int64_t k) const;
    template <bool Porous>
    void RecomputeAll();
    template <bool Porous>
    void RefreshMoved(std::uint32_t head);
    /// What the moves of one sweep add up to.
    struct StepTally {
        std::int64_t net = 0;         ///< change of total_height
        __int128 squares = 0;         ///< change of the sum of squared heights
        std::int64_t poreChange = 0;  ///< change of pore_cells
        std::int64_t moves = 0;
        std::uint32_t movedHead = 0;  ///< last column that moved, 0 for none
    };
    template <bool Porous>
    StepResult Step();
    template <bool Porous>
    void MoveColumn(std::int64_t k, bool grows, StepTally& tally);
    void SetHeight(std::int64_t k, std::int64_t height, StepTally& tally);
    std::int64_t LandingHeight(std::int64_t k) const;
    void CopyBorder();
    /// Moves the reference level after the mean of `total` over the field's area.
    void FollowReferenceLevel(std::int64_t total);
    StepResult Finish(const StepTally& tally, bool porous);

    Taus88& random_;
    FieldGeometry run_;
    FieldGeometry display_;
    bool hasField_ = false;
    ThresholdTable table_;
    std::vector<std::int32_t> height_;
    std::vector<ThresholdPair> thresholds_;
    std::vector<PoreRecord> pores_;
    std::int64_t totalHeight_ = 0;
    /// Sum of squared heights: with the total it gives the roughness without a pass
    /// over the field. 128 bits hold it exactly for any 32-bit heights.
    __int128 sumSquares_ = 0;
    std::int64_t poreCells_ = 0;
    double meanHeight_ = 0;
    int referenceLevel_ = 0;
};

}  // namespace quorvane
