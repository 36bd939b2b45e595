#include "ui/results_panel.h"

#include <QPainter>

#include "experiments/session.h"
#include "sheets/control_tips.h"
#include "views/status_block_painter.h"

namespace quorvane {

ResultsPanel::ResultsPanel(Session& session, QWidget* parent)
    : LivePanel(session, parent), sheet_(session) {
    setObjectName("result");
    setAccessibleName("Results");
    setFocusPolicy(Qt::StrongFocus);
}

void ResultsPanel::render(QPainter& painter, const QSize& size) {
    const int w = size.width(), h = size.height();
    // The frame shows the record as it stands now; the run itself is not touched.
    sheet_.refresh();
    views::GrowthChartInputs chart = views::growthChartInputs(session_.state);
    chart.evaluation = &sheet_.evaluation();
    chart.style = style;
    painter.setPen(QPen(Qt::black, 2));
    chart_ =
        views::paintGrowthChart(painter, QRect(0, 0, w, std::max(h - kStatusBandHeight, 1)), chart);
    painter.setPen(QPen(Qt::black, 2));
    views::paintStatusLines(painter, QRect(0, h - kStatusBandHeight, w, kStatusBandHeight),
                            sheet_.statusLines(), font());
    // A screen reader reads the status block's lines in place of the picture.
    const QString said = QString::fromStdString(resultsDescription(sheet_.statusLines()));
    if (said != accessibleDescription()) setAccessibleDescription(said);
}

}  // namespace quorvane
