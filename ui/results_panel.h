#pragma once
/// The Results panel (`result`): the growth chart of the current run above, its
/// status block in a band 200 pixels high below, both following a run as it goes.

#include "ui/live_redraw.h"
#include "views/growth_chart.h"
#include "views/status_block_painter.h"

namespace quorvane {

struct PhysicalData;

/// Factors that turn the record's units into the units the user has chosen.
struct DisplayFactors {
    double time = 1;           ///< time units per second
    double length = 1;         ///< current length units in one nanometre
    double concentration = 1;  ///< 1 for percent, 0.01 for parts
    double rate = 1;           ///< length x time; 1 until the panel has been drawn once

    /// The factors for the units of `data`, the rate factor included.
    static DisplayFactors of(const PhysicalData& data);
};

class ResultsPanel : public LivePanel {
    Q_OBJECT
  public:
    /// The status block's band at the bottom of the panel.
    static constexpr int kStatusBandHeight = 200;

    explicit ResultsPanel(Session& session, QWidget* parent = nullptr);

    /// The factors of the last paint (the rate factor is read by the run report).
    const DisplayFactors& factors() const { return factors_; }
    /// Where the last chart put its parts.
    const views::GrowthChartLayout& chartLayout() const { return chart_; }
    /// The chart's colours.
    views::GrowthChartStyle style;

  protected:
    void render(QPainter& painter, const QSize& size) override;

  private:
    DisplayFactors factors_;
    views::GrowthChartLayout chart_;
};

}  // namespace quorvane
