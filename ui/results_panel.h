#pragma once
/// The Results panel (`result`): the growth chart of the current run above, its
/// status block in a band 200 pixels high below, both following a run as it goes.

#include "sheets/results_sheet.h"
#include "ui/live_redraw.h"
#include "views/growth_chart.h"

namespace quorvane {

class ResultsPanel : public LivePanel {
    Q_OBJECT
  public:
    /// The status block's band at the bottom of the panel.
    static constexpr int kStatusBandHeight = 200;

    explicit ResultsPanel(Session& session, QWidget* parent = nullptr);

    /// Where the last chart put its parts.
    const views::GrowthChartLayout& chartLayout() const { return chart_; }
    const ResultsSheet& sheet() const { return sheet_; }
    /// The chart's colours.
    views::GrowthChartStyle style;

  protected:
    void render(QPainter& painter, const QSize& size) override;

  private:
    ResultsSheet sheet_;
    views::GrowthChartLayout chart_;
};

}  // namespace quorvane
